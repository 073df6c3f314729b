#pragma once
// An I/O handler without sockets: each connect takes the next of a list of
// byte sequences as what the peer sends on that connection, and everything
// the client sends is kept. Once a sequence is used up the peer counts as
// closed. Fuzz targets and tests drive whole exchanges through it.

#include <string>
#include <vector>

#include "net/io_handler.h"

namespace testsupport {

class MemoryIOHandler : public TNetIOHandler {
 public:
  explicit MemoryIOHandler(std::vector<std::string> connections)
      : connections(std::move(connections)) {}

  // Raises ENetSocketError when no sequence is left, like a refused connect.
  void ConnectTo(const AnsiString& host, int port, const AnsiString& boundIP, int boundPort,
                 int boundPortMin, int boundPortMax, int timeout) override;
  // With CloseWhenDone off, a used-up sequence waits like a peer that keeps
  // the connection open and sends nothing more.
  bool WaitReadable(int) override { return CloseWhenDone || offset < current.size(); }
  int ReceiveInto(void* buffer, int length) override;
  int SendFrom(const void* buffer, int length) override;

  // At most this many bytes per receive.
  int PieceSize = 1 << 16;
  bool CloseWhenDone = true;
  size_t Connects = 0;
  std::string Sent;

 private:
  std::vector<std::string> connections;
  std::string current;
  size_t offset = 0;
};

}  // namespace testsupport
