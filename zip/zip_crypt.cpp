#include "zip/zip_crypt.h"

#include <array>
#include <cstring>

namespace {

constexpr std::array<uint32_t, 256> makeCrcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = makeCrcTable();

uint32_t crcByte(uint32_t crc, uint8_t b) {
  return kCrcTable[(crc ^ b) & 0xFF] ^ (crc >> 8);
}

}  // namespace

TZipCryptKeys::TZipCryptKeys(std::string_view password) {
  for (const char c : password) update(static_cast<uint8_t>(c));
}

void TZipCryptKeys::update(uint8_t plain) {
  key0 = crcByte(key0, plain);
  key1 = (key1 + (key0 & 0xFF)) * 134775813u + 1;
  key2 = crcByte(key2, static_cast<uint8_t>(key1 >> 24));
}

uint8_t TZipCryptKeys::streamByte() const {
  const uint32_t temp = (key2 | 2) & 0xFFFF;
  return static_cast<uint8_t>((temp * (temp ^ 1)) >> 8);
}

void TZipCryptKeys::DecryptBuffer(uint8_t* data, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    data[i] ^= streamByte();
    update(data[i]);
  }
}

bool ZipCheckEncryptionHeader(TZipCryptKeys& keys, const uint8_t* header, uint8_t checkByte) {
  uint8_t plain[kZipEncryptionHeaderSize];
  std::memcpy(plain, header, sizeof plain);
  keys.DecryptBuffer(plain, sizeof plain);
  return plain[kZipEncryptionHeaderSize - 1] == checkByte;
}
