#include "platform/registry.h"

#include <sys/stat.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/codepage.h"
#include "platform/posix/registry_store.h"

namespace platform {

namespace {

using posix::FindEntry;
using posix::IsFolder;
using posix::ValidStoreName;

// What a handle stands for: the key's folder, the root key it lies under and
// the rights it was opened with.
struct KeyEntry {
  std::string folder;
  RegKey root;
  std::uint32_t access;
};

std::mutex tableLock;
std::map<RegKey, KeyEntry> openKeys;
// Handles count up from here, far from the root keys' values.
RegKey nextHandle = 0x1000;

// As on Windows, a key under HKEY_LOCAL_MACHINE is made by an installer,
// never by the program, and the top of that hive holds no values.
bool machineHive(RegKey root) {
  return root == HkeyLocalMachine;
}

// A root key stands for its folder with every right; any other handle must be
// one this layer gave out. Called with tableLock held.
std::optional<KeyEntry> resolve(RegKey key) {
  if (auto folder = posix::RootKeyFolder(key)) return KeyEntry{*folder, key, KeyAllAccess};
  const auto it = openKeys.find(key);
  if (it == openKeys.end()) return std::nullopt;
  return it->second;
}

// The other hives are the user's own; their folders appear on first use.
bool ensureUserHive(const KeyEntry& key) {
  if (machineHive(key.root) || IsFolder(key.folder)) return true;
  const std::string registry = key.folder.substr(0, key.folder.rfind('/'));
  ::mkdir(registry.c_str(), 0755);
  return ::mkdir(key.folder.c_str(), 0755) == 0 || errno == EEXIST;
}

// The parts of a subkey path; none when a part is empty or not storable.
std::optional<std::vector<std::string>> splitPath(std::string_view subKey) {
  std::vector<std::string> parts;
  if (subKey.empty()) return parts;
  for (;;) {
    const size_t cut = subKey.find('\\');
    const std::string_view part = subKey.substr(0, cut);
    if (!ValidStoreName(part)) return std::nullopt;
    parts.emplace_back(part);
    if (cut == std::string_view::npos) return parts;
    subKey.remove_prefix(cut + 1);
  }
}

RegKey addHandle(KeyEntry entry) {
  const RegKey handle = nextHandle;
  nextHandle += 4;
  openKeys.emplace(handle, std::move(entry));
  return handle;
}

long openOrCreate(RegKey parent, std::string_view subKey, std::uint32_t access, RegKey& result,
                  bool create, bool* created) {
  result = NoRegKey;
  if (created) *created = false;
  std::lock_guard<std::mutex> guard(tableLock);
  const auto base = resolve(parent);
  if (!base) return RegInvalidHandle;
  const auto parts = splitPath(subKey);
  if (!parts) return RegInvalidParameter;
  if (parts->empty() && posix::RootKeyFolder(parent)) {
    result = parent;
    return RegSuccess;
  }
  const bool isRoot = posix::RootKeyFolder(parent).has_value();
  if (!isRoot && !IsFolder(base->folder)) return RegKeyDeleted;
  if (create && !ensureUserHive(*base)) return RegAccessDenied;
  std::string folder = base->folder;
  for (const std::string& part : *parts) {
    if (auto found = FindEntry(folder, part, true)) {
      folder = *found;
      continue;
    }
    if (!create) return RegFileNotFound;
    if (machineHive(base->root) || !(base->access & KeyCreateSubKey)) return RegAccessDenied;
    folder += "/" + AnsiToUtf8(part);
    if (::mkdir(folder.c_str(), 0755) != 0) return RegAccessDenied;
    if (created) *created = true;
  }
  if (!IsFolder(folder)) return RegFileNotFound;
  result = addHandle({folder, base->root, access});
  return RegSuccess;
}

}  // namespace

long RegCreateKeyEx(RegKey parent, std::string_view subKey, std::uint32_t access, RegKey& result,
                    bool* created) {
  return openOrCreate(parent, subKey, access, result, true, created);
}

long RegOpenKeyEx(RegKey parent, std::string_view subKey, std::uint32_t access, RegKey& result) {
  return openOrCreate(parent, subKey, access, result, false, nullptr);
}

long RegSetValueEx(RegKey key, std::string_view name, std::uint32_t type, std::string_view data) {
  std::lock_guard<std::mutex> guard(tableLock);
  const auto entry = resolve(key);
  if (!entry) return RegInvalidHandle;
  if (!(entry->access & KeySetValue)) return RegAccessDenied;
  const bool isRoot = posix::RootKeyFolder(key).has_value();
  if (isRoot && machineHive(key)) return RegAccessDenied;
  if (!ValidStoreName(name)) return RegInvalidParameter;
  if (isRoot && !ensureUserHive(*entry)) return RegAccessDenied;
  if (!IsFolder(entry->folder)) return RegKeyDeleted;
  // An existing value keeps the spelling it was created with.
  std::string fileName = AnsiToUtf8(name);
  if (auto found = FindEntry(entry->folder, name, false)) {
    fileName = found->substr(entry->folder.size() + 1);
  } else if (FindEntry(entry->folder, name, true)) {
    // A subkey of the same name holds the place the value's file needs.
    return RegAccessDenied;
  }
  return posix::WriteValueFile(entry->folder, fileName, type, data);
}

long RegQueryValueEx(RegKey key, std::string_view name, std::uint32_t& type, AnsiString& data) {
  std::lock_guard<std::mutex> guard(tableLock);
  const auto entry = resolve(key);
  if (!entry) return RegInvalidHandle;
  if (!(entry->access & KeyQueryValue)) return RegAccessDenied;
  if (!ValidStoreName(name)) return RegFileNotFound;
  const auto found = FindEntry(entry->folder, name, false);
  if (!found) return IsFolder(entry->folder) ? RegFileNotFound : RegKeyDeleted;
  return posix::ReadValueFile(*found, type, data);
}

long RegCloseKey(RegKey key) {
  if (posix::RootKeyFolder(key)) return RegSuccess;
  std::lock_guard<std::mutex> guard(tableLock);
  return openKeys.erase(key) ? RegSuccess : RegInvalidHandle;
}

}  // namespace platform
