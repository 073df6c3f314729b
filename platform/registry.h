#pragma once
// The registry calls the updater makes: create, open, write a value, close.
// On Windows each is the Win32 call of the same name; on POSIX the keys are
// folders and the values files under the root's Registry/ folder. Names are
// ANSI-code-page texts; subkey paths use "\\" between their parts.
//
// Every call returns a Win32 error code, RegSuccess when it worked.

#include <cstdint>
#include <string_view>

#include "platform/ansi_text.h"

namespace platform {

// A registry key handle; the root keys have the fixed values Windows gives
// them, every other handle comes from RegCreateKeyEx or RegOpenKeyEx.
using RegKey = std::uintptr_t;

// Windows defines its root handles as 32-bit negative numbers widened to a
// pointer, so they are sign-extended on 64-bit systems.
constexpr RegKey RootKeyValue(std::uint32_t value) {
  return static_cast<RegKey>(static_cast<std::intptr_t>(static_cast<std::int32_t>(value)));
}
constexpr RegKey HkeyClassesRoot = RootKeyValue(0x80000000u);
constexpr RegKey HkeyCurrentUser = RootKeyValue(0x80000001u);
constexpr RegKey HkeyLocalMachine = RootKeyValue(0x80000002u);
constexpr RegKey HkeyUsers = RootKeyValue(0x80000003u);
constexpr RegKey NoRegKey = 0;

// Access rights, as Windows numbers them.
constexpr std::uint32_t KeyQueryValue = 0x0001;
constexpr std::uint32_t KeySetValue = 0x0002;
constexpr std::uint32_t KeyCreateSubKey = 0x0004;
constexpr std::uint32_t KeyRead = 0x20019;
constexpr std::uint32_t KeyWrite = 0x20006;
constexpr std::uint32_t KeyAllAccess = 0xF003F;

// Value types.
constexpr std::uint32_t RegNone = 0;
constexpr std::uint32_t RegSz = 1;
constexpr std::uint32_t RegBinary = 3;
constexpr std::uint32_t RegDword = 4;

// Result codes.
constexpr long RegSuccess = 0;
constexpr long RegFileNotFound = 2;
constexpr long RegAccessDenied = 5;
constexpr long RegInvalidHandle = 6;
constexpr long RegInvalidParameter = 87;
constexpr long RegMoreData = 234;
constexpr long RegKeyDeleted = 1018;

// Opens subKey under parent, creating the missing keys of the path; an empty
// subKey opens parent itself again. created, when given, tells whether the
// last key of the path was made by this call.
long RegCreateKeyEx(RegKey parent, std::string_view subKey, std::uint32_t access, RegKey& result,
                    bool* created = nullptr);
// Opens an existing subKey under parent; an empty subKey opens parent again.
long RegOpenKeyEx(RegKey parent, std::string_view subKey, std::uint32_t access, RegKey& result);
// Writes the value's type and exactly the bytes of data.
long RegSetValueEx(RegKey key, std::string_view name, std::uint32_t type, std::string_view data);
// Reads a value's type and bytes. Not used by the updater; it lets tools and
// tests read back what was written through the same layer.
long RegQueryValueEx(RegKey key, std::string_view name, std::uint32_t& type, AnsiString& data);
// Closing a root key does nothing and succeeds.
long RegCloseKey(RegKey key);

}  // namespace platform
