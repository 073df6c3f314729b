#include "net/stack.h"

#include <algorithm>

#include "core/format.h"
#include "net/exceptions.h"
#include "net/sync.h"

TNetStack* TheStack = nullptr;

namespace {

// The lock and the count are made on first use, so that components created
// during static initialisation find them ready.
TNetCriticalSection& stackLock() {
  static TNetCriticalSection lock;
  return lock;
}

int32_t stackUsers = 0;
std::unique_ptr<TNetStack> ownedStack;

}  // namespace

void NetStackAddUser() {
  TNetLockGuard guard(stackLock());
  if (stackUsers == 0) {
    // A stack that cannot start raises here, and the component is not
    // counted.
    ownedStack = CreatePlatformStack();
    TheStack = ownedStack.get();
  }
  ++stackUsers;
}

void NetStackRemoveUser() {
  TNetLockGuard guard(stackLock());
  if (stackUsers == 0) return;
  if (--stackUsers == 0) {
    TheStack = nullptr;
    ownedStack.reset();
  }
}

int NetStackUsers() {
  TNetLockGuard guard(stackLock());
  return stackUsers;
}

AnsiString SocketErrorMessage(int code, const AnsiString& text) {
  return Format("Socket Error # %d\r\n%s", {code, text});
}

AnsiString TNetStack::SocketErrorText(int code) {
  struct Entry {
    int code;
    const char* text;
  };
  static const Entry table[] = {
      {10004, "Interrupted system call."},
      {10009, "Bad file number."},
      {10013, "Access denied."},
      {10014, "Bad address."},
      {10022, "Invalid argument."},
      {10024, "Too many open files."},
      {10035, "Operation would block. "},
      {10036, "Operation now in progress."},
      {10037, "Operation already in progress."},
      {10038, "Socket operation on non-socket."},
      {10039, "Destination address required."},
      {10040, "Message too long."},
      {10041, "Protocol wrong type for socket."},
      {10042, "Bad protocol option."},
      {10043, "Protocol not supported."},
      {10044, "Socket type not supported."},
      {10045, "Operation not supported on socket."},
      {10046, "Protocol family not supported."},
      {10047, "Address family not supported by protocol family."},
      {10048, "Address already in use."},
      {10049, "Cannot assign requested address."},
      {10050, "Network is down."},
      {10051, "Network is unreachable."},
      {10052, "Net dropped connection or reset."},
      {10053, "Software caused connection abort."},
      {10054, "Connection reset by peer."},
      {10055, "No buffer space available."},
      {10056, "Socket is already connected."},
      {10057, "Socket is not connected."},
      {10058, "Cannot send or receive after socket is closed."},
      {10059, "Too many references, cannot splice."},
      {10060, "Connection timed out."},
      {10061, "Connection refused."},
      {10062, "Too many levels of symbolic links."},
      {10063, "File name too long."},
      {10064, "Host is down."},
      {10065, "No route to host."},
      {10066, "Directory not empty"},
  };
  for (const Entry& e : table) {
    if (e.code == code) return e.text;
  }
  return AnsiString();
}

bool TNetStack::CheckSocketResult(int result, std::initializer_list<int> tolerated) {
  if (result != NetSocketFailure) return false;
  LastSocketError = LastErrorCode();
  if (std::find(tolerated.begin(), tolerated.end(), LastSocketError) != tolerated.end()) {
    return true;
  }
  RaiseSocketFailure(LastSocketError);
}

void TNetStack::RaiseSocketFailure(int code) {
  throw ENetSocketError(code, SocketErrorMessage(code, SocketErrorText(code)));
}

TNetSocket TNetStack::NewSocket(int type, int protocol) {
  const TNetSocket s = Socket(NetAddressFamilyIPv4, type, protocol);
  if (s == InvalidNetSocket) throw ENetInvalidSocket("Cannot allocate socket.");
  return s;
}

AnsiString TNetStack::ResolveHostAddress(const AnsiString& host) {
  if (SameText(host, "LOCALHOST")) return "127.0.0.1";
  if (IsAddressLiteral(host)) return host;
  TNetIPv4 address;
  if (!GetHostByName(host, address)) CheckSocketResult(NetSocketFailure);
  return FormatAddress(address);
}

bool TNetStack::IsAddressLiteral(const AnsiString& text) {
  return TryParseAddressLiteral(text).has_value();
}

TNetIPv4 TNetStack::ParseAddressLiteral(const AnsiString& text) {
  const std::optional<TNetIPv4> address = TryParseAddressLiteral(text);
  if (!address) throw ENetInvalidIPAddress(Format("%s is not a valid IP address.", {text}));
  return *address;
}

int TNetStack::Select(std::span<const TNetSocket> readSet, int milliseconds) {
  if (readSet.size() > NetSocketSetSize) throw ENetStackSetSizeExceeded("Set Size Exceeded.");
  return SelectReadable(readSet, milliseconds);
}
