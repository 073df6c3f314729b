#include "platform/posix/registry_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/codepage.h"
#include "platform/posix/descriptor_io.h"
#include "platform/posix/native_path.h"
#include "platform/registry.h"

namespace platform::posix {

namespace {

constexpr const char* kTypeAttribute = "user.qdupdate.type";
// Temporary value files begin with this; no key or value may be so named.
constexpr std::string_view kTempPrefix = ".qdreg-tmp-";
// A value file is read whole; one larger than this is refused rather than
// read into memory, as no value of this program comes near it.
constexpr size_t kMaxValueBytes = 1 << 20;

// The rename of a value is durable only once its folder is on the disk too.
void syncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

long errorCode(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      return RegFileNotFound;
    case EINVAL:
    case ENAMETOOLONG:
      return RegInvalidParameter;
    default:
      return RegAccessDenied;
  }
}

}  // namespace

std::optional<std::string> RootKeyFolder(std::uintptr_t rootKey) {
  const char* name = nullptr;
  if (rootKey == HkeyClassesRoot) name = "HKEY_CLASSES_ROOT";
  if (rootKey == HkeyCurrentUser) name = "HKEY_CURRENT_USER";
  if (rootKey == HkeyLocalMachine) name = "HKEY_LOCAL_MACHINE";
  if (rootKey == HkeyUsers) name = "HKEY_USERS";
  if (!name) return std::nullopt;
  return RootDir() + "/Registry/" + name;
}

bool ValidStoreName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  if (name.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos) return false;
  return name.substr(0, kTempPrefix.size()) != kTempPrefix;
}

bool IsFolder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::string> FindEntry(const std::string& folder, std::string_view name,
                                     bool wantFolder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return std::nullopt;
  const std::string exact = AnsiToUtf8(name);
  std::optional<std::string> found;
  while (const dirent* e = ::readdir(dir)) {
    const std::string entry = e->d_name;
    if (entry == "." || entry == "..") continue;
    if (AnsiCompareText(Utf8ToAnsi(entry), name) != 0) continue;
    struct stat st;
    if (::lstat((folder + "/" + entry).c_str(), &st) != 0) continue;
    if (wantFolder ? !S_ISDIR(st.st_mode) : !S_ISREG(st.st_mode)) continue;
    // readdir's order is arbitrary; the exact spelling, then the smallest
    // name, keeps the choice the same from run to run.
    if (entry == exact) {
      found = entry;
      break;
    }
    if (!found || entry < *found) found = entry;
  }
  ::closedir(dir);
  if (!found) return std::nullopt;
  return folder + "/" + *found;
}

long WriteValueFile(const std::string& folder, const std::string& fileName, std::uint32_t type,
                    std::string_view data) {
  std::string temp = folder + "/" + std::string(kTempPrefix) + "XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return errorCode(errno);
  // The type goes on the temporary file so that the rename replaces bytes
  // and type together. A file system without user attributes keeps the bytes
  // only.
  const std::string typeText = std::to_string(type);
  const bool ok = ::fchmod(fd, 0644) == 0 && WriteAll(fd, data) &&
                  (::fsetxattr(fd, kTypeAttribute, typeText.data(), typeText.size(), 0) == 0 ||
                   errno == ENOTSUP) &&
                  ::fsync(fd) == 0;
  const int writeErrno = errno;
  if (::close(fd) != 0 || !ok) {
    ::unlink(temp.c_str());
    return errorCode(ok ? errno : writeErrno);
  }
  if (::rename(temp.c_str(), (folder + "/" + fileName).c_str()) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    return errorCode(err);
  }
  syncFolder(folder);
  return RegSuccess;
}

long ReadValueFile(const std::string& path, std::uint32_t& type, AnsiString& data) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errorCode(errno);
  AnsiString bytes;
  const ReadEnd end = ReadAll(fd, bytes, kMaxValueBytes);
  if (end != ReadEnd::Complete) {
    const int err = errno;
    ::close(fd);
    return end == ReadEnd::TooLarge ? RegMoreData : errorCode(err);
  }
  char typeText[16] = {};
  const ssize_t t = ::fgetxattr(fd, kTypeAttribute, typeText, sizeof typeText - 1);
  ::close(fd);
  type = t > 0 ? static_cast<std::uint32_t>(std::strtoul(typeText, nullptr, 10)) : RegNone;
  data = std::move(bytes);
  return RegSuccess;
}

}  // namespace platform::posix
