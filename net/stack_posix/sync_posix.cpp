// Threads and locks of the network layer over the standard library.

#include <chrono>
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
};

TNetWorkerThread::TNetWorkerThread(std::function<void()> body) : impl(std::make_unique<Impl>()) {
  impl->thread = std::thread(std::move(body));
}

TNetWorkerThread::~TNetWorkerThread() {
  WaitFor();
}

void TNetWorkerThread::WaitFor() {
  if (impl->thread.joinable()) impl->thread.join();
}

void NetSleep(int milliseconds) {
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
