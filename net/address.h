#pragma once
// IPv4 address literals as the socket stack reads and writes them: one
// number, a.b, a.b.c or a.b.c.d, each part decimal.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/ansistring.h"

// Four bytes in network order.
using TNetIPv4 = std::array<uint8_t, 4>;

// The text split at its first three full stops. The first empty part decides
// the form: "n" (0 to 4294967295), "a.b" (b up to 16777215), "a.b.c" (c up to
// 65535) or "a.b.c.d"; every part after an empty one must be empty too, and a
// fourth part may not hold a further full stop. Anything else gives nothing.
std::optional<TNetIPv4> TryParseAddressLiteral(std::string_view text);
// The four bytes as decimal numbers joined by full stops.
AnsiString FormatAddressBytes(const TNetIPv4& address);
