// Key reading and signing over OpenSSL's libcrypto.

#include "platform/signing.h"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <cstring>
#include <memory>

namespace platform {

namespace {

struct PKeyFree {
  void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
};
struct BioFree {
  void operator()(BIO* b) const { BIO_free(b); }
};
struct MdCtxFree {
  void operator()(EVP_MD_CTX* c) const { EVP_MD_CTX_free(c); }
};
using PKey = std::unique_ptr<EVP_PKEY, PKeyFree>;

std::unique_ptr<BIO, BioFree> memoryBio(std::string_view text) {
  return std::unique_ptr<BIO, BioFree>(BIO_new_mem_buf(text.data(), static_cast<int>(text.size())));
}

// The key's uncompressed point when it is a P-256 key.
std::optional<TP256PublicKey> pointOf(EVP_PKEY* key) {
  unsigned char* der = nullptr;
  const int length = i2d_PUBKEY(key, &der);
  if (length <= 0) return std::nullopt;
  // The SubjectPublicKeyInfo of a P-256 key with its point uncompressed.
  static const uint8_t prefix[] = {0x30, 0x59, 0x30, 0x13, 0x06, 0x07, 0x2a, 0x86, 0x48,
                                   0xce, 0x3d, 0x02, 0x01, 0x06, 0x08, 0x2a, 0x86, 0x48,
                                   0xce, 0x3d, 0x03, 0x01, 0x07, 0x03, 0x42, 0x00};
  std::optional<TP256PublicKey> point;
  if (length == static_cast<int>(sizeof prefix + 65) &&
      std::memcmp(der, prefix, sizeof prefix) == 0) {
    point.emplace();
    std::memcpy(point->data(), der + sizeof prefix, 65);
  }
  OPENSSL_free(der);
  return point;
}

}  // namespace

std::optional<TP256PublicKey> ReadP256PublicKeyPem(std::string_view pem) {
  if (pem.size() > 1 << 20) return std::nullopt;
  auto bio = memoryBio(pem);
  PKey key(bio ? PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr) : nullptr);
  if (!key) {
    bio = memoryBio(pem);
    key.reset(bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr) : nullptr);
  }
  return key ? pointOf(key.get()) : std::nullopt;
}

std::optional<std::string> SignP256(std::string_view pem, std::string_view data) {
  if (pem.size() > 1 << 20) return std::nullopt;
  auto bio = memoryBio(pem);
  PKey key(bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr) : nullptr);
  if (!key || !pointOf(key.get())) return std::nullopt;
  std::unique_ptr<EVP_MD_CTX, MdCtxFree> ctx(EVP_MD_CTX_new());
  size_t length = 0;
  if (!ctx || EVP_DigestSignInit(ctx.get(), nullptr, EVP_sha256(), nullptr, key.get()) != 1 ||
      EVP_DigestSign(ctx.get(), nullptr, &length,
                     reinterpret_cast<const unsigned char*>(data.data()), data.size()) != 1) {
    return std::nullopt;
  }
  std::string signature(length, '\0');
  if (EVP_DigestSign(ctx.get(), reinterpret_cast<unsigned char*>(signature.data()), &length,
                     reinterpret_cast<const unsigned char*>(data.data()), data.size()) != 1) {
    return std::nullopt;
  }
  signature.resize(length);
  return signature;
}

}  // namespace platform
