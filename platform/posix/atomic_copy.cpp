#include "platform/atomic_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/posix/descriptor_io.h"
#include "platform/posix/native_path.h"

namespace platform {

namespace {

// The replaced file keeps its permissions; a new one is readable by all, as
// files in a system folder are.
mode_t targetMode(const std::string& target) {
  struct stat st;
  if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
  return 0644;
}

}  // namespace

bool CopyFileAtomic(const AnsiString& source, const AnsiString& dest) {
  const std::string from = posix::ToNativePath(source);
  const std::string to = posix::ToNativePath(dest);
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  struct stat st;
  if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(in);
    return false;
  }
  const size_t slash = to.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : to.substr(0, slash);
  const std::string name = slash == std::string::npos ? to : to.substr(slash + 1);
  std::string temp = folder + "/." + name + ".tmp-XXXXXX";
  const int out = ::mkostemp(temp.data(), O_CLOEXEC);
  if (out < 0) {
    ::close(in);
    return false;
  }
  bool ok = posix::CopyAll(in, out) && ::fchmod(out, targetMode(to)) == 0 && ::fsync(out) == 0;
  ::close(in);
  if (::close(out) != 0) ok = false;
  // rename replaces the target in one step, and refuses a target that is a
  // folder; before it, the target is untouched.
  if (ok) ok = ::rename(temp.c_str(), to.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace platform
