#include "net/address.h"

namespace {

// A part is one or more ASCII digits; more than 19 digits cannot be a 64-bit
// number and are refused.
std::optional<uint64_t> readDecimal(std::string_view part) {
  if (part.empty() || part.size() > 19) return std::nullopt;
  uint64_t value = 0;
  for (char c : part) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  return value;
}

}  // namespace

std::optional<TNetIPv4> TryParseAddressLiteral(std::string_view text) {
  std::string_view parts[4];
  std::string_view rest = text;
  for (int i = 0; i < 3; ++i) {
    const size_t dot = rest.find('.');
    if (dot == std::string_view::npos) {
      parts[i] = rest;
      rest = std::string_view();
      break;
    }
    parts[i] = rest.substr(0, dot);
    rest.remove_prefix(dot + 1);
  }
  parts[3] = rest;

  int count = 0;
  while (count < 4 && !parts[count].empty()) ++count;
  for (int i = count; i < 4; ++i) {
    if (!parts[i].empty()) return std::nullopt;
  }
  if (count == 0) return std::nullopt;

  uint64_t v[4] = {};
  for (int i = 0; i < count; ++i) {
    const std::optional<uint64_t> n = readDecimal(parts[i]);
    if (!n) return std::nullopt;
    v[i] = *n;
  }
  // Each form's last part fills the bytes that the earlier parts leave.
  static const uint64_t lastLimit[] = {0xFFFFFFFFu, 0xFFFFFF, 0xFFFF, 0xFF};
  for (int i = 0; i + 1 < count; ++i) {
    if (v[i] > 255) return std::nullopt;
  }
  if (v[count - 1] > lastLimit[count - 1]) return std::nullopt;

  uint32_t value = 0;
  for (int i = 0; i + 1 < count; ++i) value |= static_cast<uint32_t>(v[i]) << (24 - 8 * i);
  value |= static_cast<uint32_t>(v[count - 1]);
  return TNetIPv4{static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
                  static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

AnsiString FormatAddressBytes(const TNetIPv4& address) {
  return IntToStr(address[0]) + "." + IntToStr(address[1]) + "." + IntToStr(address[2]) + "." +
         IntToStr(address[3]);
}
