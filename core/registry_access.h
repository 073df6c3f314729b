#pragma once
// The runtime's registry accessor: one root key, at most one open key below
// it, and typed writes into the open key. It stands on the platform's
// registry calls and raises ERegistryException when a write fails.

#include <cstdint>

#include "core/ansistring.h"
#include "core/exceptions.h"
#include "platform/registry.h"

QD_DECLARE_EXCEPTION(ERegistryException, Exception);

class TRegistry {
 public:
  // Root HKEY_CURRENT_USER; keys are opened with Access, full access unless
  // given.
  TRegistry();
  explicit TRegistry(std::uint32_t access);
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;
  virtual ~TRegistry();

  platform::RegKey RootKey() const { return rootKey; }
  // Closes the open key, then switches to the new root.
  void SetRootKey(platform::RegKey root);
  // The open key, or platform::NoRegKey when none is open.
  platform::RegKey CurrentKey() const { return currentKey; }
  // The open key's path from the root, without a leading "\\".
  const AnsiString& CurrentPath() const { return currentPath; }

  // Opens key below the open key, or below the root when none is open or the
  // path begins with "\\"; with canCreate the missing keys of the path are
  // made. On success the new key replaces the open one; on failure the open
  // key stays as it was. Returns whether the key was opened.
  bool OpenKey(const AnsiString& key, bool canCreate);
  void CloseKey();

  // Writes a REG_SZ value into the open key: the text and its terminating
  // zero byte. Raises ERegistryException "Failed to set data for '%s'" with
  // the value's name.
  void WriteString(const AnsiString& name, const AnsiString& value);

  std::uint32_t Access;

 protected:
  // Writes a value into key, raising the accessor's error when it fails.
  static void PutData(platform::RegKey key, const AnsiString& name, std::uint32_t type,
                      std::string_view data);
  // The value data of a REG_SZ: the text and a zero byte.
  static AnsiString StringData(const AnsiString& value);

 private:
  platform::RegKey rootKey = platform::HkeyCurrentUser;
  platform::RegKey currentKey = platform::NoRegKey;
  AnsiString currentPath;
};
