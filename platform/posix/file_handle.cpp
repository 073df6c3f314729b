#include "platform/file_handle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/posix/native_path.h"

namespace platform {

bool TFileHandle::Open(const AnsiString& path, TFileOpenMode mode) {
  Close();
  // POSIX has no share modes: the sharing part of a mode is not enforced.
  // A created file never follows a symbolic link left in its place.
  int flags = O_CLOEXEC;
  switch (mode) {
    case TFileOpenMode::ReadDenyNone:
      flags |= O_RDONLY;
      break;
    case TFileOpenMode::ReadWriteDenyWrite:
      flags |= O_RDWR;
      break;
    case TFileOpenMode::CreateExclusive:
      flags |= O_RDWR | O_CREAT | O_TRUNC | O_NOFOLLOW;
      break;
  }
  int fd;
  do fd = ::open(posix::ToNativePath(path).c_str(), flags, 0666);
  while (fd < 0 && errno == EINTR);
  if (fd < 0) return false;
  // A folder opens for reading on POSIX, but it is no file.
  struct stat st;
  if (mode != TFileOpenMode::CreateExclusive && (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))) {
    ::close(fd);
    return false;
  }
  handle = fd;
  return true;
}

void TFileHandle::Close() {
  if (handle != -1) ::close(static_cast<int>(handle));
  handle = -1;
}

int64_t TFileHandle::Read(void* buffer, int64_t count) {
  if (handle == -1 || count < 0) return -1;
  auto* out = static_cast<char*>(buffer);
  int64_t done = 0;
  while (done < count) {
    const ssize_t n =
        ::read(static_cast<int>(handle), out + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return done > 0 ? done : -1;
    if (n == 0) break;
    done += n;
  }
  return done;
}

int64_t TFileHandle::Write(const void* buffer, int64_t count) {
  if (handle == -1 || count < 0) return -1;
  const auto* in = static_cast<const char*>(buffer);
  int64_t done = 0;
  while (done < count) {
    const ssize_t n =
        ::write(static_cast<int>(handle), in + done, static_cast<size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return done > 0 ? done : -1;
    done += n;
  }
  return done;
}

bool TFileHandle::Seek(int64_t position) {
  return handle != -1 && position >= 0 &&
         ::lseek(static_cast<int>(handle), static_cast<off_t>(position), SEEK_SET) == position;
}

int64_t TFileHandle::Size() {
  struct stat st;
  if (handle == -1 || ::fstat(static_cast<int>(handle), &st) != 0) return -1;
  return st.st_size;
}

bool TFileHandle::Flush() {
  return handle != -1 && ::fsync(static_cast<int>(handle)) == 0;
}

bool TFileHandle::SetDosDateTime(uint16_t dosDate, uint16_t dosTime) {
  struct tm local = {};
  local.tm_year = (dosDate >> 9) + 80;
  local.tm_mon = (dosDate >> 5 & 0x0F) - 1;
  local.tm_mday = dosDate & 0x1F;
  local.tm_hour = dosTime >> 11;
  local.tm_min = dosTime >> 5 & 0x3F;
  local.tm_sec = (dosTime & 0x1F) * 2;
  local.tm_isdst = -1;
  if (handle == -1 || local.tm_mon < 0 || local.tm_mon > 11 || local.tm_mday < 1 ||
      local.tm_hour > 23 || local.tm_min > 59 || local.tm_sec > 59)
    return false;
  const time_t when = ::mktime(&local);
  if (when == static_cast<time_t>(-1)) return false;
  struct timespec times[2] = {};
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = when;
  return ::futimens(static_cast<int>(handle), times) == 0;
}

bool CanOpenDenyWrite(const AnsiString& path) {
  TFileHandle probe;
  return probe.Open(path, TFileOpenMode::ReadWriteDenyWrite);
}

}  // namespace platform
