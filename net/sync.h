#pragma once
// The few threading pieces the network layer needs: a lock, a worker thread
// and a sleep. They are implemented by each socket stack, because the Windows
// tool chain offers no standard threads.

#include <functional>
#include <memory>

class TNetCriticalSection {
 public:
  TNetCriticalSection();
  ~TNetCriticalSection();
  TNetCriticalSection(const TNetCriticalSection&) = delete;
  TNetCriticalSection& operator=(const TNetCriticalSection&) = delete;
  void Enter();
  void Leave();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl;
};

// Holds the lock for the life of the guard.
class TNetLockGuard {
 public:
  explicit TNetLockGuard(TNetCriticalSection& section) : section(section) { section.Enter(); }
  ~TNetLockGuard() { section.Leave(); }
  TNetLockGuard(const TNetLockGuard&) = delete;
  TNetLockGuard& operator=(const TNetLockGuard&) = delete;

 private:
  TNetCriticalSection& section;
};

// Runs body on a new thread; WaitFor (also run by the destructor) waits for it
// to end. The body must not let an exception out.
class TNetWorkerThread {
 public:
  explicit TNetWorkerThread(std::function<void()> body);
  ~TNetWorkerThread();
  TNetWorkerThread(const TNetWorkerThread&) = delete;
  TNetWorkerThread& operator=(const TNetWorkerThread&) = delete;
  void WaitFor();
  // Waits at most milliseconds (none when 0 or less) for the thread to end;
  // true when it has ended, and then it has been waited for as by WaitFor.
  bool WaitFor(int milliseconds);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl;
};

void NetSleep(int milliseconds);
