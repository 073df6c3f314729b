// SHA-256 and ECDSA P-256 checks over OpenSSL's libcrypto.

#include "platform/signature.h"

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <cstring>

#include <stdexcept>

namespace platform {

namespace {

// The DER SubjectPublicKeyInfo of a P-256 key up to its point: SEQUENCE,
// AlgorithmIdentifier { id-ecPublicKey, prime256v1 }, BIT STRING of 66 bytes
// with no unused bits.
constexpr uint8_t spkiPrefix[] = {0x30, 0x59, 0x30, 0x13, 0x06, 0x07, 0x2a, 0x86, 0x48,
                                  0xce, 0x3d, 0x02, 0x01, 0x06, 0x08, 0x2a, 0x86, 0x48,
                                  0xce, 0x3d, 0x03, 0x01, 0x07, 0x03, 0x42, 0x00};

struct PKeyFree {
  void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
};
struct MdCtxFree {
  void operator()(EVP_MD_CTX* c) const { EVP_MD_CTX_free(c); }
};

std::unique_ptr<EVP_PKEY, PKeyFree> importKey(const TP256PublicKey& key) {
  uint8_t spki[sizeof spkiPrefix + 65];
  std::memcpy(spki, spkiPrefix, sizeof spkiPrefix);
  std::memcpy(spki + sizeof spkiPrefix, key.data(), key.size());
  const unsigned char* p = spki;
  return std::unique_ptr<EVP_PKEY, PKeyFree>(d2i_PUBKEY(nullptr, &p, sizeof spki));
}

}  // namespace

struct TSha256::Impl {
  std::unique_ptr<EVP_MD_CTX, MdCtxFree> ctx{EVP_MD_CTX_new()};
};

TSha256::TSha256() : impl(std::make_unique<Impl>()) {
  if (!impl->ctx || EVP_DigestInit_ex(impl->ctx.get(), EVP_sha256(), nullptr) != 1) {
    throw std::runtime_error("SHA-256 is not available");
  }
}

TSha256::~TSha256() = default;

void TSha256::Update(const void* data, size_t size) {
  if (size > 0 && EVP_DigestUpdate(impl->ctx.get(), data, size) != 1) {
    throw std::runtime_error("SHA-256 failed");
  }
}

TSha256Digest TSha256::Final() {
  TSha256Digest digest{};
  unsigned int length = 0;
  if (EVP_DigestFinal_ex(impl->ctx.get(), digest.data(), &length) != 1 || length != digest.size() ||
      EVP_DigestInit_ex(impl->ctx.get(), EVP_sha256(), nullptr) != 1) {
    throw std::runtime_error("SHA-256 failed");
  }
  return digest;
}

TSha256Digest Sha256(std::string_view data) {
  TSha256Digest digest{};
  unsigned int length = 0;
  if (EVP_Digest(data.data(), data.size(), digest.data(), &length, EVP_sha256(), nullptr) != 1 ||
      length != digest.size()) {
    throw std::runtime_error("SHA-256 failed");
  }
  return digest;
}

bool VerifyP256Signature(const TP256PublicKey& key, std::string_view data,
                         std::string_view signature) {
  const auto pkey = importKey(key);
  if (!pkey) return false;
  std::unique_ptr<EVP_MD_CTX, MdCtxFree> ctx(EVP_MD_CTX_new());
  if (!ctx || EVP_DigestVerifyInit(ctx.get(), nullptr, EVP_sha256(), nullptr, pkey.get()) != 1) {
    return false;
  }
  return EVP_DigestVerify(ctx.get(), reinterpret_cast<const unsigned char*>(signature.data()),
                          signature.size(), reinterpret_cast<const unsigned char*>(data.data()),
                          data.size()) == 1;
}

}  // namespace platform
