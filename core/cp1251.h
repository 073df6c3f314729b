#pragma once
// Windows-1251 texts written readably in the source as UTF-8. The dialogs'
// captions are stored in Windows-1251 whatever the machine's code page.

#include "core/ansistring.h"

// Converts UTF-8 to Windows-1251; characters outside it become "?".
AnsiString Cp1251(std::string_view utf8);

// Windows-1251 text as UTF-16 or UTF-8, for the widget sets, whatever the
// machine's ANSI code page; the one unused byte, 0x98, becomes U+FFFD.
std::u16string Cp1251ToUtf16(std::string_view text);
std::string Cp1251ToUtf8(std::string_view text);
// UTF-16 to Windows-1251; characters outside it (a surrogate pair counts as
// one) become "?".
AnsiString Utf16ToCp1251(std::u16string_view text);
