#include "net/tcp_connection.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <limits>
#include <string_view>
#include <vector>

#include "net/exceptions.h"
#include "net/stack.h"

namespace {

// Socket errors that end a receive as a closed connection rather than at once.
constexpr int cannotSendAfterShutdown = 10058;
constexpr int connectionAborted = 10053;
constexpr int connectionReset = 10054;

[[noreturn]] void raiseNotConnected() {
  throw ENetNotConnected("Not Connected");
}

}  // namespace

TNetTCPConnection::TNetTCPConnection() {
  inputQueue.OnConsumed = [this](int64_t count) { ReportWork(wkRead, count); };
}

TNetTCPConnection::~TNetTCPConnection() {
  DropSocket();
  releaseIOHandler();
}

void TNetTCPConnection::SetIOHandler(TNetIOHandler* handler) {
  if (handler == ioHandler) return;
  releaseIOHandler();
  ioHandler = handler;
  if (handler != nullptr) FreeNotification(handler);
}

void TNetTCPConnection::releaseIOHandler() {
  TNetIOHandler* old = ioHandler;
  ioHandler = nullptr;
  if (old != nullptr && old != ownedHandler.get()) RemoveFreeNotification(old);
  ownedHandler.reset();
}

void TNetTCPConnection::EnsureOwnedIOHandler() {
  if (ioHandler != nullptr) return;
  auto handler = std::make_unique<TNetIOHandlerSocket>();
  handler->OnStatus = OnStatus;
  ioHandler = handler.get();
  ownedHandler = std::move(handler);
}

void TNetTCPConnection::Notification(TNetComponent* gone) {
  if (gone == ioHandler) ioHandler = nullptr;
}

int TNetTCPConnection::effectiveTimeout(int timeout) const {
  if (timeout != -1) return timeout;
  return ReadTimeout == 0 ? NetNoTimeLimit : ReadTimeout;
}

void TNetTCPConnection::NotifyDisconnected() {
  if (OnDisconnected) OnDisconnected(this);
}

void TNetTCPConnection::ResetReadState() {
  inputQueue.Clear();
  PeerClosed = false;
}

bool TNetTCPConnection::DetectDisconnect(bool raise, bool ignoreBuffer) {
  bool disconnected = false;
  if (ioHandler != nullptr) {
    if (PeerClosed) {
      if (ioHandler->IsOpen()) {
        DropSocket();
        ReportStatus(stDisconnected);
        NotifyDisconnected();
      }
      disconnected = true;
    } else {
      disconnected = !ioHandler->IsOpen();
    }
  }
  if (disconnected && raise && (inputQueue.Empty() || ignoreBuffer)) {
    throw ENetConnClosedGracefully("Connection Closed Gracefully.");
  }
  return disconnected;
}

bool TNetTCPConnection::IsConnected() {
  DetectDisconnect(false, false);
  return ioHandler != nullptr && ioHandler->IsOpen();
}

void TNetTCPConnection::ProbeForClose(bool raise) {
  ReceiveChunk(raise, 1, false);
}

void TNetTCPConnection::DropSocket() {
  if (ioHandler != nullptr) ioHandler->CloseHandler();
}

void TNetTCPConnection::CloseConnection() {
  const bool connected = IsConnected();
  if (connected) {
    ReportStatus(stDisconnecting);
    DropSocket();
  }
  if (ownedHandler) releaseIOHandler();
  if (connected) {
    NotifyDisconnected();
    ReportStatus(stDisconnected);
  }
}

int TNetTCPConnection::ReceiveChunk(bool raiseIfDisconnected, int timeout, bool raiseOnTimeout) {
  timeout = effectiveTimeout(timeout);
  DetectDisconnect(raiseIfDisconnected, false);
  if (!IsConnected()) {
    if (raiseIfDisconnected) raiseNotConnected();
    return 0;
  }
  int count = 0;
  do {
    if (!ioHandler->WaitReadable(timeout)) {
      if (raiseOnTimeout) throw ENetReadTimeout("Read Timeout");
      return -1;
    }
    // The receive lands straight at the end of the input queue; it becomes
    // part of the queue only once the count is known.
    const int size = std::max(RecvBufferSize, 1);
    char* chunk = inputQueue.ReserveTail(size);
    count = ioHandler->ReceiveInto(chunk, size);
    PeerClosed = count == 0;
    if (count == NetSocketFailure) {
      if (TheStack->CheckSocketResult(count, {cannotSendAfterShutdown, connectionAborted})) {
        DropSocket();
        if (inputQueue.Empty()) TheStack->RaiseSocketFailure(TheStack->LastSocketError);
      }
      count = 0;
    } else if (count > 0) {
      if (ASCIIFilter) {
        for (int i = 0; i < count; ++i) chunk[i] = static_cast<char>(chunk[i] & 0x7F);
      }
      inputQueue.CommitTail(count);
    }
    DetectDisconnect(raiseIfDisconnected, false);
  } while (count == 0 && IsConnected());
  return count;
}

