#include "core/reg_ini_file.h"

#include "core/format.h"

TRegIniFile::TRegIniFile(const AnsiString& fileName)
    : TRegIniFile(fileName, platform::KeyAllAccess) {}

TRegIniFile::TRegIniFile(const AnsiString& fileName, std::uint32_t access)
    : TRegistry(access), fileName(fileName) {
  OpenKey(fileName, true);
}

void TRegIniFile::WriteString(const AnsiString& section, const AnsiString& ident,
                              const AnsiString& value) {
  // With no key open the section would be made under the root key itself;
  // that is never the caller's key, so the write stops here instead.
  platform::RegKey key = platform::NoRegKey;
  if (CurrentKey() == platform::NoRegKey ||
      platform::RegCreateKeyEx(CurrentKey(), section, Access, key) != platform::RegSuccess)
    throw ERegistryException(Format("Failed to create key %s", {section}));
  try {
    PutData(key, ident, platform::RegSz, StringData(value));
  } catch (...) {
    platform::RegCloseKey(key);
    throw;
  }
  platform::RegCloseKey(key);
}
