// Reads 1 GiB from a local sender through ReadIntoStream and compares it, in
// the same run, with the plain loop of 32 KiB receive calls into memory that
// bounds what the connection can reach. Also shows what the work events cost
// with and without a handler. Prints throughputs and ratios.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "core/streams.h"
#include "net/stack.h"
#include "net/tcp_client.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int64_t total = int64_t{1} << 30;
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
  if (got != total)
    std::fprintf(stderr, "plain loop got %lld bytes\n", static_cast<long long>(got));
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
  if (stream.Size() != total)
    std::fprintf(stderr, "stream got %lld bytes\n", static_cast<long long>(stream.Size()));
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

int main() {
  TNetComponent stackUser;
  const double gib = static_cast<double>(total) / (1 << 30);
  double plain = 1e9, bare = 1e9, handled = 1e9;
  int64_t reports = 0;
  // Two rounds, alternating, keeping the best time of each kind, so that a
  // busy moment of the machine does not decide the ratio.
  for (int round = 0; round < 2; ++round) {
    plain = std::min(plain, plainLoop());
    bare = std::min(bare, readIntoStream(false, reports));
    handled = std::min(handled, readIntoStream(true, reports));
  }
  const double events = workEventsWithoutHandler();
  std::printf("plain 32 KiB recv loop      : %7.2f GiB/s\n", gib / plain);
  std::printf(
      "ReadIntoStream, no handler  : %7.2f GiB/s  ratio to plain loop %.3f (target >= 0.90)\n",
      gib / bare, plain / bare);
  std::printf(
      "ReadIntoStream, OnWork set  : %7.2f GiB/s  ratio to no handler %.3f (%lld reports)\n",
      gib / handled, bare / handled, static_cast<long long>(reports));
  std::printf("work events of 1 GiB, no handler: %.1f us, %.4f%% of the read\n", events * 1e6,
              100.0 * events / bare);
  return 0;
}
