#include "net/io_handler.h"

#include <atomic>

#include "net/exceptions.h"
#include "net/sync.h"

namespace {

// The connect of ConnectWithTimeout, run on its own thread. It touches only
// the socket handle and its own result fields, which the waiting thread reads
// only after the thread has ended.
struct TNetConnectThread {
  explicit TNetConnectThread(TNetSocketHandle& handle) : handle(handle) {}

  void Run() {
    try {
      if (!stopRequested.load()) {
        // Closing the socket from the waiting thread makes a blocked connect
        // fail with one of these two codes.
        TheStack->CheckSocketResult(handle.ConnectToPeer(NetAddressFamilyIPv4), {10009, 10038});
      }
    } catch (const ENetSocketError& e) {
      failed = true;
      errorCode = e.ErrorCode;
      message = e.Message;
    } catch (const Exception& e) {
      failed = true;
      message = e.Message;
    } catch (const std::exception& e) {
      failed = true;
      message = e.what();
    }
  }

  TNetSocketHandle& handle;
  std::atomic<bool> stopRequested{false};
  bool failed = false;
  int errorCode = 0;
  AnsiString message;
};

}  // namespace

TNetIOHandlerSocket::~TNetIOHandlerSocket() {
  CloseHandler();
}

void TNetIOHandlerSocket::CloseHandler() {
  TNetIOHandler::CloseHandler();
  if (socketHandle) socketHandle->ShutdownAndClose();
}

void TNetIOHandlerSocket::OpenHandler() {
  TNetIOHandler::OpenHandler();
  if (!socketHandle) {
    socketHandle = std::make_unique<TNetSocketHandle>();
  } else {
    socketHandle->ClearAddresses(true);
  }
}

bool TNetIOHandlerSocket::IsOpen() {
  return socketHandle && socketHandle->HasSocket;
}

void TNetIOHandlerSocket::ConnectTo(const AnsiString& host, int port, const AnsiString& boundIP,
                                    int boundPort, int boundPortMin, int boundPortMax,
                                    int timeout) {
  if (!socketHandle) socketHandle = std::make_unique<TNetSocketHandle>();
  TNetSocketHandle& h = *socketHandle;
  h.CreateSocket(NetSocketStream, 0);
  h.IP = boundIP;
  h.Port = boundPort;
  h.ClientPortMin = boundPortMin;
  h.ClientPortMax = boundPortMax;
  h.BindLocal();
  // Only a real lookup is reported: LOCALHOST, like an address literal, is
  // resolved without one.
  if (!TheStack->IsAddressLiteral(host) && !SameText(host, "LOCALHOST")) {
    ReportStatus(stResolving, {host});
  }
  h.SetPeerAddress(TheStack->ResolveHostAddress(host), port);
  ApplyNagle();
  ReportStatus(stConnecting, {h.RemoteIP});
  if (timeout == -1 || timeout == 0) {
    TheStack->CheckSocketResult(h.ConnectToPeer(NetAddressFamilyIPv4));
  } else {
    ConnectWithTimeout(timeout);
  }
}

void TNetIOHandlerSocket::ApplyNagle() {
  const int32_t noDelay = UseNagle ? 0 : 1;
  TheStack->CheckSocketResult(TheStack->SetSockOpt(socketHandle->SocketValue, NetProtocolTCP,
                                                   NetOptionNoDelay, &noDelay, sizeof noDelay));
}

void TNetIOHandlerSocket::ConnectWithTimeout(int timeout) {
  TNetConnectThread connect(*socketHandle);
  TNetWorkerThread thread([&connect] { connect.Run(); });
  // The wait ends as soon as the connect does, or at the limit; without a
  // limit it lasts as long as the connect. Waking at the end rather than at
  // the next of regular polls saves up to a poll's length on every
  // connection, which a short exchange would otherwise mostly spend asleep.
  const bool ended = timeout == NetNoTimeLimit ? (thread.WaitFor(), true) : thread.WaitFor(timeout);
  if (!ended) {
    connect.stopRequested.store(true);
    CloseHandler();
    thread.WaitFor();
    throw ENetConnectTimeout("Connect timed out.");
  }
  thread.WaitFor();
  if (connect.failed) {
    if (connect.errorCode != 0) throw ENetSocketError(connect.errorCode, connect.message);
    throw ENetConnectException(connect.message);
  }
}

bool TNetIOHandlerSocket::WaitReadable(int milliseconds) {
  if (!socketHandle) throw ENetConnClosedGracefully("Connection Closed Gracefully.");
  return socketHandle->WaitReadable(milliseconds);
}

int TNetIOHandlerSocket::ReceiveInto(void* buffer, int length) {
  if (!IsOpen()) throw ENetClosedSocket("Disconnected.");
  return socketHandle->ReceiveRaw(buffer, length, 0);
}

int TNetIOHandlerSocket::SendFrom(const void* buffer, int length) {
  if (!IsOpen()) throw ENetClosedSocket("Disconnected.");
  return socketHandle->SendRaw(buffer, length, 0);
}
