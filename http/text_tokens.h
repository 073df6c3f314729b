#pragma once
// Token cutting of the HTTP client: CutToken returns the text before the
// first delimiter and, with remove, takes it and the delimiter off the text.

#include "core/ansistring.h"

// When the delimiter does not occur the whole text is returned and, with
// remove, the text becomes empty. Without caseSensitive the search ignores
// ASCII letter case.
AnsiString CutToken(AnsiString& text, std::string_view delimiter, bool remove = true,
                    bool caseSensitive = true);
// 1-based position of sub in text, 0 when absent. The search never matches
// in the middle of a double-byte character of the ANSI code page.
int TextPos(std::string_view sub, std::string_view text);
// True for the first byte of a double-byte character of the ANSI code page.
// Windows-1251 has none.
inline bool IsLeadByte(char) {
  return false;
}
