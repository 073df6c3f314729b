#include "platform/fileattr.h"

#include <sys/stat.h>

#include <ctime>

#include "platform/posix/native_path.h"

namespace platform {

using posix::ToNativePath;

namespace {

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

}  // namespace

int64_t GetFileAttributes(const AnsiString& path) {
  struct stat st;
  if (::stat(ToNativePath(path).c_str(), &st) != 0) return -1;
  uint32_t attributes = 0;
  if (S_ISDIR(st.st_mode)) attributes |= faDirectory;
  if ((st.st_mode & kWriteBits) == 0) attributes |= faReadOnly;
  return attributes;
}

bool SetFileAttributes(const AnsiString& path, uint32_t attributes) {
  // Only the read-only attribute has a meaning here. A symbolic link is left
  // alone: changing it would change the file it points to.
  const std::string native = ToNativePath(path);
  struct stat st;
  if (::lstat(native.c_str(), &st) != 0 || S_ISLNK(st.st_mode)) return false;
  mode_t mode = st.st_mode & 07777;
  if (attributes & faReadOnly)
    mode &= ~kWriteBits;
  else if ((mode & kWriteBits) == 0)
    mode |= S_IWUSR;
  return mode == (st.st_mode & 07777) || ::chmod(native.c_str(), mode) == 0;
}

bool CreateDirectory(const AnsiString& path) {
  return ::mkdir(ToNativePath(path).c_str(), 0777) == 0;
}

int32_t FileAge(const AnsiString& path) {
  struct stat st;
  if (::stat(ToNativePath(path).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
  struct tm local;
  if (!::localtime_r(&st.st_mtime, &local)) return -1;
  // MS-DOS dates cover 1980 to 2107; times outside are pinned to the ends.
  if (local.tm_year < 80) return (0 << 9 | 1 << 5 | 1) << 16;
  if (local.tm_year > 207) return static_cast<int32_t>(0xFF9FBF7Du);
  const uint32_t date =
      static_cast<uint32_t>((local.tm_year - 80) << 9 | (local.tm_mon + 1) << 5 | local.tm_mday);
  const uint32_t time =
      static_cast<uint32_t>(local.tm_hour << 11 | local.tm_min << 5 | local.tm_sec / 2);
  return static_cast<int32_t>(date << 16 | time);
}

}  // namespace platform
