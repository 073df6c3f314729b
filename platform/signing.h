#pragma once
// The publisher's side of signed updates, for the signing tool: P-256 keys
// read from PEM text and ECDSA signatures made with SHA-256. Linux only
// (libcrypto); the updater itself only verifies (platform/signature.h).

#include <optional>
#include <string>
#include <string_view>

#include "platform/signature.h"

namespace platform {

// The public key of a PEM public key ("BEGIN PUBLIC KEY"), or of a PEM
// private key, when it is a P-256 key; nullopt otherwise.
std::optional<TP256PublicKey> ReadP256PublicKeyPem(std::string_view pem);

// The DER signature (as `openssl dgst -sha256 -sign` writes it) of data
// under the P-256 private key in pem; nullopt when pem holds no such key.
std::optional<std::string> SignP256(std::string_view pem, std::string_view data);

}  // namespace platform
