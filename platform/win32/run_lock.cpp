#include "platform/run_lock.h"

#include <windows.h>

namespace platform {

namespace {

class MutexLock : public RunLock {
 public:
  explicit MutexLock(HANDLE mutex) : mutex(mutex) {}
  ~MutexLock() override {
    ReleaseMutex(mutex);
    CloseHandle(mutex);
  }

 private:
  HANDLE mutex;
};

}  // namespace

std::unique_ptr<RunLock> TryLockFolder(const std::string& folder) {
  // A mutex name may not hold a backslash outside its namespace prefix, and
  // the same folder may be spelt in either case.
  std::string name = "Global\\qdupdate-";
  for (char c : folder) {
    if (c == '\\' || c == '/' || c == ':') c = '_';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    name += c;
  }
  HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
  if (mutex == nullptr) return nullptr;
  const DWORD wait = WaitForSingleObject(mutex, 0);
  if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) {
    CloseHandle(mutex);
    return nullptr;
  }
  return std::make_unique<MutexLock>(mutex);
}

StdErrorKind StdErrorConnection() {
  const HANDLE h = GetStdHandle(STD_ERROR_HANDLE);
  if (h == nullptr || h == INVALID_HANDLE_VALUE) return StdErrorKind::Other;
  switch (GetFileType(h)) {
    case FILE_TYPE_CHAR:
      return StdErrorKind::Terminal;
    case FILE_TYPE_PIPE:
      return StdErrorKind::Pipe;
    default:
      return StdErrorKind::Other;
  }
}

}  // namespace platform
