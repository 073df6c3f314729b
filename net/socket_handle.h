#pragma once
// One IPv4 socket with its local and peer address, over TheStack.

#include <cstdint>

#include "core/ansistring.h"
#include "net/stack.h"

class TNetSocketHandle {
 public:
  TNetSocketHandle() = default;
  virtual ~TNetSocketHandle();
  TNetSocketHandle(const TNetSocketHandle&) = delete;
  TNetSocketHandle& operator=(const TNetSocketHandle&) = delete;

  // Copies the local and the peer address of another handle.
  void Assign(const TNetSocketHandle& other);

  // Closes any socket held, then makes a new one.
  void CreateSocket(int type, int protocol);
  // Shuts the sending side down and closes the socket, ignoring both results.
  virtual void ShutdownAndClose();
  // Binds to IP and Port, or to a port of ClientPortMin..ClientPortMax when
  // Port is 0 and both ends of the range are set.
  void BindLocal();
  bool TryBindOnce();
  bool BindInPortRange(int lowest, int highest);
  void SetPeerAddress(const AnsiString& address, int port);
  // connect's own result, 0 or -1; the addresses are refreshed on success.
  virtual int ConnectToPeer(int family);
  // True when the socket becomes readable within the time limit
  // (milliseconds, or NetNoTimeLimit); raises ENetConnClosedGracefully when
  // there is no socket.
  bool WaitReadable(int milliseconds);
  int ReceiveRaw(void* buffer, int length, int flags = 0);
  int SendRaw(const void* buffer, int length, int flags = 0);
  void RefreshLocalAddress();
  void RefreshPeerAddress();
  void ClearAddresses(bool includeLocal);

  TNetSocket SocketValue = InvalidNetSocket;
  bool HasSocket = false;
  AnsiString IP;
  int Port = 0;
  AnsiString RemoteIP;
  int RemotePort = 0;
  int ClientPortMin = 0;
  int ClientPortMax = 0;
};
