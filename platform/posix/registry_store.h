#pragma once
// The registry store on POSIX: under the root's Registry/ folder each root
// key is a folder named after it (HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER ...),
// each key a folder in its parent's folder and each value a file in its
// key's folder holding exactly the value's bytes. The value's type travels
// with the file as the extended attribute "user.qdupdate.type" (its number in
// decimal). Names are found without regard to letter case, as on Windows.
//
// These helpers work on native (UTF-8) folder paths; registry.cpp keeps the
// handles.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ansi_text.h"

namespace platform::posix {

// The folder of a root key (".../Registry/HKEY_LOCAL_MACHINE"), or none for a
// handle that is no root key.
std::optional<std::string> RootKeyFolder(std::uintptr_t rootKey);

// Whether name may be stored as one key or value name: not empty, not "." or
// "..", no "/", "\\" or zero byte, and not one of the store's own temporary
// names.
bool ValidStoreName(std::string_view name);

// The entry of folder whose name equals the ANSI text name without regard to
// case, of the wanted kind (a folder for keys, a regular file for values); an
// entry spelt exactly as asked wins over other spellings. None when absent.
std::optional<std::string> FindEntry(const std::string& folder, std::string_view name,
                                     bool wantFolder);

bool IsFolder(const std::string& path);

// Writes a value file atomically: a temporary file in the same folder gets
// the bytes and the type, is flushed to the disk and renamed over the value.
// Readers see the old value or the new one, never a part. The temporary file
// is removed on every failure. Returns a registry result code.
long WriteValueFile(const std::string& folder, const std::string& fileName, std::uint32_t type,
                    std::string_view data);

// Reads a value file and its type (RegNone when the file system kept none).
long ReadValueFile(const std::string& path, std::uint32_t& type, AnsiString& data);

}  // namespace platform::posix
