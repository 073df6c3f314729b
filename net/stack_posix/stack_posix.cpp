// The socket stack over BSD sockets. Failures keep their errno (or resolver
// failure) translated to the Windows Sockets code of the same meaning, so the
// user sees the same codes and texts on every platform.

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "net/exceptions.h"
#include "net/stack.h"

namespace {

// The code of the last failed call, kept per thread like errno.
thread_local int lastError = 0;

int windowsCodeOfErrno(int e) {
  switch (e) {
    case EINTR:
      return 10004;
    case EBADF:
      return 10009;
    case EACCES:
      return 10013;
    case EPERM:
      return 10013;
    case EFAULT:
      return 10014;
    case EINVAL:
      return 10022;
    case EMFILE:
      return 10024;
    case ENFILE:
      return 10024;
    case EAGAIN:
      return 10035;
    case EINPROGRESS:
      return 10036;
    case EALREADY:
      return 10037;
    case ENOTSOCK:
      return 10038;
    case EDESTADDRREQ:
      return 10039;
    case EMSGSIZE:
      return 10040;
    case EPROTOTYPE:
      return 10041;
    case ENOPROTOOPT:
      return 10042;
    case EPROTONOSUPPORT:
      return 10043;
    case ESOCKTNOSUPPORT:
      return 10044;
    case EOPNOTSUPP:
      return 10045;
    case EPFNOSUPPORT:
      return 10046;
    case EAFNOSUPPORT:
      return 10047;
    case EADDRINUSE:
      return 10048;
    case EADDRNOTAVAIL:
      return 10049;
    case ENETDOWN:
      return 10050;
    case ENETUNREACH:
      return 10051;
    case ENETRESET:
      return 10052;
    case ECONNABORTED:
      return 10053;
    case ECONNRESET:
      return 10054;
    case ENOBUFS:
      return 10055;
    case ENOMEM:
      return 10055;
    case EISCONN:
      return 10056;
    case ENOTCONN:
      return 10057;
    case ESHUTDOWN:
      return 10058;
    // Writing to a connection that is closed for writing.
    case EPIPE:
      return 10058;
    case ETOOMANYREFS:
      return 10059;
    case ETIMEDOUT:
      return 10060;
    case ECONNREFUSED:
      return 10061;
    case ELOOP:
      return 10062;
    case ENAMETOOLONG:
      return 10063;
    case EHOSTDOWN:
      return 10064;
    case EHOSTUNREACH:
      return 10065;
    case ENOTEMPTY:
      return 10066;
    default:
      return e == 0 ? 0 : 10000 + e;
  }
}

int windowsCodeOfResolverFailure(int failure) {
  switch (failure) {
    case EAI_NONAME:
      return 11001;  // host not found
    case EAI_AGAIN:
      return 11002;  // try again
    case EAI_FAIL:
      return 11003;  // no recovery
#ifdef EAI_NODATA
    case EAI_NODATA:
      return 11004;  // no data record
#endif
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY:
      return 11004;
#endif
    case EAI_MEMORY:
      return 10055;
    case EAI_SYSTEM:
      return windowsCodeOfErrno(errno);
    default:
      return 11003;
  }
}

int failed() {
  lastError = windowsCodeOfErrno(errno);
  return NetSocketFailure;
}

sockaddr_in toSockaddr(const TNetIPv4& address, uint16_t port) {
  sockaddr_in sa;
  std::memset(&sa, 0, sizeof sa);
  sa.sin_family = AF_INET;
  sa.sin_port = htons(port);
  std::memcpy(&sa.sin_addr, address.data(), 4);
  return sa;
}

void fromSockaddr(const sockaddr_in& sa, TNetIPv4& address, uint16_t& port) {
  std::memcpy(address.data(), &sa.sin_addr, 4);
  port = ntohs(sa.sin_port);
}

int fd(TNetSocket s) {
  return static_cast<int>(s);
}

class TNetStackPosix : public TNetStack {
 public:
  TNetSocket Socket(int family, int type, int protocol) override {
    const int s = ::socket(family == NetAddressFamilyIPv4 ? AF_INET : family,
                           (type == NetSocketStream ? SOCK_STREAM : type) | SOCK_CLOEXEC, protocol);
    if (s < 0) {
      failed();
      return InvalidNetSocket;
    }
    return s;
  }

