#include "net/address.h"

#include "core/decimal.h"

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

  // Each form's last part fills the bytes that the earlier parts leave; the
  // parts before it are one byte each.
  static const int64_t lastLimit[] = {0xFFFFFFFFu, 0xFFFFFF, 0xFFFF, 0xFF};
  int64_t v[4] = {};
  for (int i = 0; i < count; ++i) {
    const std::optional<int64_t> n =
        ParseDecimal(parts[i], {0, i + 1 < count ? 0xFF : lastLimit[count - 1]});
    if (!n) return std::nullopt;
    v[i] = *n;
  }

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
