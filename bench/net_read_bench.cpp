// One measured read of SIZE MiB from a local sender, by one method:
//   plain          32 KiB receive calls straight into memory, the limit that
//                  the connection can reach;
//   stream         ReadIntoStream of the whole body into a memory stream;
//   stream-events  the same with an OnWork handler set;
//   events         the work reports of such a read with no handler, alone.
// Prints "seconds=X" for the read alone; bench/net_read_bench.py runs the
// methods interleaved through the benchmark harness and prints the ratios.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "core/streams.h"
#include "net/stack.h"
#include "net/tcp_client.h"

namespace {

using Clock = std::chrono::steady_clock;

int64_t total = int64_t{1} << 30;
constexpr int pieceSize = 32768;

// Accepts one connection and sends total bytes in large send calls.
class Sender {
 public:
  Sender() {
    listener = TheStack->NewSocket(NetSocketStream, 0);
    TNetIPv4 address;
    uint16_t bound = 0;
    if (TheStack->Bind(listener, {127, 0, 0, 1}, 0) != 0 || TheStack->Listen(listener, 1) != 0 ||
        TheStack->GetSockName(listener, address, bound) != 0) {
      std::fprintf(stderr, "cannot listen on 127.0.0.1\n");
      std::exit(1);
    }
    port = bound;
    thread = std::thread([this] { run(); });
  }
  ~Sender() {
    thread.join();
    TheStack->CloseSocket(listener);
  }
  int port = 0;

 private:
  void run() {
    TNetIPv4 address;
    uint16_t peerPort;
    const TNetSocket s = TheStack->Accept(listener, address, peerPort);
    std::vector<char> block(1 << 18, 'q');
    for (int64_t left = total; left > 0;) {
      const int n = TheStack->Send(s, block.data(),
                                   static_cast<int>(std::min<int64_t>(left, block.size())), 0);
      if (n <= 0) break;
      left -= n;
    }
    TheStack->CloseSocket(s);
  }
  TNetSocket listener;
  std::thread thread;
};

double seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

// The limit: receive calls of 32 KiB straight into a block of memory.
double plainLoop() {
  Sender sender;
  char* memory = static_cast<char*>(std::malloc(static_cast<size_t>(total)));
  const TNetSocket s = TheStack->NewSocket(NetSocketStream, 0);
  TheStack->Connect(s, NetAddressFamilyIPv4, {127, 0, 0, 1}, static_cast<uint16_t>(sender.port));
  const auto start = Clock::now();
  int64_t got = 0;
  for (;;) {
    const int n = TheStack->Recv(s, memory + got,
                                 static_cast<int>(std::min<int64_t>(pieceSize, total - got)), 0);
    if (n <= 0) break;
    got += n;
  }
  const double t = seconds(start);
  TheStack->CloseSocket(s);
  std::free(memory);
  if (got != total) {
    std::fprintf(stderr, "plain loop got %lld bytes\n", static_cast<long long>(got));
    std::exit(1);
  }
  return t;
}

// ReadIntoStream of the whole body into a memory stream.
double readIntoStream(bool withHandler, int64_t& reports) {
  Sender sender;
  TNetTCPClient client;
  client.SetHost("127.0.0.1");
  client.SetPort(sender.port);
  reports = 0;
  if (withHandler) {
    client.OnWork = [&reports](TNetComponent*, TWorkMode, int64_t) { ++reports; };
  }
  client.OpenConnection();
  TMemoryStream stream;
  const auto start = Clock::now();
  client.ReadIntoStream(stream, total);
  const double t = seconds(start);
  if (stream.Size() != total) {
    std::fprintf(stderr, "stream got %lld bytes\n", static_cast<long long>(stream.Size()));
    std::exit(1);
  }
  client.CloseConnection();
  return t;
}

// What the work events of 1 GiB cost without a handler: as many reports as
// the read makes, on a component inside a work phase.
double workEventsWithoutHandler() {
  TNetComponent c;
  c.StartWork(wkRead, total);
  const auto start = Clock::now();
  for (int64_t i = 0; i < total / pieceSize; ++i) c.ReportWork(wkRead, pieceSize);
  const double t = seconds(start);
  c.FinishWork(wkRead);
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: net_read_bench plain|stream|stream-events|events SIZE_MIB\n");
    return 2;
  }
  const std::string mode = argv[1];
  total = std::atoll(argv[2]) * (int64_t{1} << 20);
  if (total <= 0) {
    std::fprintf(stderr, "net_read_bench: bad size %s\n", argv[2]);
    return 2;
  }
  TNetComponent stackUser;
  int64_t reports = 0;
  double t = 0;
  if (mode == "plain") {
    t = plainLoop();
  } else if (mode == "stream") {
    t = readIntoStream(false, reports);
  } else if (mode == "stream-events") {
    t = readIntoStream(true, reports);
    std::printf("work reports: %lld\n", static_cast<long long>(reports));
  } else if (mode == "events") {
    t = workEventsWithoutHandler();
  } else {
    std::fprintf(stderr, "net_read_bench: unknown method %s\n", mode.c_str());
    return 2;
  }
  std::printf("%.2f GiB/s\nseconds=%.6f\n", static_cast<double>(total) / (1 << 30) / t, t);
  return 0;
}
