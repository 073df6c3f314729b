#include "core/record_text.h"

#include <cstdio>

#include "core/cp1251.h"
#include "platform/codepage.h"

namespace {

std::string quoteUtf8(std::string_view utf8) {
  std::string r = "\"";
  for (const char c : utf8) {
    const auto b = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        r += "\\\"";
        break;
      case '\\':
        r += "\\\\";
        break;
      case '\r':
        r += "\\r";
        break;
      case '\n':
        r += "\\n";
        break;
      case '\t':
        r += "\\t";
        break;
      default:
        if (b < 0x20 || b == 0x7F) {
          char hex[5];
          std::snprintf(hex, sizeof hex, "\\x%02X", b);
          r += hex;
        } else {
          r += c;
        }
    }
  }
  return r + "\"";
}

}  // namespace

std::string QuoteRecordText(std::string_view ansi) {
  return quoteUtf8(platform::AnsiToUtf8(ansi));
}

std::string QuoteProgramText(std::string_view cp1251) {
  return quoteUtf8(Cp1251ToUtf8(cp1251));
}
