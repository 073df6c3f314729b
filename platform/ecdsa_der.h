#pragma once
// The DER form of an ECDSA signature over P-256, as OpenSSL and most tools
// write it: SEQUENCE { INTEGER r, INTEGER s }. Windows' CNG wants the two
// numbers as 32 big-endian bytes each instead.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

// r then s, 32 bytes each, big-endian.
using TP256RawSignature = std::array<uint8_t, 64>;

// Decodes a DER signature strictly: definite short lengths only, minimal
// positive INTEGERs of at most 32 significant bytes, neither zero, and no
// byte after the SEQUENCE. Anything else gives nullopt. Reads only inside
// the given bytes.
std::optional<TP256RawSignature> DecodeP256DerSignature(std::string_view der);

}  // namespace platform
