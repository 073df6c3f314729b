// Threads and locks of the network layer over the Win32 API.

#include <windows.h>

#include "net/sync.h"

struct TNetCriticalSection::Impl {
  CRITICAL_SECTION section;
};

TNetCriticalSection::TNetCriticalSection() : impl(std::make_unique<Impl>()) {
  ::InitializeCriticalSection(&impl->section);
}

TNetCriticalSection::~TNetCriticalSection() {
  ::DeleteCriticalSection(&impl->section);
}
void TNetCriticalSection::Enter() {
  ::EnterCriticalSection(&impl->section);
}
void TNetCriticalSection::Leave() {
  ::LeaveCriticalSection(&impl->section);
}

struct TNetWorkerThread::Impl {
  std::function<void()> body;
  HANDLE thread = nullptr;

  static DWORD WINAPI start(void* self) {
    static_cast<Impl*>(self)->body();
    return 0;
  }
};

TNetWorkerThread::TNetWorkerThread(std::function<void()> body) : impl(std::make_unique<Impl>()) {
  impl->body = std::move(body);
  impl->thread = ::CreateThread(nullptr, 0, &Impl::start, impl.get(), 0, nullptr);
  // Without a thread the work runs here, so that it still happens once.
  if (impl->thread == nullptr) impl->body();
}

TNetWorkerThread::~TNetWorkerThread() {
  WaitFor();
}

void TNetWorkerThread::WaitFor() {
  if (impl->thread != nullptr) {
    ::WaitForSingleObject(impl->thread, INFINITE);
    ::CloseHandle(impl->thread);
    impl->thread = nullptr;
  }
}

bool TNetWorkerThread::WaitFor(int milliseconds) {
  if (impl->thread != nullptr &&
      ::WaitForSingleObject(
          impl->thread, static_cast<DWORD>(milliseconds > 0 ? milliseconds : 0)) != WAIT_OBJECT_0)
    return false;
  WaitFor();
  return true;
}

void NetSleep(int milliseconds) {
  if (milliseconds > 0) ::Sleep(static_cast<DWORD>(milliseconds));
}
