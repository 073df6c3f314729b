#pragma once
// Files addressed by ANSI-code-page paths written Windows-style. On POSIX the
// layer accepts "\\" as a separator and converts names to UTF-8 at the file
// system boundary.

#include <cstdint>

#include "core/ansistring.h"

namespace platform {

bool FileExists(const AnsiString& path);
bool DirectoryExists(const AnsiString& path);
// The whole content of a file; raises EFOpenError "Cannot open file %s".
AnsiString ReadFile(const AnsiString& path);
// Replaces the file's content; raises EFCreateError "Cannot create file %s".
void WriteFile(const AnsiString& path, std::string_view data);
bool DeleteFile(const AnsiString& path);
// Copies source to dest; with failIfExists an existing dest is kept and the
// call fails.
bool CopyFile(const AnsiString& source, const AnsiString& dest, bool failIfExists);

}  // namespace platform
