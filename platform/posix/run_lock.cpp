#include "platform/run_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

class FileLock : public RunLock {
 public:
  explicit FileLock(int fd) : fd(fd) {}
  ~FileLock() override { ::close(fd); }

 private:
  int fd;
};

}  // namespace

std::unique_ptr<RunLock> TryLockFolder(const std::string& folder) {
  const std::string path = folder + "/qdupdate.lock";
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<FileLock>(fd);
}

StdErrorKind StdErrorConnection() {
  if (::isatty(STDERR_FILENO)) return StdErrorKind::Terminal;
  struct stat st {};
  if (::fstat(STDERR_FILENO, &st) == 0 && S_ISFIFO(st.st_mode)) return StdErrorKind::Pipe;
  return StdErrorKind::Other;
}

}  // namespace platform
