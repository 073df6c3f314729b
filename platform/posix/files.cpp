#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/descriptor_io.h"
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
  if (posix::ReadAll(fd, data, data.max_size()) != posix::ReadEnd::Complete) {
    ::close(fd);
    return FileFailure::CannotRead;
  }
  ::close(fd);
  return FileFailure::None;
}

FileFailure WriteFile(const AnsiString& path, std::string_view data) {
  const int fd = ::open(ToNativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return FileFailure::CannotCreate;
  const bool ok = posix::WriteAll(fd, data);
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
  bool ok = posix::CopyAll(in, out);
  ::close(in);
  if (::close(out) != 0) ok = false;
  return ok;
}

}  // namespace platform
