#include "platform/codepage.h"

#include <iconv.h>

#include <array>
#include <unordered_map>

namespace platform {
namespace {

// One single-byte code page: the Unicode code point of each byte (0 where the
// byte has none) and the reverse map. Built once through iconv.
struct CodePage {
  std::array<char32_t, 256> toUnicode{};
  std::unordered_map<char32_t, unsigned char> fromUnicode;

  explicit CodePage(const char* name) {
    iconv_t cd = ::iconv_open("UTF-32LE", name);
    for (int b = 0; b < 256; ++b) {
      if (b < 128 || cd == reinterpret_cast<iconv_t>(-1)) {
        toUnicode[b] = b < 128 ? static_cast<char32_t>(b) : 0;
      } else {
        char in = static_cast<char>(b);
        unsigned char out[4] = {};
        char* inp = &in;
        char* outp = reinterpret_cast<char*>(out);
        size_t inLeft = 1, outLeft = 4;
        ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (::iconv(cd, &inp, &inLeft, &outp, &outLeft) != static_cast<size_t>(-1) && outLeft == 0)
          toUnicode[b] = out[0] | out[1] << 8 | out[2] << 16 | static_cast<char32_t>(out[3]) << 24;
      }
      if (toUnicode[b] != 0 || b == 0)
        fromUnicode.emplace(toUnicode[b], static_cast<unsigned char>(b));
    }
    if (cd != reinterpret_cast<iconv_t>(-1)) ::iconv_close(cd);
  }
};

const CodePage& ansi() {
  static const CodePage page("CP1251");
  return page;
}

const CodePage& oem() {
  static const CodePage page("CP866");
  return page;
}

void appendUtf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | u >> 6);
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else if (u < 0x10000) {
    out += static_cast<char>(0xE0 | u >> 12);
    out += static_cast<char>(0x80 | (u >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | u >> 18);
    out += static_cast<char>(0x80 | (u >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (u >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

// Decodes one UTF-8 sequence at i; a malformed byte decodes as U+FFFD.
char32_t nextUtf8(std::string_view s, size_t& i) {
  const auto b = static_cast<unsigned char>(s[i++]);
  if (b < 0x80) return b;
  int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
  if (extra < 0) return 0xFFFD;
  char32_t u = b & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0xFFFD;
    u = u << 6 | (static_cast<unsigned char>(s[i++]) & 0x3F);
  }
  return u;
}

unsigned char toByte(const CodePage& page, char32_t u) {
  const auto it = page.fromUnicode.find(u);
  return it == page.fromUnicode.end() ? '?' : it->second;
}

char32_t upperCodePoint(char32_t u) {
  if (u >= 'a' && u <= 'z') return u - 32;
  if (u >= 0x430 && u <= 0x44F) return u - 0x20;
  if (u >= 0x450 && u <= 0x45F) return u - 0x50;
  if (u == 0x491) return 0x490;
  return u;
}

char32_t lowerCodePoint(char32_t u) {
  if (u >= 'A' && u <= 'Z') return u + 32;
  if (u >= 0x410 && u <= 0x42F) return u + 0x20;
  if (u >= 0x400 && u <= 0x40F) return u + 0x50;
  if (u == 0x490) return 0x491;
  return u;
}

struct CaseTables {
  std::array<unsigned char, 256> upper{}, lower{};
  CaseTables() {
    const CodePage& page = ansi();
    for (int b = 0; b < 256; ++b) {
      const char32_t u = page.toUnicode[b];
      upper[b] = static_cast<unsigned char>(b);
      lower[b] = static_cast<unsigned char>(b);
      if (u == 0) continue;
      if (auto it = page.fromUnicode.find(upperCodePoint(u)); it != page.fromUnicode.end())
        upper[b] = it->second;
      if (auto it = page.fromUnicode.find(lowerCodePoint(u)); it != page.fromUnicode.end())
        lower[b] = it->second;
    }
  }
};

const CaseTables& cases() {
  static const CaseTables tables;
  return tables;
}

std::string toUtf8(const CodePage& page, std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char c : text) {
    const char32_t u = page.toUnicode[static_cast<unsigned char>(c)];
    appendUtf8(out, u == 0 && c != 0 ? U'\uFFFD' : u);
  }
  return out;
}

}  // namespace

std::string AnsiToUtf8(std::string_view ansiText) {
  return toUtf8(ansi(), ansiText);
}

AnsiString Utf8ToAnsi(std::string_view utf8) {
  AnsiString out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) out += static_cast<char>(toByte(ansi(), nextUtf8(utf8, i)));
  return out;
}

AnsiString OemToAnsi(std::string_view oemText) {
  AnsiString out;
  out.reserve(oemText.size());
  for (char c : oemText) {
    const char32_t u = oem().toUnicode[static_cast<unsigned char>(c)];
    out += static_cast<char>(u == 0 && c != 0 ? '?' : toByte(ansi(), u));
  }
  return out;
}

std::u16string AnsiToUtf16(std::string_view ansiText) {
  std::u16string out;
  out.reserve(ansiText.size());
  for (char c : ansiText)
    out += static_cast<char16_t>(ansi().toUnicode[static_cast<unsigned char>(c)]);
  return out;
}

AnsiString Utf16ToAnsi(std::u16string_view text) {
  AnsiString out;
  out.reserve(text.size());
  for (char16_t c : text) out += static_cast<char>(toByte(ansi(), c));
  return out;
}

char AnsiUpperChar(char c) {
  return static_cast<char>(cases().upper[static_cast<unsigned char>(c)]);
}

AnsiString AnsiUpperCase(std::string_view s) {
  AnsiString r(s);
  for (char& c : r) c = AnsiUpperChar(c);
  return r;
}

AnsiString AnsiLowerCase(std::string_view s) {
  AnsiString r(s);
  for (char& c : r) c = static_cast<char>(cases().lower[static_cast<unsigned char>(c)]);
  return r;
}

int AnsiCompareText(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(AnsiUpperChar(a[i]));
    const auto y = static_cast<unsigned char>(AnsiUpperChar(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace platform
