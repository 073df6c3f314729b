#pragma once
// Reads little-endian numbers from a byte block in order. Reading past the
// end of the block raises the runtime's "Stream read error", so a record
// parser can never look beyond the bytes it was given.

#include <cstddef>
#include <cstdint>

#include "core/exceptions.h"

class TLeCursor {
 public:
  TLeCursor(const void* data, size_t size) : p(static_cast<const uint8_t*>(data)), left(size) {}

  size_t Remaining() const { return left; }
  const uint8_t* Here() const { return p; }

  uint8_t U8() { return static_cast<uint8_t>(take(1)); }
  uint16_t U16() { return static_cast<uint16_t>(take(2)); }
  uint32_t U32() { return static_cast<uint32_t>(take(4)); }
  uint64_t U64() { return take(8); }
  void Skip(size_t n) {
    need(n);
    p += n;
    left -= n;
  }

 private:
  void need(size_t n) const {
    if (n > left) throw EReadError("Stream read error");
  }
  uint64_t take(size_t n) {
    need(n);
    uint64_t v = 0;
    for (size_t i = 0; i < n; ++i) v |= static_cast<uint64_t>(p[i]) << (8 * i);
    p += n;
    left -= n;
    return v;
  }

  const uint8_t* p;
  size_t left;
};

// Writes little-endian numbers into a byte block in order.
class TLeWriter {
 public:
  explicit TLeWriter(void* data) : p(static_cast<uint8_t*>(data)) {}
  void U16(uint16_t v) { put(v, 2); }
  void U32(uint32_t v) { put(v, 4); }

 private:
  void put(uint64_t v, size_t n) {
    for (size_t i = 0; i < n; ++i) *p++ = static_cast<uint8_t>(v >> (8 * i));
  }
  uint8_t* p;
};
