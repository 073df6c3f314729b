// Whole exchanges over an in-memory handler: the input is what the server
// sends on up to four connections (separated by a line "--"), and its first
// byte chooses the client's settings. Any outcome is fine except a crash,
// a hang, or memory use beyond the bounds of heads and bodies.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/exceptions.h"
#include "http/body_streams.h"
#include "http/chunk_size.h"
#include "http/http_client.h"
#include "net/memory/memory_io_handler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t flags = data[0];
  std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  // Every line as a chunk-size line: a size is never negative, and anything
  // else is the chunk-size error.
  for (size_t from = 0; from <= text.size();) {
    const size_t end = std::min(text.find('\n', from), text.size());
    try {
      if (ParseChunkSize(text.substr(from, end - from)) < 0) __builtin_trap();
    } catch (const ENetChunkSizeError&) {
    }
    from = end + 1;
  }
  std::vector<std::string> connections;
  for (size_t at; connections.size() < 3 && (at = text.find("\n--\n")) != std::string::npos;
       text.erase(0, at + 4)) {
    connections.push_back(text.substr(0, at));
  }
  connections.push_back(text);
  testsupport::MemoryIOHandler handler(connections);
  handler.PieceSize = 1 + (flags >> 4);
  TNetHTTP http;
  http.SetIOHandler(&handler);
  http.HandleRedirects = (flags & 1) != 0;
  http.ProtocolVersion = (flags & 2) != 0 ? pv1_0 : pv1_1;
  http.HTTPOptions = (flags & 4) != 0 ? hoInProcessAuth : hoForceEncodeParams;
  http.ProxyParams.BasicAuthentication = (flags & 8) != 0;
  http.Request().BasicAuthentication = (flags & 8) != 0;
  for (int request = 0; request < 2; ++request) {
    // A bounded stream, so that a large announced length costs no memory.
    TNetBoundedTextStream body(1 << 16);
    try {
      http.GetToStream(request == 0 ? "http://h.example/a/b" : "c?d=1", &body);
    } catch (const Exception&) {
    }
  }
  return 0;
}
