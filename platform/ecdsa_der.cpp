#include "platform/ecdsa_der.h"

#include <cstddef>

namespace platform {

namespace {

// Reads one INTEGER at pos into out (32 bytes, right-aligned); pos moves past
// it. False for anything but a minimal, positive, non-zero number that fits.
bool readInteger(std::string_view der, size_t& pos, uint8_t* out) {
  if (der.size() - pos < 2 || static_cast<uint8_t>(der[pos]) != 0x02) return false;
  const size_t length = static_cast<uint8_t>(der[pos + 1]);
  pos += 2;
  if (length == 0 || length > 33 || der.size() - pos < length) return false;
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(der[pos + i]); };
  // The top bit of the first byte is the sign; a leading zero is only
  // allowed when it keeps the next byte's top bit from reading as one.
  if (byte(0) & 0x80) return false;
  if (byte(0) == 0 && (length == 1 || !(byte(1) & 0x80))) return false;
  size_t skip = byte(0) == 0 ? 1 : 0;
  const size_t significant = length - skip;
  if (significant > 32) return false;
  for (size_t i = 0; i < 32 - significant; ++i) out[i] = 0;
  for (size_t i = 0; i < significant; ++i) out[32 - significant + i] = byte(skip + i);
  pos += length;
  return true;
}

}  // namespace

std::optional<TP256RawSignature> DecodeP256DerSignature(std::string_view der) {
  // Two INTEGERs of at most 35 bytes each keep the SEQUENCE under 128 bytes,
  // so only the short length form is valid.
  if (der.size() < 2 || static_cast<uint8_t>(der[0]) != 0x30) return std::nullopt;
  const size_t length = static_cast<uint8_t>(der[1]);
  if (length >= 0x80 || der.size() != length + 2) return std::nullopt;
  TP256RawSignature raw{};
  size_t pos = 2;
  if (!readInteger(der, pos, raw.data()) || !readInteger(der, pos, raw.data() + 32)) {
    return std::nullopt;
  }
  if (pos != der.size()) return std::nullopt;
  return raw;
}

}  // namespace platform
