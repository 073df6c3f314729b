// Parses arbitrary bytes as an update manifest. A text that parses must be
// the canonical form of what it says, up to its line ends: written again
// with LF ends it equals the input with CR LF turned into LF and a last LF
// added, and that text parses to the same values.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/update_manifest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto m = ParseUpdateManifest(text);
  if (!m) return 0;
  if (size > MaxManifestSize || m->Serial == 0) std::abort();
  std::string lf;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    lf += text[i];
  }
  if (lf.empty() || lf.back() != '\n') lf += '\n';
  const std::string again = FormatUpdateManifest(*m);
  if (again != lf) std::abort();
  const auto reparsed = ParseUpdateManifest(again);
  if (!reparsed || reparsed->Serial != m->Serial || reparsed->Package.Size != m->Package.Size ||
      reparsed->Package.Sha256 != m->Package.Sha256 ||
      reparsed->UpdateList.Size != m->UpdateList.Size ||
      reparsed->UpdateList.Sha256 != m->UpdateList.Sha256) {
    std::abort();
  }
  return 0;
}