AnsiString TNetTCPConnection::ReadLine(const AnsiString& terminator, int timeout, int maxLength) {
  if (maxLength == -1) maxLength = MaxLineLength;
  const std::string_view term = terminator.empty() ? std::string_view("\n") : terminator;
  LineWasSplit = false;
  LineTimedOut = false;
  int64_t found = 0;  // 1-based position of the terminator, 0 while not found
  int64_t searched = 0;
  for (;;) {
    if (!inputQueue.Empty()) {
      // Only the bytes that arrived since the last search are new, but a
      // terminator may begin in the last bytes searched before them.
      const int64_t from = std::max<int64_t>(0, searched - static_cast<int64_t>(term.size() - 1));
      const std::string_view queued(inputQueue.Data(), static_cast<size_t>(inputQueue.Size()));
      const size_t at = queued.find(term, static_cast<size_t>(from));
      if (at != std::string_view::npos) found = static_cast<int64_t>(at) + 1;
      searched = inputQueue.Size();
    }
    const bool tooLong =
        maxLength != 0 && (found > 0 ? found - 1 > maxLength : inputQueue.Size() > maxLength);
    if (tooLong) {
      if (MaxLineAction == maException) {
        throw ENetReadLnMaxLineLengthExceeded("Max line length exceeded.");
      }
      LineWasSplit = true;
      return inputQueue.TakeText(maxLength);
    }
    if (found == 0) {
      DetectDisconnect(true, true);
      if (ReceiveChunk(true, timeout, timeout == -1) == -1) {
        LineTimedOut = true;
        return AnsiString();
      }
      continue;
    }
    AnsiString line = inputQueue.TakeText(found - 1 + static_cast<int64_t>(term.size()));
    line.resize(static_cast<size_t>(found - 1));
    if (term == "\n" && !line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }
}

void TNetTCPConnection::fillInputQueue(int64_t count) {
  while (inputQueue.Size() < count) {
    ReceiveChunk(true, -1, true);
    DetectDisconnect(true, true);
  }
}

void TNetTCPConnection::ReadExact(void* block, int64_t count) {
  if (count <= 0 || block == nullptr) return;
  fillInputQueue(count);
  std::memcpy(block, inputQueue.Data(), static_cast<size_t>(count));
  inputQueue.Consume(count);
}

int32_t TNetTCPConnection::ReadInt32(bool convert) {
  uint8_t bytes[4];
  ReadExact(bytes, 4);
  if (convert) {
    return static_cast<int32_t>(uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 |
                                uint32_t{bytes[2]} << 8 | uint32_t{bytes[3]});
  }
  int32_t value;
  std::memcpy(&value, bytes, 4);
  return value;
}

void TNetTCPConnection::ReadIntoStream(TStream& stream, int64_t byteCount, bool untilClosed) {
  if (byteCount == -1 && !untilClosed) byteCount = ReadInt32(true);
  if (byteCount >= 0) {
    const int64_t position = stream.Position();
    stream.SetSize(position + byteCount);
    stream.SetPosition(position);
  }
  int64_t remaining = untilClosed ? std::numeric_limits<int64_t>::max() : byteCount;
  StartWork(wkRead, untilClosed ? 0 : byteCount);
  try {
    const int64_t head = std::min(inputQueue.Size(), remaining);
    if (head > 0) {
      stream.WriteBuffer(inputQueue.Data(), head);
      inputQueue.Consume(head);
      remaining -= head;
    }
    // The body is read in pieces of at most RecvBufferSize bytes, each
    // copied straight from the input queue into the stream once it is whole,
    // with one work event.
    const int64_t pieceSize = std::clamp<int64_t>(remaining, 0, RecvBufferSize);
    while (remaining > 0 && pieceSize > 0 && IsConnected()) {
      const int64_t piece = std::min(remaining, pieceSize);
      try {
        fillInputQueue(piece);
      } catch (const Exception& e) {
        // What arrived before the failure is kept: it goes to the stream
        // without a work event, and the exception passes on (a close ends a
        // read until closed normally).
        const int64_t rest = std::min(inputQueue.Size(), remaining);
        if (rest > 0) stream.WriteBuffer(inputQueue.Data(), rest);
        inputQueue.Clear();
        remaining -= rest;
        if (untilClosed && dynamic_cast<const ENetConnClosedGracefully*>(&e) != nullptr) break;
        throw;
      }
      stream.WriteBuffer(inputQueue.Data(), piece);
      inputQueue.Consume(piece);
      remaining -= piece;
    }
  } catch (...) {
    FinishWork(wkRead);
    if (stream.Size() > stream.Position()) stream.SetSize(stream.Position());
    throw;
  }
  FinishWork(wkRead);
  if (stream.Size() > stream.Position()) stream.SetSize(stream.Position());
}

AnsiString TNetTCPConnection::TakeBufferedText() {
  if (IsConnected()) ReceiveChunk(false, -1, true);
  return inputQueue.TakeText(inputQueue.Size());
}

AnsiString TNetTCPConnection::ReadUntilClosed() {
  StartWork(wkRead, 0);
  AnsiString text;
  try {
    while (IsConnected()) text += TakeBufferedText();
  } catch (...) {
    FinishWork(wkRead);
    throw;
  }
  FinishWork(wkRead);
  return text;
}

void TNetTCPConnection::SendText(const AnsiString& text) {
  if (!text.empty()) SendBytes(text.data(), static_cast<int64_t>(text.size()));
}

void TNetTCPConnection::SendLine(const AnsiString& text) {
  SendText(text + "\r\n");
}

void TNetTCPConnection::SendBytes(const void* block, int64_t count, bool sendNow) {
  if (count <= 0 || block == nullptr) return;
  DetectDisconnect(true, true);
  if (!IsConnected()) raiseNotConnected();
  if (sendQueue && !sendNow) {
    sendQueue->Append(block, count);
    if (sendThreshold > 0 && sendQueue->Size() >= sendThreshold) FlushSendBuffer(sendThreshold);
    return;
  }
  const char* p = static_cast<const char*>(block);
  while (count > 0) {
    const int piece = static_cast<int>(std::min<int64_t>(count, INT_MAX));
    const int result = ioHandler->SendFrom(p, piece);
    PeerClosed = result == 0;
    DetectDisconnect(true, false);
    if (TheStack->CheckSocketResult(
            result, {cannotSendAfterShutdown, connectionAborted, connectionReset})) {
      DropSocket();
      TheStack->RaiseSocketFailure(TheStack->LastSocketError);
    }
    ReportWork(wkWrite, result);
    p += result;
    count -= result;
  }
}

void TNetTCPConnection::SendInt32(int32_t value, bool convert) {
  uint8_t bytes[4];
  if (convert) {
    const uint32_t v = static_cast<uint32_t>(value);
    bytes[0] = static_cast<uint8_t>(v >> 24);
    bytes[1] = static_cast<uint8_t>(v >> 16);
    bytes[2] = static_cast<uint8_t>(v >> 8);
    bytes[3] = static_cast<uint8_t>(v);
  } else {
    std::memcpy(bytes, &value, 4);
  }
  SendBytes(bytes, 4);
}

void TNetTCPConnection::SendStream(TStream& stream, bool wholeStream, bool writeByteCount,
                                   int64_t size) {
  if (wholeStream) stream.SetPosition(0);
  const int64_t start = stream.Position();
  const int64_t end = size == 0 ? stream.Size() : start + size;
  const int64_t count = end - start;
  if (writeByteCount) SendInt32(static_cast<int32_t>(count), true);
  StartWork(wkWrite, count);
  try {
    std::vector<char> scratch(static_cast<size_t>(std::max(SendBufferSize, 1)));
    for (;;) {
      const int64_t piece =
          std::min<int64_t>(end - stream.Position(), static_cast<int64_t>(scratch.size()));
      if (piece <= 0) break;
      const int64_t got = stream.Read(scratch.data(), piece);
      if (got == 0) throw ENetNoDataToRead("No data to read.");
      SendBytes(scratch.data(), got);
    }
  } catch (...) {
    FinishWork(wkWrite);
    throw;
  }
  FinishWork(wkWrite);
}

void TNetTCPConnection::StartSendBuffer(int threshold) {
  sendQueue = std::make_unique<TNetSimpleBuffer>();
  sendThreshold = threshold;
}

void TNetTCPConnection::FlushSendBuffer(int64_t count) {
  if (!sendQueue || sendQueue->Empty()) return;
  if (count == -1 || count > sendQueue->Size()) {
    SendBytes(sendQueue->Data(), sendQueue->Size(), true);
    sendQueue->Clear();
  } else {
    SendBytes(sendQueue->Data(), count, true);
    sendQueue->Consume(count);
  }
}

void TNetTCPConnection::FinishSendBuffer() {
  try {
    FlushSendBuffer(-1);
  } catch (...) {
    sendQueue.reset();
    throw;
  }
  sendQueue.reset();
}

void TNetTCPConnection::DiscardSendBuffer() {
  if (sendQueue) sendQueue->Clear();
}
