#pragma once
// The program's texts are Windows-1251 whatever the machine's ANSI code page;
// the back-end hands them to the wide Windows functions as UTF-16, so that
// Russian captions show correctly on any Windows.

#include <string>

#include "core/ansistring.h"

namespace ui::win32 {

std::wstring Wide(std::string_view cp1251);
AnsiString Narrow(std::wstring_view text);

}  // namespace ui::win32
