#include "net/socket_handle.h"

#include "core/format.h"
#include "net/exceptions.h"

namespace {

constexpr int addressInUse = 10048;

uint16_t portValue(int port) {
  return static_cast<uint16_t>(port);
}

}  // namespace

TNetSocketHandle::~TNetSocketHandle() {
  ShutdownAndClose();
}

void TNetSocketHandle::Assign(const TNetSocketHandle& other) {
  IP = other.IP;
  Port = other.Port;
  RemoteIP = other.RemoteIP;
  RemotePort = other.RemotePort;
}

void TNetSocketHandle::CreateSocket(int type, int protocol) {
  ShutdownAndClose();
  SocketValue = TheStack->NewSocket(type, protocol);
  HasSocket = true;
}

void TNetSocketHandle::ShutdownAndClose() {
  if (!HasSocket) return;
  HasSocket = false;
  TheStack->Shutdown(SocketValue, NetShutdownSend);
  TheStack->CloseSocket(SocketValue);
}

void TNetSocketHandle::BindLocal() {
  if (Port != 0 || ClientPortMin == 0 || ClientPortMax == 0) {
    if (!TryBindOnce()) {
      throw ENetCouldNotBindSocket("Could not bind socket. Address and port are already in use.");
    }
    return;
  }
  if (ClientPortMax < ClientPortMin) {
    throw ENetInvalidPortRange(
        Format("Invalid Port Range (%d - %d)", {ClientPortMin, ClientPortMax}));
  }
  if (!BindInPortRange(ClientPortMin, ClientPortMax)) {
    throw ENetCanNotBindPortInRange(
        Format("Can not bind in port range (%d - %d)", {ClientPortMin, ClientPortMax}));
  }
}

bool TNetSocketHandle::TryBindOnce() {
  const TNetIPv4 address = IP.empty() ? TNetIPv4{0, 0, 0, 0} : TheStack->ParseAddressLiteral(IP);
  if (TheStack->CheckSocketResult(TheStack->Bind(SocketValue, address, portValue(Port)),
                                  {addressInUse})) {
    return false;
  }
  RefreshLocalAddress();
  return true;
}

bool TNetSocketHandle::BindInPortRange(int lowest, int highest) {
  if (lowest > highest) return false;
  for (int port = highest; port >= lowest; --port) {
    Port = port;
    if (TryBindOnce()) return true;
  }
  return false;
}

void TNetSocketHandle::SetPeerAddress(const AnsiString& address, int port) {
  RemoteIP = address;
  RemotePort = port;
}

int TNetSocketHandle::ConnectToPeer(int family) {
  const int result = TheStack->Connect(SocketValue, family, TheStack->ParseAddressLiteral(RemoteIP),
                                       portValue(RemotePort));
  if (result != NetSocketFailure) {
    RefreshLocalAddress();
    RefreshPeerAddress();
  }
  return result;
}

bool TNetSocketHandle::WaitReadable(int milliseconds) {
  if (!HasSocket) throw ENetConnClosedGracefully("Connection Closed Gracefully.");
  const TNetSocket set[] = {SocketValue};
  return TheStack->Select(set, milliseconds) == 1;
}

int TNetSocketHandle::ReceiveRaw(void* buffer, int length, int flags) {
  return TheStack->Recv(SocketValue, buffer, length, flags);
}

int TNetSocketHandle::SendRaw(const void* buffer, int length, int flags) {
  return TheStack->Send(SocketValue, buffer, length, flags);
}

void TNetSocketHandle::RefreshLocalAddress() {
  TNetIPv4 address{};
  uint16_t port = 0;
  TheStack->CheckSocketResult(TheStack->GetSockName(SocketValue, address, port));
  IP = TheStack->FormatAddress(address);
  Port = port;
}

void TNetSocketHandle::RefreshPeerAddress() {
  TNetIPv4 address{};
  uint16_t port = 0;
  TheStack->CheckSocketResult(TheStack->GetPeerName(SocketValue, address, port));
  RemoteIP = TheStack->FormatAddress(address);
  RemotePort = port;
}

void TNetSocketHandle::ClearAddresses(bool includeLocal) {
  HasSocket = false;
  SocketValue = InvalidNetSocket;
  RemoteIP.clear();
  RemotePort = 0;
  if (includeLocal) {
    IP.clear();
    Port = 0;
  }
}
