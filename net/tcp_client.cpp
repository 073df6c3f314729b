#include "net/tcp_client.h"

#include "net/exceptions.h"

void TNetTCPClient::NotifyConnected() {
  if (OnConnected) OnConnected(this);
}

void TNetTCPClient::OpenConnection(int timeout) {
  if (IOHandler() == nullptr) {
    EnsureOwnedIOHandler();
  } else if (IOHandler()->IsOpen()) {
    throw ENetAlreadyConnected("Already connected.");
  }
  try {
    IOHandler()->OpenHandler();
    ResetReadState();
    IOHandler()->ConnectTo(host, port, BoundIP, BoundPort, BoundPortMin, BoundPortMax, timeout);
    ReportStatus(stConnected, {host});
    NotifyConnected();
  } catch (...) {
    DropSocket();
    throw;
  }
}

AnsiString TNetTCPClient::ConnectAndReadAll() {
  OpenConnection(-1);
  AnsiString text = ReadUntilClosed();
  CloseConnection();
  return text;
}
