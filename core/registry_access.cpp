#include "core/registry_access.h"

#include "core/format.h"

TRegistry::TRegistry() : TRegistry(platform::KeyAllAccess) {}

TRegistry::TRegistry(std::uint32_t access) : Access(access) {}

TRegistry::~TRegistry() {
  CloseKey();
}

void TRegistry::SetRootKey(platform::RegKey root) {
  CloseKey();
  rootKey = root;
}

bool TRegistry::OpenKey(const AnsiString& key, bool canCreate) {
  const bool fromRoot = !key.empty() && key[0] == '\\';
  const bool relative = !fromRoot && currentKey != platform::NoRegKey;
  const std::string_view subKey = fromRoot ? std::string_view(key).substr(1) : key;
  const platform::RegKey parent = relative ? currentKey : rootKey;
  platform::RegKey opened = platform::NoRegKey;
  const long rc = canCreate ? platform::RegCreateKeyEx(parent, subKey, Access, opened)
                            : platform::RegOpenKeyEx(parent, subKey, Access, opened);
  if (rc != platform::RegSuccess) return false;
  AnsiString path(subKey);
  if (relative) path = subKey.empty() ? currentPath : currentPath + "\\" + path;
  CloseKey();
  currentKey = opened;
  currentPath = std::move(path);
  return true;
}

void TRegistry::CloseKey() {
  if (currentKey != platform::NoRegKey) platform::RegCloseKey(currentKey);
  currentKey = platform::NoRegKey;
  currentPath.clear();
}

void TRegistry::WriteString(const AnsiString& name, const AnsiString& value) {
  // Without an open key the write would land in the root key itself, which
  // is not where any caller means it to go.
  if (currentKey == platform::NoRegKey)
    throw ERegistryException(Format("Failed to set data for '%s'", {name}));
  PutData(currentKey, name, platform::RegSz, StringData(value));
}

void TRegistry::PutData(platform::RegKey key, const AnsiString& name, std::uint32_t type,
                        std::string_view data) {
  if (platform::RegSetValueEx(key, name, type, data) != platform::RegSuccess)
    throw ERegistryException(Format("Failed to set data for '%s'", {name}));
}

AnsiString TRegistry::StringData(const AnsiString& value) {
  AnsiString data = value;
  data.push_back('\0');
  return data;
}
