#include "core/cp1251.h"

namespace {

// Code points of Windows-1251 bytes 0x80 to 0xBF (0 where the byte is unused).
constexpr char16_t kHigh[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0,      0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char toByte(char32_t u) {
  if (u < 0x80) return static_cast<char>(u);
  if (u >= 0x410 && u <= 0x44F) return static_cast<char>(0xC0 + (u - 0x410));
  for (int i = 0; i < 64; ++i)
    if (kHigh[i] == u) return static_cast<char>(0x80 + i);
  return '?';
}

char16_t toUnit(unsigned char b) {
  if (b < 0x80) return b;
  if (b >= 0xC0) return static_cast<char16_t>(0x410 + (b - 0xC0));
  const char16_t u = kHigh[b - 0x80];
  return u ? u : u'\uFFFD';
}

}  // namespace

AnsiString Cp1251(std::string_view utf8) {
  AnsiString out;
  for (size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    const int extra = b < 0x80 ? 0 : b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    char32_t u = extra ? b & (0x3F >> extra) : b;
    ++i;
    for (int k = 0; k < extra && i < utf8.size(); ++k, ++i)
      u = u << 6 | (static_cast<unsigned char>(utf8[i]) & 0x3F);
    out += toByte(u);
  }
  return out;
}

std::u16string Cp1251ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (const char c : text) out += toUnit(static_cast<unsigned char>(c));
  return out;
}

std::string Cp1251ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const char16_t u = toUnit(static_cast<unsigned char>(c));
    if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xC0 | u >> 6);
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | u >> 12);
      out += static_cast<char>(0x80 | (u >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
}

AnsiString Utf16ToCp1251(std::u16string_view text) {
  AnsiString out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      ++i;
      out += '?';
      continue;
    }
    out += toByte(u);
  }
  return out;
}
