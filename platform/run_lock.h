#pragma once
// A lock that one process at a time holds for a working folder. It belongs
// to the process: when the process ends, in any way, the system releases it,
// so a killed run never leaves a stale lock behind.

#include <memory>
#include <string>

namespace platform {

class RunLock {
 public:
  virtual ~RunLock() = default;
};

// The lock for folder when no other process holds it, else null. On Linux it
// is an advisory lock on the open file "qdupdate.lock" in the folder; on
// Windows a named mutex whose name is made from the folder's path.
std::unique_ptr<RunLock> TryLockFolder(const std::string& folder);

// What standard error is connected to.
enum class StdErrorKind { Terminal, Pipe, Other };
StdErrorKind StdErrorConnection();

}  // namespace platform
