#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/native_path.h"

namespace platform {

using posix::ToNativePath;

bool FileExists(const AnsiString& path) {
  struct stat st;
  return ::stat(ToNativePath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const AnsiString& path) {
  struct stat st;
  return ::stat(ToNativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

FileFailure ReadFile(const AnsiString& path, AnsiString& data) {
  const int fd = ::open(ToNativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st;
  if (fd < 0 || ::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    if (fd >= 0) ::close(fd);
    return FileFailure::CannotOpen;
  }
  data.clear();
  data.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return FileFailure::CannotRead;
    }
    if (n == 0) break;
    data.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return FileFailure::None;
}

static bool writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

FileFailure WriteFile(const AnsiString& path, std::string_view data) {
  const int fd = ::open(ToNativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return FileFailure::CannotCreate;
  const bool ok = writeAll(fd, data);
  if (::close(fd) != 0 || !ok) return FileFailure::CannotWrite;
  return FileFailure::None;
}

bool DeleteFile(const AnsiString& path) {
  struct stat st;
  const std::string native = ToNativePath(path);
  if (::lstat(native.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return ::unlink(native.c_str()) == 0;
}

bool CopyFile(const AnsiString& source, const AnsiString& dest, bool failIfExists) {
  const int in = ::open(ToNativePath(source).c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (failIfExists ? O_EXCL : O_TRUNC);
  const int out = ::open(ToNativePath(dest).c_str(), flags, 0666);
  if (out < 0) {
    ::close(in);
    return false;
  }
  bool ok = true;
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(in, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    if (!writeAll(out, std::string_view(buf, static_cast<size_t>(n)))) {
      ok = false;
      break;
    }
  }
  ::close(in);
  if (::close(out) != 0) ok = false;
  return ok;
}

}  // namespace platform
