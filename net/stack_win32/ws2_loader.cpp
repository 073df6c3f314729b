#include "net/stack_win32/ws2_loader.h"

#include <windows.h>

#include <atomic>

#include "core/format.h"
#include "net/exceptions.h"

namespace {

constexpr int notInitialised = 10093;  // WSANOTINITIALISED

struct Slot {
  const char* name;
  std::atomic<void*> address;
};

Slot slots[socketSlotCount] = {
    {"WSACleanup", nullptr},    {"WSAGetLastError", nullptr},
    {"accept", nullptr},        {"bind", nullptr},
    {"closesocket", nullptr},   {"connect", nullptr},
    {"getpeername", nullptr},   {"getsockname", nullptr},
    {"getsockopt", nullptr},    {"htonl", nullptr},
    {"htons", nullptr},         {"listen", nullptr},
    {"ntohl", nullptr},         {"ntohs", nullptr},
    {"recv", nullptr},          {"select", nullptr},
    {"send", nullptr},          {"setsockopt", nullptr},
    {"shutdown", nullptr},      {"socket", nullptr},
    {"gethostbyname", nullptr},
};

std::atomic<HMODULE> libraryHandle{nullptr};

// The system's text for an error code, without the line break it ends in.
AnsiString systemErrorText(DWORD code) {
  char buffer[512];
  DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0, buffer, sizeof buffer, nullptr);
  while (n > 0 && (buffer[n - 1] == '\r' || buffer[n - 1] == '\n' || buffer[n - 1] == ' ')) --n;
  return AnsiString(buffer, n);
}

[[noreturn]] void raiseStubError(const AnsiString& base, DWORD code) {
  throw ENetWS2StubError(base, static_cast<int>(code),
                         code != 0 ? systemErrorText(code) : AnsiString());
}

void resetSocketFunctions() {
  for (Slot& s : slots) s.address.store(nullptr);
}

}  // namespace

int LoadSocketLibrary(uint16_t version, void* wsaData) {
  if (libraryHandle.load() != nullptr) return 0;
  HMODULE module = ::LoadLibraryA("WS2_32.DLL");
  if (module == nullptr) {
    raiseStubError(Format("Error on loading Winsock2 library (%s)", {"WS2_32.DLL"}),
                   ::GetLastError());
  }
  HMODULE expected = nullptr;
  if (!libraryHandle.compare_exchange_strong(expected, module)) {
    ::FreeLibrary(module);  // another thread loaded it first
    return 0;
  }
  typedef int(WINAPI * Startup)(WORD, void*);
  auto startup =
      reinterpret_cast<Startup>(reinterpret_cast<void*>(::GetProcAddress(module, "WSAStartup")));
  if (startup == nullptr) {
    raiseStubError(Format("Error on call Winsock2 library function %s", {"WSAStartup"}),
                   ::GetLastError());
  }
  return startup(version, wsaData);
}

void* ResolveSocketFunction(TSocketSlot slot) {
  Slot& s = slots[slot];
  void* address = s.address.load();
  if (address != nullptr) return address;
  HMODULE module = libraryHandle.load();
  if (module == nullptr) {
    raiseStubError(Format("Error on call Winsock2 library function %s", {s.name}), notInitialised);
  }
  address = reinterpret_cast<void*>(::GetProcAddress(module, s.name));
  if (address == nullptr) {
    raiseStubError(Format("Error on call Winsock2 library function %s", {s.name}),
                   ::GetLastError());
  }
  s.address.store(address);
  return address;
}

void UnloadSocketLibrary() {
  HMODULE module = libraryHandle.exchange(nullptr);
  if (module != nullptr) {
    ::FreeLibrary(module);
    resetSocketFunctions();
  }
}

bool SocketLibraryLoaded() {
  return libraryHandle.load() != nullptr;
}
