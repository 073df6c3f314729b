#include "core/ansistring.h"

#include <algorithm>

int Pos(std::string_view sub, std::string_view s) {
  if (sub.empty()) return 0;
  const auto at = s.find(sub);
  return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

AnsiString Copy(std::string_view s, int index, int count) {
  if (index < 1) index = 1;
  if (count <= 0 || static_cast<size_t>(index) > s.size()) return {};
  return AnsiString(s.substr(static_cast<size_t>(index) - 1, static_cast<size_t>(count)));
}

void Delete(AnsiString& s, int index, int count) {
  if (index < 1 || count <= 0 || static_cast<size_t>(index) > s.size()) return;
  s.erase(static_cast<size_t>(index) - 1, static_cast<size_t>(count));
}

static char asciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
static char asciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

AnsiString UpperCase(std::string_view s) {
  AnsiString r(s);
  std::transform(r.begin(), r.end(), r.begin(), asciiUpper);
  return r;
}

AnsiString LowerCase(std::string_view s) {
  AnsiString r(s);
  std::transform(r.begin(), r.end(), r.begin(), asciiLower);
  return r;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (asciiUpper(a[i]) != asciiUpper(b[i])) return false;
  return true;
}

static bool isBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

AnsiString TrimLeft(std::string_view s) {
  size_t b = 0;
  while (b < s.size() && isBlankOrControl(s[b])) ++b;
  return AnsiString(s.substr(b));
}

AnsiString TrimRight(std::string_view s) {
  size_t e = s.size();
  while (e > 0 && isBlankOrControl(s[e - 1])) --e;
  return AnsiString(s.substr(0, e));
}

AnsiString Trim(std::string_view s) {
  return TrimLeft(TrimRight(s));
}

AnsiString IntToStr(int64_t value) {
  return std::to_string(value);
}

AnsiString IntToHex(uint64_t value, int digits) {
  static const char hex[] = "0123456789ABCDEF";
  AnsiString r;
  do {
    r.insert(r.begin(), hex[value & 15]);
    value >>= 4;
  } while (value != 0);
  if (static_cast<int>(r.size()) < digits) r.insert(0, static_cast<size_t>(digits) - r.size(), '0');
  return r;
}

bool StartsText(std::string_view prefix, std::string_view s) {
  return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}
