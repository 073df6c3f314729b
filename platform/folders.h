#pragma once
// Special folders and the current directory, as ANSI-code-page paths.

#include "platform/ansi_text.h"

namespace platform {

constexpr int CSIDL_COMMON_APPDATA = 35;

// The path of a special folder (only the common application-data folder is
// known); ok reports whether the query succeeded. The folder is not created.
AnsiString GetSpecialFolderPath(int csidl, bool& ok);
AnsiString GetCurrentDirectory();
AnsiString GetSystemDirectory();

}  // namespace platform
