#include "core/decimal.h"

std::optional<int64_t> ParseDecimal(std::string_view text, const TDecimalRule& rule) {
  bool negative = false;
  if (rule.Sign && !text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  // The magnitude is gathered unsigned, so that the most negative value
  // fits as well; anything past 2^63 is out of every range.
  constexpr uint64_t limit = uint64_t{1} << 63;
  uint64_t magnitude = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    const auto digit = static_cast<uint64_t>(c - '0');
    if (magnitude > (limit - digit) / 10) return std::nullopt;
    magnitude = magnitude * 10 + digit;
  }
  int64_t value;
  if (negative) {
    value =
        magnitude == limit ? std::numeric_limits<int64_t>::min() : -static_cast<int64_t>(magnitude);
  } else {
    if (magnitude == limit) return std::nullopt;
    value = static_cast<int64_t>(magnitude);
  }
  if (value < rule.Min || value > rule.Max) return std::nullopt;
  return value;
}
