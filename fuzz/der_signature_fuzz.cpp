// Decodes arbitrary bytes as a DER ECDSA P-256 signature. Strict DER has one
// encoding per value, so whatever decodes must encode back to exactly the
// input.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/ecdsa_der.h"

namespace {

std::string integer(const uint8_t* value) {
  size_t first = 0;
  while (first < 31 && value[first] == 0) ++first;
  std::string bytes;
  if (value[first] & 0x80) bytes += '\0';
  bytes.append(reinterpret_cast<const char*>(value + first), 32 - first);
  return std::string(1, '\x02') + static_cast<char>(bytes.size()) + bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view der(reinterpret_cast<const char*>(data), size);
  const auto raw = platform::DecodeP256DerSignature(der);
  if (!raw) return 0;
  const std::string body = integer(raw->data()) + integer(raw->data() + 32);
  const std::string again = std::string(1, '\x30') + static_cast<char>(body.size()) + body;
  if (again != der) std::abort();
  return 0;
}
