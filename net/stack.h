#pragma once
// The socket stack: one process-wide object (TheStack) that wraps the
// system's socket calls, reports their failures with the Windows Sockets
// error codes and texts on every platform, and resolves host names. Its life
// follows the count of network components (NetStackAddUser and
// NetStackRemoveUser, called by TNetComponent).

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>

#include "core/ansistring.h"
#include "net/address.h"

// A socket of the system; -1 is no socket.
using TNetSocket = intptr_t;
constexpr TNetSocket InvalidNetSocket = -1;

constexpr int NetAddressFamilyIPv4 = 2;        // AF_INET
constexpr int NetSocketStream = 1;             // SOCK_STREAM
constexpr int NetProtocolTCP = 6;              // IPPROTO_TCP
constexpr int NetOptionNoDelay = 1;            // TCP_NODELAY
constexpr int NetShutdownSend = 1;             // SD_SEND
constexpr int NetShutdownBoth = 2;             // SD_BOTH
constexpr int NetSocketLevel = 0xFFFF;         // SOL_SOCKET
constexpr int NetOptionReuseAddress = 0x0004;  // SO_REUSEADDR, a 4-byte flag
constexpr int NetOptionLinger = 0x0080;        // SO_LINGER, a TNetLinger
constexpr int NetSocketFailure = -1;           // SOCKET_ERROR
constexpr int NetNoTimeLimit = -2;

// The linger option in the Windows Sockets layout: with OnOff set and
// Seconds 0, closing the socket resets the connection.
struct TNetLinger {
  uint16_t OnOff;
  uint16_t Seconds;
};

// The largest number of sockets one select set holds.
constexpr size_t NetSocketSetSize = 64;

class TNetStack {
 public:
  TNetStack() = default;
  virtual ~TNetStack() = default;
  TNetStack(const TNetStack&) = delete;
  TNetStack& operator=(const TNetStack&) = delete;

  // The system's socket calls. Failures give -1 (InvalidNetSocket for
  // Socket) and leave their code for LastErrorCode; nothing here raises.
  virtual TNetSocket Socket(int family, int type, int protocol) = 0;
  virtual int Bind(TNetSocket s, const TNetIPv4& address, uint16_t port) = 0;
  virtual int Connect(TNetSocket s, int family, const TNetIPv4& address, uint16_t port) = 0;
  virtual int Listen(TNetSocket s, int backlog) = 0;
  virtual TNetSocket Accept(TNetSocket s, TNetIPv4& address, uint16_t& port) = 0;
  virtual int Shutdown(TNetSocket s, int how) = 0;
  virtual int CloseSocket(TNetSocket s) = 0;
  virtual int Recv(TNetSocket s, void* buffer, int length, int flags) = 0;
  virtual int Send(TNetSocket s, const void* buffer, int length, int flags) = 0;
  // The count of sockets of the set that are readable, 0 when the time limit
  // (milliseconds, or NetNoTimeLimit) passed, -1 on failure.
  virtual int SelectReadable(std::span<const TNetSocket> sockets, int milliseconds) = 0;
  virtual int SetSockOpt(TNetSocket s, int level, int name, const void* value, int length) = 0;
  virtual int GetSockOpt(TNetSocket s, int level, int name, void* value, int& length) = 0;
  virtual int GetSockName(TNetSocket s, TNetIPv4& address, uint16_t& port) = 0;
  virtual int GetPeerName(TNetSocket s, TNetIPv4& address, uint16_t& port) = 0;
  // The first IPv4 address of a host name; false when the lookup fails.
  virtual bool GetHostByName(const AnsiString& host, TNetIPv4& address) = 0;
  // The Windows Sockets code of the last failed call on this thread.
  virtual int LastErrorCode() = 0;
  // The text of an error code; empty for a code without one.
  virtual AnsiString SocketErrorText(int code);

  // The code that CheckSocketResult last read.
  int LastSocketError = 0;

  // False at once for a result other than -1. For -1 it reads the error
  // code; a code in tolerated gives true, any other raises ENetSocketError.
  bool CheckSocketResult(int result, std::initializer_list<int> tolerated = {});
  [[noreturn]] void RaiseSocketFailure(int code);
  // Raises ENetInvalidSocket "Cannot allocate socket." when socket fails.
  TNetSocket NewSocket(int type, int protocol);
  // LOCALHOST in any case gives 127.0.0.1 and an address literal itself,
  // both without a lookup; any other name is looked up.
  AnsiString ResolveHostAddress(const AnsiString& host);
  bool IsAddressLiteral(const AnsiString& text);
  // SelectReadable for a set of at most NetSocketSetSize sockets; a larger set
  // raises ENetStackSetSizeExceeded "Set Size Exceeded.".
  int Select(std::span<const TNetSocket> readSet, int milliseconds);
  // Raises ENetInvalidIPAddress "%s is not a valid IP address.".
  TNetIPv4 ParseAddressLiteral(const AnsiString& text);
  AnsiString FormatAddress(const TNetIPv4& address) { return FormatAddressBytes(address); }
};

// The process-wide stack; it exists while at least one network component
// does.
extern TNetStack* TheStack;

void NetStackAddUser();
void NetStackRemoveUser();
int NetStackUsers();

// Made by the platform's stack (net/stack_posix or net/stack_win32).
std::unique_ptr<TNetStack> CreatePlatformStack();

// The message of an ENetSocketError: "Socket Error # %d\r\n%s".
AnsiString SocketErrorMessage(int code, const AnsiString& text);
