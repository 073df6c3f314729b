#pragma once
// The registry accessor in the shape of a settings file: the file name is a
// key path opened (and made when missing) under HKEY_CURRENT_USER, sections
// are its subkeys and idents their values.

#include "core/registry_access.h"

class TRegIniFile : public TRegistry {
 public:
  // Opens fileName under HKEY_CURRENT_USER with full access, creating it
  // when missing. Whether that worked is not reported: a later write tells.
  explicit TRegIniFile(const AnsiString& fileName);
  TRegIniFile(const AnsiString& fileName, std::uint32_t access);

  const AnsiString& FileName() const { return fileName; }

  using TRegistry::WriteString;
  // Writes value as the REG_SZ value ident of the subkey section of the open
  // key, making the subkey when missing; an empty section is the open key
  // itself, opened again for the write. Raises ERegistryException "Failed to
  // create key %s" with the section when that key cannot be had (no key is
  // open, or it cannot be opened or made), and "Failed to set data for '%s'"
  // with ident when the value cannot be written.
  void WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value);

 private:
  AnsiString fileName;
};
