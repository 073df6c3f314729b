#pragma once
// Decimal numbers read from outside input (header values, date fields,
// address parts): ASCII digits only, after one optional sign when the rule
// allows it, with the value inside the rule's range. Blanks, other
// characters, an empty text and a value past the range are all refused;
// the value is checked for overflow digit by digit, so any number of digits
// is safe to read.

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

struct TDecimalRule {
  int64_t Min = 0;
  int64_t Max = std::numeric_limits<int64_t>::max();
  // Allows one "+" or "-" in front of the digits.
  bool Sign = false;
};

std::optional<int64_t> ParseDecimal(std::string_view text, const TDecimalRule& rule = {});
