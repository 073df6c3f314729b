#pragma once
// The client side of one TCP connection: received bytes gather in an input
// queue, from which lines, counted blocks and everything up to the peer's
// close are read with time limits; writes go straight out or through a send
// queue. Reading raises the read work events as bytes leave the queue,
// writing the write work events as bytes are sent.
//
// Time limits are milliseconds: -1 stands for ReadTimeout, -2 for no limit,
// and a ReadTimeout of 0 means no limit.

#include <cstdint>
#include <memory>

#include "core/ansistring.h"
#include "core/streams.h"
#include "net/buffers.h"
#include "net/component.h"
#include "net/io_handler.h"

enum TNetMaxLineAction { maException = 0, maSplit = 1 };

class TNetTCPConnection : public TNetComponent {
 public:
  TNetTCPConnection();
  ~TNetTCPConnection() override;

  bool ASCIIFilter = false;
  // The last receive or send returned 0.
  bool PeerClosed = false;
  TNetMaxLineAction MaxLineAction = maException;
  int MaxLineLength = 16384;
  TNotifyEvent OnDisconnected;
  // Outcome of the last ReadLine.
  bool LineWasSplit = false;
  bool LineTimedOut = false;
  int ReadTimeout = 0;
  int RecvBufferSize = 32768;
  int SendBufferSize = 32768;

  TNetManagedBuffer& InputQueue() { return inputQueue; }
  TNetIOHandler* IOHandler() const { return ioHandler; }
  // Frees an owned handler first; a handler owned elsewhere is only
  // referred to, and forgotten when it is destroyed.
  void SetIOHandler(TNetIOHandler* handler);
  bool OwnsIOHandler() const { return ownedHandler != nullptr; }

  virtual void NotifyDisconnected();
  // Empties the input queue and clears PeerClosed.
  virtual void ResetReadState();
  virtual AnsiString ReadUntilClosed();
  // Drops a socket whose peer closed and tells whether the connection is
  // gone; with raise, a gone connection raises ENetConnClosedGracefully
  // unless bytes are queued and ignoreBuffer is false.
  virtual bool DetectDisconnect(bool raise, bool ignoreBuffer);
  // One receive with a 1 ms limit: notices a peer that closed a kept-alive
  // connection.
  virtual void ProbeForClose(bool raise);
  virtual bool IsConnected();
  virtual void CloseConnection();
  virtual void DropSocket();
  // Appends at most one receive to the input queue; the byte count, 0, or -1
  // when the time limit passed without raiseOnTimeout.
  virtual int ReceiveChunk(bool raiseIfDisconnected, int timeout, bool raiseOnTimeout);
  // An empty terminator means LF; a maximum of -1 means MaxLineLength and 0
  // no limit. An LF terminator also drops a CR before it.
  virtual AnsiString ReadLine(const AnsiString& terminator = "\n", int timeout = -1,
                              int maxLength = -1);
  virtual void SendText(const AnsiString& text);
  virtual void SendLine(const AnsiString& text);
  virtual void SendStream(TStream& stream, bool wholeStream = true, bool writeByteCount = false,
                          int64_t size = 0);

  void ReadExact(void* block, int64_t count);
  int32_t ReadInt32(bool convert = true);
  // A count of -1 without untilClosed reads the count first as a 32-bit
  // number in network order.
  void ReadIntoStream(TStream& stream, int64_t byteCount = -1, bool untilClosed = false);
  AnsiString TakeBufferedText();
  void SendBytes(const void* block, int64_t count, bool sendNow = false);
  void SendInt32(int32_t value, bool convert = true);
  // Collects sends until FinishSendBuffer; a positive threshold flushes that
  // many bytes whenever the queue holds at least as many.
  void StartSendBuffer(int threshold = -1);
  void FinishSendBuffer();
  void FlushSendBuffer(int64_t count = -1);
  void DiscardSendBuffer();
  bool SendBuffering() const { return sendQueue != nullptr; }

 protected:
  void Notification(TNetComponent* gone) override;
  // Creates the socket handler that OpenConnection uses when none is set.
  void EnsureOwnedIOHandler();

 private:
  int effectiveTimeout(int timeout) const;
  // Receives until the input queue holds at least count bytes; raises as
  // ReadExact does when the time limit passes or the peer closes first.
  void fillInputQueue(int64_t count);
  void releaseIOHandler();

  TNetManagedBuffer inputQueue;
  TNetIOHandler* ioHandler = nullptr;
  std::unique_ptr<TNetIOHandler> ownedHandler;
  std::unique_ptr<TNetSimpleBuffer> sendQueue;
  int sendThreshold = -1;
};
