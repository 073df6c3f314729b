#include "platform/registry.h"

#include "platform/win32/windows_api.h"

namespace platform {

namespace {

// The handles are the system's own; the root keys' values are the same
// numbers that windows.h gives them.
HKEY toHkey(RegKey key) {
  return reinterpret_cast<HKEY>(key);
}

// The Win32 calls take zero-terminated names; a name with a zero byte inside
// could not reach them whole.
bool terminable(std::string_view text) {
  return text.find('\0') == std::string_view::npos;
}

}  // namespace

long RegCreateKeyEx(RegKey parent, std::string_view subKey, std::uint32_t access, RegKey& result,
                    bool* created) {
  result = NoRegKey;
  if (created) *created = false;
  if (!terminable(subKey)) return RegInvalidParameter;
  const std::string name(subKey);
  HKEY key = nullptr;
  DWORD disposition = 0;
  const LONG rc = ::RegCreateKeyExA(toHkey(parent), name.c_str(), 0, nullptr,
                                    REG_OPTION_NON_VOLATILE, access, nullptr, &key, &disposition);
  if (rc != ERROR_SUCCESS) return rc;
  result = reinterpret_cast<RegKey>(key);
  if (created) *created = disposition == REG_CREATED_NEW_KEY;
  return RegSuccess;
}

long RegOpenKeyEx(RegKey parent, std::string_view subKey, std::uint32_t access, RegKey& result) {
  result = NoRegKey;
  if (!terminable(subKey)) return RegInvalidParameter;
  const std::string name(subKey);
  HKEY key = nullptr;
  const LONG rc = ::RegOpenKeyExA(toHkey(parent), name.c_str(), 0, access, &key);
  if (rc != ERROR_SUCCESS) return rc;
  result = reinterpret_cast<RegKey>(key);
  return RegSuccess;
}

long RegSetValueEx(RegKey key, std::string_view name, std::uint32_t type, std::string_view data) {
  if (!terminable(name) || (static_cast<std::uint64_t>(data.size()) >> 32) != 0)
    return RegInvalidParameter;
  const std::string valueName(name);
  return ::RegSetValueExA(toHkey(key), valueName.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size()));
}

long RegQueryValueEx(RegKey key, std::string_view name, std::uint32_t& type, AnsiString& data) {
  if (!terminable(name)) return RegInvalidParameter;
  const std::string valueName(name);
  // The size is asked first; a value that grows in between is asked again.
  for (;;) {
    DWORD valueType = 0;
    DWORD size = 0;
    LONG rc =
        ::RegQueryValueExA(toHkey(key), valueName.c_str(), nullptr, &valueType, nullptr, &size);
    if (rc != ERROR_SUCCESS) return rc;
    AnsiString bytes(size, '\0');
    rc = ::RegQueryValueExA(toHkey(key), valueName.c_str(), nullptr, &valueType,
                            reinterpret_cast<BYTE*>(bytes.data()), &size);
    if (rc == ERROR_MORE_DATA) continue;
    if (rc != ERROR_SUCCESS) return rc;
    bytes.resize(size);
    type = valueType;
    data = std::move(bytes);
    return RegSuccess;
  }
}

long RegCloseKey(RegKey key) {
  if (key == HkeyClassesRoot || key == HkeyCurrentUser || key == HkeyLocalMachine ||
      key == HkeyUsers)
    return RegSuccess;
  return ::RegCloseKey(toHkey(key));
}

}  // namespace platform
