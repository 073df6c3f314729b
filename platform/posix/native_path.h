#pragma once
// The POSIX stand-in for a Windows machine: a root folder (QD_ROOT) holding
// ProgramData/, Windows/System32/ and Registry/, and the conversion of
// Windows-style ANSI paths to native UTF-8 paths.

#include <string>

#include "platform/ansi_text.h"

namespace platform::posix {

// The root folder in UTF-8: $QD_ROOT, or /var/lib/qdupdate without it.
std::string RootDir();
// "\\" becomes "/", and the text is converted from the ANSI code page.
std::string ToNativePath(std::string_view ansiPath);
// The native path back in the ANSI code page, separators kept as "/".
AnsiString FromNativePath(std::string_view nativePath);

}  // namespace platform::posix
