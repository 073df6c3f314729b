#pragma once
// Conversions between the ANSI code page (Windows-1251 on Linux), the OEM code
// page (866 on Linux), UTF-8 and UTF-16, and case mapping by the ANSI code
// page's letters. Bytes without a mapping become "?".

#include <string>

#include "platform/ansi_text.h"

namespace platform {

std::string AnsiToUtf8(std::string_view ansi);
AnsiString Utf8ToAnsi(std::string_view utf8);
AnsiString OemToAnsi(std::string_view oem);
std::u16string AnsiToUtf16(std::string_view ansi);
AnsiString Utf16ToAnsi(std::u16string_view text);

// Case mapping and comparison following the ANSI code page's letters,
// Cyrillic included.
AnsiString AnsiUpperCase(std::string_view s);
AnsiString AnsiLowerCase(std::string_view s);
char AnsiUpperChar(char c);
// <0, 0, >0 like strcmp, ignoring letter case.
int AnsiCompareText(std::string_view a, std::string_view b);

}  // namespace platform
