#pragma once
// What a connection talks to: an I/O handler that opens, connects, waits for
// data, receives, sends and closes. TNetIOHandlerSocket does it with one
// IPv4 TCP socket.

#include <memory>

#include "core/ansistring.h"
#include "net/component.h"
#include "net/socket_handle.h"

class TNetIOHandler : public TNetComponent {
 public:
  // Used only by servers; nothing here.
  virtual void NoticeAccepted() {}
  virtual void CloseHandler() { HandlerActive = false; }
  virtual void ConnectTo(const AnsiString& /*host*/, int /*port*/, const AnsiString& /*boundIP*/,
                         int /*boundPort*/, int /*boundPortMin*/, int /*boundPortMax*/,
                         int /*timeout*/) {}
  virtual bool IsOpen() { return HandlerActive; }
  virtual void OpenHandler() { HandlerActive = true; }
  virtual bool WaitReadable(int milliseconds) = 0;
  virtual int ReceiveInto(void* buffer, int length) = 0;
  virtual int SendFrom(const void* buffer, int length) = 0;

  bool HandlerActive = false;
};

class TNetIOHandlerSocket : public TNetIOHandler {
 public:
  TNetIOHandlerSocket() = default;
  ~TNetIOHandlerSocket() override;

  void CloseHandler() override;
  // Creates and binds the socket, resolves the host (status stResolving for
  // a name), sets the Nagle flag, reports stConnecting with the address and
  // connects: blocking for a time limit of -1 or 0, otherwise on a second
  // thread that is given up after the limit (ENetConnectTimeout).
  void ConnectTo(const AnsiString& host, int port, const AnsiString& boundIP, int boundPort,
                 int boundPortMin, int boundPortMax, int timeout) override;
  bool IsOpen() override;
  void OpenHandler() override;
  bool WaitReadable(int milliseconds) override;
  // Both raise ENetClosedSocket "Disconnected." without an open socket and
  // otherwise return the raw result of one receive or send.
  int ReceiveInto(void* buffer, int length) override;
  int SendFrom(const void* buffer, int length) override;

  TNetSocketHandle* SocketHandle() { return socketHandle.get(); }

  // True leaves Nagle's algorithm on (TCP_NODELAY 0).
  bool UseNagle = true;

 private:
  void ApplyNagle();
  void ConnectWithTimeout(int timeout);

  std::unique_ptr<TNetSocketHandle> socketHandle;
};
