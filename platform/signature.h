#pragma once
// SHA-256 digests and ECDSA P-256 signature checks, from the system's own
// cryptographic library (libcrypto on Linux, CNG on Windows).
//
//   platform::TSha256 hash;
//   hash.Update(piece.data(), piece.size());
//   const platform::TSha256Digest digest = hash.Final();
//   bool good = platform::VerifyP256Signature(keyPoint, manifestBytes, signatureDer);

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace platform {

using TSha256Digest = std::array<uint8_t, 32>;

// A P-256 public key as its uncompressed point: 0x04, then X and Y, 32 bytes
// each, big-endian.
using TP256PublicKey = std::array<uint8_t, 65>;

// A SHA-256 digest computed piece by piece. Raises std::runtime_error when the
// system's library cannot provide the hash.
class TSha256 {
 public:
  TSha256();
  ~TSha256();
  TSha256(const TSha256&) = delete;
  TSha256& operator=(const TSha256&) = delete;

  void Update(const void* data, size_t size);
  // The digest of everything given since construction or the last Final;
  // the hash starts afresh afterwards.
  TSha256Digest Final();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl;
};

// The digest of one block.
TSha256Digest Sha256(std::string_view data);

// True when signature, an ECDSA signature DER-encoded as a SEQUENCE of the
// two INTEGERs r and s, is valid for the SHA-256 digest of data under key.
// A malformed key or signature is simply not valid.
bool VerifyP256Signature(const TP256PublicKey& key, std::string_view data,
                         std::string_view signature);

}  // namespace platform
