#include "net/memory/memory_io_handler.h"

#include <algorithm>
#include <cstring>

#include "net/exceptions.h"

namespace testsupport {

void MemoryIOHandler::ConnectTo(const AnsiString&, int, const AnsiString&, int, int, int, int) {
  if (Connects >= connections.size()) {
    throw ENetSocketError(10061, "Socket Error # 10061\r\nConnection refused.");
  }
  current = connections[Connects++];
  offset = 0;
}

int MemoryIOHandler::ReceiveInto(void* buffer, int length) {
  const size_t n = std::min({current.size() - offset, static_cast<size_t>(std::max(length, 0)),
                             static_cast<size_t>(std::max(PieceSize, 1))});
  if (n > 0) std::memcpy(buffer, current.data() + offset, n);
  offset += n;
  return static_cast<int>(n);
}

int MemoryIOHandler::SendFrom(const void* buffer, int length) {
  Sent.append(static_cast<const char*>(buffer), static_cast<size_t>(std::max(length, 0)));
  return length;
}

}  // namespace testsupport
