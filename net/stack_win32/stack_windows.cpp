// The socket stack over Windows Sockets 2, reached through the run-time
// loaded function slots of ws2_loader.

#include <winsock2.h>

#include <cstring>

#include "net/exceptions.h"
#include "net/stack.h"
#include "net/stack_win32/ws2_loader.h"

namespace {

// Set once WSAStartup has succeeded in this process; never cleared.
bool stackStarted = false;

template <typename Function>
Function* fn(TSocketSlot slot) {
  return SocketFunction<Function>(slot);
}

SOCKET toSocket(TNetSocket s) {
  return static_cast<SOCKET>(s);
}

sockaddr_in toSockaddr(int family, const TNetIPv4& address, uint16_t port) {
  sockaddr_in sa;
  std::memset(&sa, 0, sizeof sa);
  sa.sin_family = static_cast<short>(family);
  sa.sin_port = fn<decltype(::htons)>(slotHtons)(port);
  std::memcpy(&sa.sin_addr, address.data(), 4);
  return sa;
}

void fromSockaddr(const sockaddr_in& sa, TNetIPv4& address, uint16_t& port) {
  std::memcpy(address.data(), &sa.sin_addr, 4);
  port = fn<decltype(::ntohs)>(slotNtohs)(sa.sin_port);
}

class TNetStackWindows : public TNetStack {
 public:
  TNetStackWindows() {
    if (!stackStarted) {
      WSADATA data;
      if (LoadSocketLibrary(0x0202, &data) == -1) {
        throw ENetStackInitializationFailed("Winsock Initialization Error.");
      }
      stackStarted = true;
    }
  }

  TNetSocket Socket(int family, int type, int protocol) override {
    const SOCKET s = fn<decltype(::socket)>(slotSocket)(family, type, protocol);
    return s == INVALID_SOCKET ? InvalidNetSocket : static_cast<TNetSocket>(s);
  }

  int Bind(TNetSocket s, const TNetIPv4& address, uint16_t port) override {
    const sockaddr_in sa = toSockaddr(AF_INET, address, port);
    return fn<decltype(::bind)>(slotBind)(toSocket(s), reinterpret_cast<const sockaddr*>(&sa),
                                          sizeof sa);
  }

  int Connect(TNetSocket s, int family, const TNetIPv4& address, uint16_t port) override {
    const sockaddr_in sa = toSockaddr(family, address, port);
    return fn<decltype(::connect)>(slotConnect)(toSocket(s), reinterpret_cast<const sockaddr*>(&sa),
                                                sizeof sa);
  }

  int Listen(TNetSocket s, int backlog) override {
    return fn<decltype(::listen)>(slotListen)(toSocket(s), backlog);
  }

  TNetSocket Accept(TNetSocket s, TNetIPv4& address, uint16_t& port) override {
    sockaddr_in sa;
    int length = sizeof sa;
    const SOCKET client =
        fn<decltype(::accept)>(slotAccept)(toSocket(s), reinterpret_cast<sockaddr*>(&sa), &length);
    if (client == INVALID_SOCKET) return InvalidNetSocket;
    fromSockaddr(sa, address, port);
    return static_cast<TNetSocket>(client);
  }

  int Shutdown(TNetSocket s, int how) override {
    return fn<decltype(::shutdown)>(slotShutdown)(toSocket(s), how);
  }

  int CloseSocket(TNetSocket s) override {
    return fn<decltype(::closesocket)>(slotCloseSocket)(toSocket(s));
  }

  int Recv(TNetSocket s, void* buffer, int length, int flags) override {
    return fn<decltype(::recv)>(slotRecv)(toSocket(s), static_cast<char*>(buffer), length, flags);
  }

  int Send(TNetSocket s, const void* buffer, int length, int flags) override {
    return fn<decltype(::send)>(slotSend)(toSocket(s), static_cast<const char*>(buffer), length,
                                          flags);
  }

  // The set is built by hand: the library's set macros would call one of
  // its functions directly.
  int SelectReadable(std::span<const TNetSocket> sockets, int milliseconds) override {
    fd_set set;
    set.fd_count = 0;
    for (TNetSocket s : sockets) {
      if (set.fd_count < FD_SETSIZE) set.fd_array[set.fd_count++] = toSocket(s);
    }
    timeval limit;
    timeval* wait = nullptr;
    if (milliseconds != NetNoTimeLimit) {
      limit.tv_sec = milliseconds / 1000;
      limit.tv_usec = (milliseconds % 1000) * 1000;
      wait = &limit;
    }
    return fn<decltype(::select)>(slotSelect)(0, &set, nullptr, nullptr, wait);
  }

  int SetSockOpt(TNetSocket s, int level, int name, const void* value, int length) override {
    return fn<decltype(::setsockopt)>(slotSetSockOpt)(toSocket(s), level, name,
                                                      static_cast<const char*>(value), length);
  }

  int GetSockOpt(TNetSocket s, int level, int name, void* value, int& length) override {
    return fn<decltype(::getsockopt)>(slotGetSockOpt)(toSocket(s), level, name,
                                                      static_cast<char*>(value), &length);
  }

  int GetSockName(TNetSocket s, TNetIPv4& address, uint16_t& port) override {
    sockaddr_in sa;
    int length = sizeof sa;
    const int result = fn<decltype(::getsockname)>(slotGetSockName)(
        toSocket(s), reinterpret_cast<sockaddr*>(&sa), &length);
    if (result == 0) fromSockaddr(sa, address, port);
    return result;
  }

  int GetPeerName(TNetSocket s, TNetIPv4& address, uint16_t& port) override {
    sockaddr_in sa;
    int length = sizeof sa;
    const int result = fn<decltype(::getpeername)>(slotGetPeerName)(
        toSocket(s), reinterpret_cast<sockaddr*>(&sa), &length);
    if (result == 0) fromSockaddr(sa, address, port);
    return result;
  }

  bool GetHostByName(const AnsiString& host, TNetIPv4& address) override {
    const hostent* found = fn<decltype(::gethostbyname)>(slotGetHostByName)(host.c_str());
    if (found == nullptr || found->h_addr_list == nullptr || found->h_addr_list[0] == nullptr ||
        found->h_length < 4) {
      return false;
    }
    std::memcpy(address.data(), found->h_addr_list[0], 4);
    return true;
  }

  int LastErrorCode() override { return fn<decltype(::WSAGetLastError)>(slotWSAGetLastError)(); }

  AnsiString SocketErrorText(int code) override {
    return code == WSAHOST_NOT_FOUND ? AnsiString("Host not found.")
                                     : TNetStack::SocketErrorText(code);
  }
};

// At process end the library is cleaned up once, when it was started, and
// then freed.
struct ShutdownAtExit {
  ~ShutdownAtExit() {
    if (stackStarted && SocketLibraryLoaded()) {
      try {
        fn<decltype(::WSACleanup)>(slotWSACleanup)();
      } catch (...) {
      }
    }
    UnloadSocketLibrary();
  }
} shutdownAtExit;

}  // namespace

std::unique_ptr<TNetStack> CreatePlatformStack() {
  return std::make_unique<TNetStackWindows>();
}
