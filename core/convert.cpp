#include "core/convert.h"

#include "core/exceptions.h"
#include "core/format.h"

std::optional<int32_t> TryStrToInt(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  int base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  } else if (i < s.size() && (s[i] == 'x' || s[i] == 'X')) {
    base = 16;
    ++i;
  }
  if (i >= s.size()) return std::nullopt;
  // Decimal values must fit a signed 32-bit integer; hexadecimal ones may use
  // all 32 bits, so "$FFFFFFFF" is -1 as in the runtime.
  const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  uint64_t value = 0;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return std::nullopt;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (value > limit) return std::nullopt;
  }
  const auto bits = static_cast<uint32_t>(value);
  const auto result = static_cast<int32_t>(bits);
  return negative ? static_cast<int32_t>(0u - bits) : result;
}

int32_t StrToInt(std::string_view s) {
  if (auto v = TryStrToInt(s)) return *v;
  throw EConvertError(Format("'%s' is not a valid integer value", {s}));
}
