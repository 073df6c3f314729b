#pragma once
// A TCP connection with a target address and the operation that connects to
// it.

#include "net/tcp_connection.h"

class TNetTCPClient : public TNetTCPConnection {
 public:
  TNetTCPClient() = default;

  AnsiString BoundIP;
  int BoundPort = 0;
  int BoundPortMin = 0;
  int BoundPortMax = 0;
  TNotifyEvent OnConnected;

  const AnsiString& Host() const { return host; }
  int Port() const { return port; }
  virtual void SetHost(const AnsiString& value) { host = value; }
  virtual void SetPort(int value) { port = value; }

  virtual void NotifyConnected();
  // Creates a socket handler of its own when none is set (ENetAlreadyConnected
  // "Already connected." when the set one is open), connects to Host and Port
  // and reports stConnected. A failure drops the socket and passes on.
  virtual void OpenConnection(int timeout = -1);
  // Connects, reads until the peer closes and closes.
  virtual AnsiString ConnectAndReadAll();

 private:
  AnsiString host;
  int port = 0;
};
