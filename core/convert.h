#pragma once
// Text-to-number conversion with the runtime's rules: leading blanks, an
// optional sign, then decimal digits, or hexadecimal digits after "$", "0x" or
// "x". Anything else, an empty text and trailing blanks included, is refused.

#include <cstdint>
#include <optional>

#include "core/ansistring.h"

std::optional<int32_t> TryStrToInt(std::string_view s);
// Raises EConvertError "'%s' is not a valid integer value".
int32_t StrToInt(std::string_view s);
