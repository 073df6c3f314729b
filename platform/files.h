#pragma once
// Files addressed by ANSI-code-page paths written Windows-style. On POSIX the
// layer accepts "\\" as a separator and converts names to UTF-8 at the file
// system boundary.

#include <cstdint>
#include <string_view>

#include "platform/ansi_text.h"

namespace platform {

bool FileExists(const AnsiString& path);
bool DirectoryExists(const AnsiString& path);

// What went wrong with a whole-file read or write; the runtime above turns
// each into its exception (core/file_text.h).
enum class FileFailure { None, CannotOpen, CannotRead, CannotCreate, CannotWrite };
// Reads the whole content of a file into content.
FileFailure ReadFile(const AnsiString& path, AnsiString& content);
// Replaces the file's content.
FileFailure WriteFile(const AnsiString& path, std::string_view data);
bool DeleteFile(const AnsiString& path);
// Copies source to dest; with failIfExists an existing dest is kept and the
// call fails.
bool CopyFile(const AnsiString& source, const AnsiString& dest, bool failIfExists);

}  // namespace platform
