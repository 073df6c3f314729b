// Threads and locks of the network layer over the standard library.

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "net/sync.h"

struct TNetCriticalSection::Impl {
  std::recursive_mutex mutex;
};

TNetCriticalSection::TNetCriticalSection() : impl(std::make_unique<Impl>()) {}
TNetCriticalSection::~TNetCriticalSection() = default;
void TNetCriticalSection::Enter() {
  impl->mutex.lock();
}
void TNetCriticalSection::Leave() {
  impl->mutex.unlock();
}

struct TNetWorkerThread::Impl {
  std::thread thread;
  // Set when the body has returned, so that a waiter with a limit can wake
  // at once instead of at the limit.
  std::mutex mutex;
  std::condition_variable ended;
  bool done = false;
};

TNetWorkerThread::TNetWorkerThread(std::function<void()> body) : impl(std::make_unique<Impl>()) {
  Impl* state = impl.get();
  impl->thread = std::thread([state, body = std::move(body)] {
    body();
    std::lock_guard<std::mutex> lock(state->mutex);
    state->done = true;
    state->ended.notify_all();
  });
}

TNetWorkerThread::~TNetWorkerThread() {
  WaitFor();
}

void TNetWorkerThread::WaitFor() {
  if (impl->thread.joinable()) impl->thread.join();
}

bool TNetWorkerThread::WaitFor(int milliseconds) {
  {
    std::unique_lock<std::mutex> lock(impl->mutex);
    if (!impl->ended.wait_for(lock, std::chrono::milliseconds(std::max(milliseconds, 0)),
                              [this] { return impl->done; }))
      return false;
  }
  WaitFor();
  return true;
}

void NetSleep(int milliseconds) {
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
