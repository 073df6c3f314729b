#pragma once
// Windows-1251 texts written readably in the source as UTF-8. The dialogs'
// captions are stored in Windows-1251 whatever the machine's code page.

#include "core/ansistring.h"

// Converts UTF-8 to Windows-1251; characters outside it become "?".
AnsiString Cp1251(std::string_view utf8);