  int Bind(TNetSocket s, const TNetIPv4& address, uint16_t port) override {
    const sockaddr_in sa = toSockaddr(address, port);
    return ::bind(fd(s), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0 ? 0 : failed();
  }

  int Connect(TNetSocket s, int family, const TNetIPv4& address, uint16_t port) override {
    sockaddr_in sa = toSockaddr(address, port);
    sa.sin_family = static_cast<sa_family_t>(family == NetAddressFamilyIPv4 ? AF_INET : family);
    if (::connect(fd(s), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0) return 0;
    if (errno != EINTR) return failed();
    // An interrupted connect goes on in the background; wait for its outcome.
    pollfd p{fd(s), POLLOUT, 0};
    while (::poll(&p, 1, -1) < 0) {
      if (errno != EINTR) return failed();
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd(s), SOL_SOCKET, SO_ERROR, &error, &length) != 0) return failed();
    if (error == 0) return 0;
    errno = error;
    return failed();
  }

  int Listen(TNetSocket s, int backlog) override {
    return ::listen(fd(s), backlog) == 0 ? 0 : failed();
  }

  TNetSocket Accept(TNetSocket s, TNetIPv4& address, uint16_t& port) override {
    sockaddr_in sa;
    for (;;) {
      socklen_t length = sizeof sa;
      const int client = ::accept4(fd(s), reinterpret_cast<sockaddr*>(&sa), &length, SOCK_CLOEXEC);
      if (client >= 0) {
        fromSockaddr(sa, address, port);
        return client;
      }
      if (errno != EINTR) {
        failed();
        return InvalidNetSocket;
      }
    }
  }

  int Shutdown(TNetSocket s, int how) override {
    const int native = how == 0 ? SHUT_RD : how == 1 ? SHUT_WR : SHUT_RDWR;
    return ::shutdown(fd(s), native) == 0 ? 0 : failed();
  }

  int CloseSocket(TNetSocket s) override { return ::close(fd(s)) == 0 ? 0 : failed(); }

  int Recv(TNetSocket s, void* buffer, int length, int flags) override {
    for (;;) {
      const ssize_t n = ::recv(fd(s), buffer, static_cast<size_t>(length), flags);
      if (n >= 0) return static_cast<int>(n);
      if (errno != EINTR) return failed();
    }
  }

  int Send(TNetSocket s, const void* buffer, int length, int flags) override {
    // MSG_NOSIGNAL: a closed peer is reported as a failed send, not by a
    // signal that would end the process.
    for (;;) {
      const ssize_t n = ::send(fd(s), buffer, static_cast<size_t>(length), flags | MSG_NOSIGNAL);
      if (n >= 0) return static_cast<int>(n);
      if (errno != EINTR) return failed();
    }
  }

  // poll stands in for select: it has no limit on descriptor numbers, and a
  // socket with an error or a hang-up counts as readable, as with select.
  int SelectReadable(std::span<const TNetSocket> sockets, int milliseconds) override {
    std::vector<pollfd> set;
    set.reserve(sockets.size());
    for (TNetSocket s : sockets) set.push_back(pollfd{fd(s), POLLIN, 0});
    const int timeout = milliseconds == NetNoTimeLimit ? -1 : milliseconds;
    const int n = ::poll(set.data(), set.size(), timeout);
    return n < 0 ? failed() : n;
  }

  int SetSockOpt(TNetSocket s, int level, int name, const void* value, int length) override {
    if (level == NetSocketLevel && name == NetOptionLinger) {
      if (length < static_cast<int>(sizeof(TNetLinger))) return invalidArgument();
      TNetLinger given;
      std::memcpy(&given, value, sizeof given);
      const linger native{given.OnOff, given.Seconds};
      return ::setsockopt(fd(s), SOL_SOCKET, SO_LINGER, &native, sizeof native) == 0 ? 0 : failed();
    }
    int nativeLevel, nativeName;
    if (!nativeOption(level, name, nativeLevel, nativeName)) return invalidArgument();
    return ::setsockopt(fd(s), nativeLevel, nativeName, value, static_cast<socklen_t>(length)) == 0
               ? 0
               : failed();
  }

  int GetSockOpt(TNetSocket s, int level, int name, void* value, int& length) override {
    int nativeLevel, nativeName;
    if (!nativeOption(level, name, nativeLevel, nativeName)) return invalidArgument();
    socklen_t size = static_cast<socklen_t>(length);
    if (::getsockopt(fd(s), nativeLevel, nativeName, value, &size) != 0) return failed();
    length = static_cast<int>(size);
    return 0;
  }

  int GetSockName(TNetSocket s, TNetIPv4& address, uint16_t& port) override {
    sockaddr_in sa;
    socklen_t length = sizeof sa;
    if (::getsockname(fd(s), reinterpret_cast<sockaddr*>(&sa), &length) != 0) return failed();
    fromSockaddr(sa, address, port);
    return 0;
  }

  int GetPeerName(TNetSocket s, TNetIPv4& address, uint16_t& port) override {
    sockaddr_in sa;
    socklen_t length = sizeof sa;
    if (::getpeername(fd(s), reinterpret_cast<sockaddr*>(&sa), &length) != 0) return failed();
    fromSockaddr(sa, address, port);
    return 0;
  }

  bool GetHostByName(const AnsiString& host, TNetIPv4& address) override {
    addrinfo hints;
    std::memset(&hints, 0, sizeof hints);
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int failure = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (failure != 0 || found == nullptr) {
      lastError = failure != 0 ? windowsCodeOfResolverFailure(failure) : 11001;
      return false;
    }
    fromSockaddrAddress(*reinterpret_cast<const sockaddr_in*>(found->ai_addr), address);
    ::freeaddrinfo(found);
    return true;
  }

  int LastErrorCode() override { return lastError; }

  AnsiString SocketErrorText(int code) override {
    return code == 11001 ? AnsiString("Host not found.") : TNetStack::SocketErrorText(code);
  }

 private:
  // The 4-byte options this layer passes through, from their Windows
  // Sockets numbers to the native ones.
  static bool nativeOption(int level, int name, int& nativeLevel, int& nativeName) {
    if (level == NetProtocolTCP && name == NetOptionNoDelay) {
      nativeLevel = IPPROTO_TCP;
      nativeName = TCP_NODELAY;
      return true;
    }
    if (level == NetSocketLevel && name == NetOptionReuseAddress) {
      nativeLevel = SOL_SOCKET;
      nativeName = SO_REUSEADDR;
      return true;
    }
    return false;
  }

  static int invalidArgument() {
    errno = EINVAL;
    return failed();
  }

  static void fromSockaddrAddress(const sockaddr_in& sa, TNetIPv4& address) {
    std::memcpy(address.data(), &sa.sin_addr, 4);
  }
};

}  // namespace

std::unique_ptr<TNetStack> CreatePlatformStack() {
  return std::make_unique<TNetStackPosix>();
}
