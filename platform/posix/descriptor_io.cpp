#include "platform/posix/descriptor_io.h"

#include <unistd.h>

#include <cerrno>

namespace platform::posix {

namespace {

constexpr size_t kBlockSize = 65536;

// One read, repeated while it is interrupted.
ssize_t ReadSome(int fd, char* buffer, size_t size) {
  for (;;) {
    const ssize_t n = ::read(fd, buffer, size);
    if (n >= 0 || errno != EINTR) return n;
  }
}

}  // namespace

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

ReadEnd ReadAll(int fd, std::string& data, size_t limit) {
  char buffer[kBlockSize];
  for (;;) {
    const ssize_t n = ReadSome(fd, buffer, sizeof buffer);
    if (n < 0) return ReadEnd::Failed;
    if (n == 0) return ReadEnd::Complete;
    data.append(buffer, static_cast<size_t>(n));
    if (data.size() > limit) return ReadEnd::TooLarge;
  }
}

bool CopyAll(int in, int out) {
  char buffer[kBlockSize];
  for (;;) {
    const ssize_t n = ReadSome(in, buffer, sizeof buffer);
    if (n < 0) return false;
    if (n == 0) return true;
    if (!WriteAll(out, std::string_view(buffer, static_cast<size_t>(n)))) return false;
  }
}

}  // namespace platform::posix
