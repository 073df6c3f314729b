// qdsign: the publisher's tool for signed updates.
//
//   qdsign make --serial N --key KEY.pem DIR
//   qdsign verify --pub PUB.pem DIR
//
// make writes DIR/qd.manifest for DIR/qd.zip and DIR/newupd.dat (their sizes
// and SHA-256 digests, the serial N) and signs it into DIR/qd.manifest.sig
// with the P-256 private key, exactly as `openssl dgst -sha256 -sign` would.
// verify checks a set as the updater does and prints each failing check on
// standard error. Exit status: 0 when the set is good (or made), 1 when a
// check fails, 2 for bad options or unreadable files.

#include <array>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/update_manifest.h"
#include "core/decimal.h"
#include "platform/signature.h"
#include "platform/signing.h"

namespace {

const char* const usageText =
    "usage: qdsign make --serial N --key KEY.pem DIR\n"
    "       qdsign verify --pub PUB.pem DIR\n";

int usage() {
  std::fputs(usageText, stderr);
  return 2;
}

std::optional<std::string> readSmall(const std::string& path, size_t limit) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes;
  std::array<char, 4096> buffer;
  while (in.read(buffer.data(), buffer.size()) || in.gcount() > 0) {
    bytes.append(buffer.data(), static_cast<size_t>(in.gcount()));
    if (bytes.size() > limit) return std::nullopt;
  }
  return bytes;
}

struct FileFacts {
  uint64_t size = 0;
  platform::TSha256Digest sha256{};
};

// The size and digest of a file, read in pieces straight into one buffer
// (no stream buffer between), as `openssl dgst` reads.
std::optional<FileFacts> facts(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return std::nullopt;
  std::setvbuf(file, nullptr, _IONBF, 0);
  static char buffer[1 << 16];
  platform::TSha256 hash;
  FileFacts f;
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    hash.Update(buffer, n);
    f.size += n;
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return std::nullopt;
  f.sha256 = hash.Final();
  return f;
}

bool writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

// A decimal serial from 1 to 2^63-1, written as the manifest writes it.
// The serial as the manifest writes it: 1 to 2^63-1, without a leading zero.
std::optional<int64_t> parseSerial(const std::string& text) {
  if (!text.empty() && text[0] == '0') return std::nullopt;
  return ParseDecimal(text, {.Min = 1});
}

int make(const std::string& serial, const std::string& keyPath, const std::string& dir) {
  const auto serialValue = parseSerial(serial);
  if (!serialValue) {
    std::fprintf(stderr, "qdsign: the serial must be a decimal number from 1 to 2^63-1\n");
    return 2;
  }
  const auto key = readSmall(keyPath, 1 << 16);
  if (!key) {
    std::fprintf(stderr, "qdsign: cannot read %s\n", keyPath.c_str());
    return 2;
  }
  TUpdateManifest values;
  values.Serial = static_cast<uint64_t>(*serialValue);
  for (auto [name, file] :
       {std::pair{"qd.zip", &values.Package}, std::pair{"newupd.dat", &values.UpdateList}}) {
    const auto f = facts(dir + "/" + name);
    if (!f) {
      std::fprintf(stderr, "qdsign: cannot read %s/%s\n", dir.c_str(), name);
      return 2;
    }
    file->Size = f->size;
    file->Sha256 = f->sha256;
  }
  const std::string manifest = FormatUpdateManifest(values);
  const auto signature = platform::SignP256(*key, manifest);
  if (!signature) {
    std::fprintf(stderr, "qdsign: %s holds no P-256 private key\n", keyPath.c_str());
    return 2;
  }
  if (!writeFile(dir + "/qd.manifest", manifest) ||
      !writeFile(dir + "/qd.manifest.sig", *signature)) {
    std::fprintf(stderr, "qdsign: cannot write into %s\n", dir.c_str());
    return 2;
  }
  std::printf("signed %s/qd.manifest, serial %s\n", dir.c_str(), serial.c_str());
  return 0;
}

int verify(const std::string& pubPath, const std::string& dir) {
  const auto pem = readSmall(pubPath, 1 << 16);
  const auto key = pem ? platform::ReadP256PublicKeyPem(*pem) : std::nullopt;
  if (!key) {
    std::fprintf(stderr, "qdsign: %s holds no P-256 public key\n", pubPath.c_str());
    return 2;
  }
  int failures = 0;
  const auto fail = [&](const std::string& what) {
    std::fprintf(stderr, "fail: %s\n", what.c_str());
    ++failures;
  };
  const auto manifest = readSmall(dir + "/qd.manifest", MaxManifestSize);
  const auto signature = readSmall(dir + "/qd.manifest.sig", MaxManifestSignatureSize);
  if (!manifest) fail("qd.manifest is missing or longer than 4096 bytes");
  if (!signature) fail("qd.manifest.sig is missing or longer than 512 bytes");
  if (!manifest || !signature) return 1;
  if (!platform::VerifyP256Signature(*key, *manifest, *signature))
    fail("qd.manifest.sig is not a signature of qd.manifest under " + pubPath);
  const auto parsed = ParseUpdateManifest(*manifest);
  if (!parsed) {
    fail("qd.manifest is not a manifest");
    return 1;
  }
  const std::pair<const char*, const TManifestFile*> files[] = {
      {"qd.zip", &parsed->Package}, {"newupd.dat", &parsed->UpdateList}};
  for (const auto& [name, expected] : files) {
    const auto f = facts(dir + "/" + name);
    if (!f) {
      fail(std::string(name) + " is missing");
    } else if (f->size != expected->Size) {
      fail(std::string(name) + " has " + std::to_string(f->size) + " bytes, the manifest says " +
           std::to_string(expected->Size));
    } else if (f->sha256 != expected->Sha256) {
      fail(std::string(name) + " has SHA-256 " + Sha256Hex(f->sha256) + ", the manifest says " +
           Sha256Hex(expected->Sha256));
    }
  }
  if (failures == 0) {
    std::printf("good: serial %llu\n", static_cast<unsigned long long>(parsed->Serial));
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return usage();
  const std::string command = args[0];
  std::string serial, key, pub, dir;
  for (size_t i = 1; i < args.size(); ++i) {
    if ((args[i] == "--serial" || args[i] == "--key" || args[i] == "--pub") &&
        i + 1 < args.size()) {
      (args[i] == "--serial" ? serial : args[i] == "--key" ? key : pub) = args[i + 1];
      ++i;
    } else if (dir.empty() && !args[i].empty() && args[i][0] != '-') {
      dir = args[i];
    } else {
      return usage();
    }
  }
  if (dir.empty()) return usage();
  try {
    if (command == "make" && !serial.empty() && !key.empty() && pub.empty())
      return make(serial, key, dir);
    if (command == "verify" && !pub.empty() && serial.empty() && key.empty())
      return verify(pub, dir);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qdsign: %s\n", e.what());
    return 2;
  }
  return usage();
}
