#pragma once
// The ZIP format's traditional encryption: three 32-bit keys set up from the
// password and advanced by every plain byte.

#include <cstddef>
#include <cstdint>

#include "core/ansistring.h"

constexpr int kZipEncryptionHeaderSize = 12;

class TZipCryptKeys {
 public:
  explicit TZipCryptKeys(std::string_view password);
  // Decrypts in place, advancing the keys.
  void DecryptBuffer(uint8_t* data, size_t count);

 private:
  void update(uint8_t plain);
  uint8_t streamByte() const;

  uint32_t key0 = 0x12345678;
  uint32_t key1 = 0x23456789;
  uint32_t key2 = 0x34567890;
};

// Whether the decrypted encryption header fits: its last byte must equal
// checkByte (the high byte of the local CRC-32, or of the local time when the
// entry has a data descriptor). keys are left ready for the entry's data.
bool ZipCheckEncryptionHeader(TZipCryptKeys& keys, const uint8_t* header, uint8_t checkByte);
