#include "app/signed_update.h"

const char* const NotSignedMessage =
    "The update is not signed by the publisher. Nothing was installed.";
const char* const OlderUpdateMessage =
    "The update on the server is older than the installed one. Nothing was installed.";

namespace {

[[noreturn]] void notSigned() {
  throw EUpdateRefused(NotSignedMessage);
}

}  // namespace

TUpdateManifest VerifyManifest(const TTrustedKeys& keys, std::string_view manifest,
                               std::string_view signature) {
  if (manifest.size() > MaxManifestSize || signature.size() > MaxManifestSignatureSize) {
    notSigned();
  }
  bool signedByPublisher = false;
  for (const auto& key : keys) {
    if (platform::VerifyP256Signature(key, manifest, signature)) {
      signedByPublisher = true;
      break;
    }
  }
  if (!signedByPublisher) notSigned();
  // Only text that the publisher signed is parsed.
  const auto parsed = ParseUpdateManifest(manifest);
  if (!parsed) notSigned();
  return *parsed;
}

void CheckManifestFile(const TManifestFile& expected, std::string_view bytes) {
  if (bytes.size() != expected.Size || platform::Sha256(bytes) != expected.Sha256) notSigned();
}
