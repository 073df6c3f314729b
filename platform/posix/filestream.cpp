#include "platform/filestream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/posix/native_path.h"

namespace platform {

FileHandleValue FileOpen(const AnsiString& path, uint16_t mode) {
  static const int access[] = {O_RDONLY, O_WRONLY, O_RDWR};
  if ((mode & 3) > 2) return InvalidFileHandle;
  const int fd = ::open(posix::ToNativePath(path).c_str(), access[mode & 3] | O_CLOEXEC);
  if (fd < 0) return InvalidFileHandle;
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return InvalidFileHandle;
  }
  return fd;
}

FileHandleValue FileCreate(const AnsiString& path) {
  const int fd = ::open(posix::ToNativePath(path).c_str(),
                        O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
  return fd < 0 ? InvalidFileHandle : fd;
}

void FileClose(FileHandleValue handle) {
  if (handle != InvalidFileHandle) ::close(static_cast<int>(handle));
}

int64_t FileRead(FileHandleValue handle, void* buffer, int64_t count) {
  for (;;) {
    const ssize_t n = ::read(static_cast<int>(handle), buffer, static_cast<size_t>(count));
    if (n < 0 && errno == EINTR) continue;
    return n;
  }
}

int64_t FileWrite(FileHandleValue handle, const void* buffer, int64_t count) {
  // A regular file may take fewer bytes than given; keep writing until all
  // are written or the call fails, so a short count means a real failure.
  const char* p = static_cast<const char*>(buffer);
  int64_t done = 0;
  while (done < count) {
    const ssize_t n =
        ::write(static_cast<int>(handle), p + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return done > 0 ? done : -1;
    done += n;
  }
  return done;
}

int64_t FileSeek(FileHandleValue handle, int64_t offset, int origin) {
  static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  if (origin < 0 || origin > 2) return -1;
  return ::lseek(static_cast<int>(handle), static_cast<off_t>(offset), whence[origin]);
}

bool FileTruncate(FileHandleValue handle, int64_t size) {
  return ::ftruncate(static_cast<int>(handle), static_cast<off_t>(size)) == 0;
}

bool FileFlush(FileHandleValue handle) {
  return ::fsync(static_cast<int>(handle)) == 0;
}

int64_t FileGetSize(FileHandleValue handle) {
  struct stat st;
  if (::fstat(static_cast<int>(handle), &st) != 0) return -1;
  return st.st_size;
}

bool FileSetDosDateTime(FileHandleValue handle, uint16_t dosDate, uint16_t dosTime) {
  struct tm local = {};
  local.tm_year = (dosDate >> 9) + 80;
  local.tm_mon = (dosDate >> 5 & 0x0F) - 1;
  local.tm_mday = dosDate & 0x1F;
  local.tm_hour = dosTime >> 11;
  local.tm_min = dosTime >> 5 & 0x3F;
  local.tm_sec = (dosTime & 0x1F) * 2;
  local.tm_isdst = -1;
  if (local.tm_mon < 0 || local.tm_mon > 11 || local.tm_mday < 1 || local.tm_hour > 23 ||
      local.tm_min > 59 || local.tm_sec > 59)
    return false;
  const time_t when = ::mktime(&local);
  if (when == static_cast<time_t>(-1)) return false;
  struct timespec times[2] = {};
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = when;
  return ::futimens(static_cast<int>(handle), times) == 0;
}

}  // namespace platform
