// SHA-256 and ECDSA P-256 checks over CNG (bcrypt.dll). The library is
// loaded when first needed, so that the program still starts on a system
// without it; there every hash fails and no signature is valid.

#include "platform/signature.h"

#include "platform/win32/windows_api.h"
// windows_api.h comes first: bcrypt.h needs the types that windows.h defines.
#include <bcrypt.h>

#include <cstring>
#include <vector>

#include <stdexcept>
#include "platform/ecdsa_der.h"

namespace platform {

namespace {

using OpenAlgorithmProvider = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE*, LPCWSTR, LPCWSTR, ULONG);
using CloseAlgorithmProvider = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, ULONG);
using CreateHash = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, BCRYPT_HASH_HANDLE*, PUCHAR, ULONG, PUCHAR,
                                     ULONG, ULONG);
using HashData = NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE, PUCHAR, ULONG, ULONG);
using FinishHash = NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE, PUCHAR, ULONG, ULONG);
using DestroyHash = NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE);
using ImportKeyPair = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, BCRYPT_KEY_HANDLE, LPCWSTR,
                                        BCRYPT_KEY_HANDLE*, PUCHAR, ULONG, ULONG);
using VerifySignature = NTSTATUS(WINAPI*)(BCRYPT_KEY_HANDLE, VOID*, PUCHAR, ULONG, PUCHAR, ULONG,
                                          ULONG);
using DestroyKey = NTSTATUS(WINAPI*)(BCRYPT_KEY_HANDLE);

// The entry points of bcrypt.dll that this file calls.
struct Cng {
  bool loaded = false;
  OpenAlgorithmProvider openAlgorithmProvider = nullptr;
  CloseAlgorithmProvider closeAlgorithmProvider = nullptr;
  CreateHash createHash = nullptr;
  HashData hashData = nullptr;
  FinishHash finishHash = nullptr;
  DestroyHash destroyHash = nullptr;
  ImportKeyPair importKeyPair = nullptr;
  VerifySignature verifySignature = nullptr;
  DestroyKey destroyKey = nullptr;
};

template <typename F>
bool resolve(HMODULE module, const char* name, F& out) {
  out = reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
  return out != nullptr;
}

// Loaded once, on the user-interface thread that alone uses it.
const Cng& cng() {
  static const Cng loaded = [] {
    Cng c;
    HMODULE module = ::LoadLibraryA("bcrypt.dll");
    if (module == nullptr) return c;
    c.loaded = resolve(module, "BCryptOpenAlgorithmProvider", c.openAlgorithmProvider) &&
               resolve(module, "BCryptCloseAlgorithmProvider", c.closeAlgorithmProvider) &&
               resolve(module, "BCryptCreateHash", c.createHash) &&
               resolve(module, "BCryptHashData", c.hashData) &&
               resolve(module, "BCryptFinishHash", c.finishHash) &&
               resolve(module, "BCryptDestroyHash", c.destroyHash) &&
               resolve(module, "BCryptImportKeyPair", c.importKeyPair) &&
               resolve(module, "BCryptVerifySignature", c.verifySignature) &&
               resolve(module, "BCryptDestroyKey", c.destroyKey);
    return c;
  }();
  return loaded;
}

bool ok(NTSTATUS status) {
  return status >= 0;
}

// An algorithm provider, closed when it goes.
class Provider {
 public:
  explicit Provider(const wchar_t* algorithm) {
    const Cng& c = cng();
    if (c.loaded && !ok(c.openAlgorithmProvider(&handle, algorithm, nullptr, 0))) handle = nullptr;
  }
  ~Provider() {
    if (handle != nullptr) cng().closeAlgorithmProvider(handle, 0);
  }
  Provider(const Provider&) = delete;
  Provider& operator=(const Provider&) = delete;
  BCRYPT_ALG_HANDLE handle = nullptr;
};

}  // namespace

struct TSha256::Impl {
  Provider provider{BCRYPT_SHA256_ALGORITHM};
  BCRYPT_HASH_HANDLE hash = nullptr;

  void start() {
    if (provider.handle == nullptr ||
        !ok(cng().createHash(provider.handle, &hash, nullptr, 0, nullptr, 0, 0))) {
      hash = nullptr;
      throw std::runtime_error("SHA-256 is not available");
    }
  }
  ~Impl() {
    if (hash != nullptr) cng().destroyHash(hash);
  }
};

TSha256::TSha256() : impl(std::make_unique<Impl>()) {
  impl->start();
}

TSha256::~TSha256() = default;

void TSha256::Update(const void* data, size_t size) {
  // CNG takes at most 4 GiB - 1 bytes a call.
  auto* p = static_cast<PUCHAR>(const_cast<void*>(data));
  while (size > 0) {
    const ULONG piece = size > 0x40000000 ? 0x40000000 : static_cast<ULONG>(size);
    if (!ok(cng().hashData(impl->hash, p, piece, 0))) throw std::runtime_error("SHA-256 failed");
    p += piece;
    size -= piece;
  }
}

TSha256Digest TSha256::Final() {
  TSha256Digest digest{};
  if (!ok(cng().finishHash(impl->hash, digest.data(), digest.size(), 0))) {
    throw std::runtime_error("SHA-256 failed");
  }
  cng().destroyHash(impl->hash);
  impl->hash = nullptr;
  impl->start();
  return digest;
}

TSha256Digest Sha256(std::string_view data) {
  TSha256 hash;
  hash.Update(data.data(), data.size());
  return hash.Final();
}

bool VerifyP256Signature(const TP256PublicKey& key, std::string_view data,
                         std::string_view signature) {
  if (key[0] != 0x04) return false;
  auto raw = DecodeP256DerSignature(signature);
  if (!raw) return false;
  TSha256Digest digest;
  try {
    digest = Sha256(data);
  } catch (const std::exception&) {
    return false;
  }
  Provider provider(BCRYPT_ECDSA_P256_ALGORITHM);
  if (provider.handle == nullptr) return false;
  // BCRYPT_ECCKEY_BLOB: the magic and the coordinate length, then X and Y.
  std::vector<UCHAR> blob(sizeof(BCRYPT_ECCKEY_BLOB) + 64);
  BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
  std::memcpy(blob.data(), &header, sizeof header);
  std::memcpy(blob.data() + sizeof header, key.data() + 1, 64);
  BCRYPT_KEY_HANDLE handle = nullptr;
  if (!ok(cng().importKeyPair(provider.handle, nullptr, BCRYPT_ECCPUBLIC_BLOB, &handle, blob.data(),
                              static_cast<ULONG>(blob.size()), 0))) {
    return false;
  }
  const bool valid = ok(cng().verifySignature(handle, nullptr, digest.data(), digest.size(),
                                              raw->data(), raw->size(), 0));
  cng().destroyKey(handle);
  return valid;
}

}  // namespace platform
