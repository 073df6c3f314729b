#include "tests/support/script_server.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <stdexcept>

namespace testsupport {

namespace {

constexpr TNetIPv4 loopback{127, 0, 0, 1};
// Waits are cut into slices of this length so that a stopping server does
// not hang on a client that never comes or never sends.
constexpr int sliceMs = 50;

TNetSocket listenOnLoopback(int backlog, int& port) {
  const TNetSocket s = TheStack->NewSocket(NetSocketStream, 0);
  TNetIPv4 address;
  uint16_t bound = 0;
  if (TheStack->Bind(s, loopback, 0) != 0 || TheStack->Listen(s, backlog) != 0 ||
      TheStack->GetSockName(s, address, bound) != 0) {
    TheStack->CloseSocket(s);
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
  port = bound;
  return s;
}

void setNoDelay(TNetSocket s) {
  const int32_t on = 1;
  TheStack->SetSockOpt(s, NetProtocolTCP, NetOptionNoDelay, &on, sizeof on);
}

bool sendAll(TNetSocket s, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const int n =
        TheStack->Send(s, bytes.data() + done,
                       static_cast<int>(std::min<size_t>(bytes.size() - done, 1 << 20)), 0);
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

const char* DeliveryName(Delivery delivery) {
  switch (delivery) {
    case Delivery::Whole:
      return "whole";
    case Delivery::Bytes:
      return "bytes";
    case Delivery::Random:
      return "random";
  }
  return "?";
}

std::vector<std::string> Split(const std::string& text, Delivery delivery, uint32_t seed,
                               size_t maxPieces) {
  std::vector<std::string> pieces;
  if (delivery == Delivery::Whole || text.size() <= 1) {
    pieces.push_back(text);
  } else if (delivery == Delivery::Bytes) {
    for (char c : text) pieces.emplace_back(1, c);
  } else {
    std::mt19937 random(seed);
    const size_t cutCount = std::min(maxPieces, text.size()) - 1;
    std::vector<size_t> cuts;
    std::uniform_int_distribution<size_t> at(1, text.size() - 1);
    for (size_t i = 0; i < cutCount; ++i) cuts.push_back(at(random));
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    size_t from = 0;
    for (size_t cut : cuts) {
      pieces.push_back(text.substr(from, cut - from));
      from = cut;
    }
    pieces.push_back(text.substr(from));
  }
  return pieces;
}

Script& Script::Send(std::string bytes) {
  steps.push_back({Step::Send, {std::move(bytes)}, 0});
  return *this;
}

Script& Script::SendPieces(std::vector<std::string> pieces, int gapMs) {
  steps.push_back({Step::Send, std::move(pieces), gapMs});
  return *this;
}

Script& Script::Pause(int ms) {
  steps.push_back({Step::Pause, {}, ms});
  return *this;
}

Script& Script::Expect(std::string expected) {
  steps.push_back({Step::Expect, {std::move(expected)}, 0});
  return *this;
}

Script& Script::ExpectHead(std::string expected) {
  steps.push_back({Step::ExpectHead, {std::move(expected)}, 0});
  return *this;
}

Script& Script::ReadUntilClosed() {
  steps.push_back({Step::ReadUntilClosed, {}, 0});
  return *this;
}

Script& Script::Close() {
  steps.push_back({Step::Close, {}, 0});
  return *this;
}

Script& Script::Reset() {
  steps.push_back({Step::Reset, {}, 0});
  return *this;
}

ScriptServer::ScriptServer(std::vector<Script> scripts)
    : sessions(std::move(scripts)), received(sessions.size()) {
  listener = listenOnLoopback(16, port);
  thread = std::thread([this] { run(); });
}

ScriptServer::ScriptServer(const std::function<std::vector<Script>(int port)>& make) {
  listener = listenOnLoopback(16, port);
  sessions = make(port);
  received.resize(sessions.size());
  thread = std::thread([this] { run(); });
}

ScriptServer::~ScriptServer() {
  stop.store(true);
  if (thread.joinable()) thread.join();
  TheStack->CloseSocket(listener);
}

void ScriptServer::Join() {
  if (thread.joinable()) thread.join();
}

bool ScriptServer::WaitFinished(size_t count, int timeoutMs) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (finished.load() < count) {
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

std::vector<std::string> ScriptServer::Failures() {
  std::lock_guard<std::mutex> lock(mutex);
  return failures;
}

std::string ScriptServer::Received(size_t session) {
  std::lock_guard<std::mutex> lock(mutex);
  return session < received.size() ? received[session] : std::string();
}

bool ScriptServer::waitReadable(TNetSocket s) {
  const TNetSocket set[] = {s};
  while (!stop.load()) {
    if (TheStack->SelectReadable(set, sliceMs) > 0) return true;
  }
  return false;
}

bool ScriptServer::sleepUnlessStopped(int ms) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!stop.load()) {
    const auto left = until - std::chrono::steady_clock::now();
    if (left <= std::chrono::milliseconds(0)) return true;
    std::this_thread::sleep_for(
        std::min<std::chrono::steady_clock::duration>(left, std::chrono::milliseconds(sliceMs)));
  }
  return false;
}

void ScriptServer::run() {
  for (size_t i = 0; i < sessions.size(); ++i) {
    if (!waitReadable(listener)) return;
    TNetIPv4 address;
    uint16_t clientPort;
    const TNetSocket client = TheStack->Accept(listener, address, clientPort);
    if (client == InvalidNetSocket) return;
    accepted.fetch_add(1);
    setNoDelay(client);
    runSession(i, client);
    finished.fetch_add(1);
  }
}

void ScriptServer::runSession(size_t index, TNetSocket client) {
  auto fail = [&](const std::string& what) {
    std::lock_guard<std::mutex> lock(mutex);
    failures.push_back("session " + std::to_string(index) + ": " + what);
  };
  auto receive = [&](std::string& into, size_t limit) {
    char buffer[65536];
    if (!waitReadable(client)) return false;
    const int n =
        TheStack->Recv(client, buffer, static_cast<int>(std::min(limit, sizeof buffer)), 0);
    if (n <= 0) return false;
    into.append(buffer, static_cast<size_t>(n));
    std::lock_guard<std::mutex> lock(mutex);
    received[index].append(buffer, static_cast<size_t>(n));
    return true;
  };
  bool open = true;
  for (const Script::Step& step : sessions[index].steps) {
    if (stop.load()) break;
    switch (step.kind) {
      case Script::Step::Send:
        for (size_t p = 0; p < step.pieces.size(); ++p) {
          if (p > 0 && step.ms > 0 && !sleepUnlessStopped(step.ms)) break;
          if (!sendAll(client, step.pieces[p])) {
            fail("send failed");
            break;
          }
        }
        break;
      case Script::Step::Pause:
        sleepUnlessStopped(step.ms);
        break;
      case Script::Step::Expect: {
        const std::string& want = step.pieces[0];
        std::string got;
        while (got.size() < want.size() && receive(got, want.size() - got.size())) {
        }
        if (got != want) fail("expected [" + want + "], got [" + got + "]");
        break;
      }
      case Script::Step::ExpectHead: {
        // One byte at a time, so that nothing after the head is taken from
        // the client's next request.
        const std::string& want = step.pieces[0];
        std::string got;
        while (got.size() < 4 || got.compare(got.size() - 4, 4, "\r\n\r\n") != 0) {
          if (got.size() > (1 << 20) || !receive(got, 1)) break;
        }
        if (got != want) fail("expected head [" + want + "], got [" + got + "]");
        break;
      }
      case Script::Step::ReadUntilClosed: {
        std::string got;
        while (receive(got, 65536)) {
        }
        break;
      }
      case Script::Step::Close:
        TheStack->CloseSocket(client);
        open = false;
        break;
      case Script::Step::Reset: {
        const TNetLinger reset{1, 0};
        TheStack->SetSockOpt(client, NetSocketLevel, NetOptionLinger, &reset, sizeof reset);
        TheStack->CloseSocket(client);
        open = false;
        break;
      }
    }
    if (!open) break;
  }
  if (open) TheStack->CloseSocket(client);
}

FullListener::FullListener() {
  listener = listenOnLoopback(0, port);
  // A listener with a backlog of 0 holds one connection that nobody
  // accepts; while it waits, further connection requests are dropped.
  const TNetSocket filler = TheStack->NewSocket(NetSocketStream, 0);
  fillers.push_back(filler);
  TheStack->Connect(filler, NetAddressFamilyIPv4, loopback, static_cast<uint16_t>(port));
}

FullListener::~FullListener() {
  for (TNetSocket s : fillers) TheStack->CloseSocket(s);
  TheStack->CloseSocket(listener);
}

}  // namespace testsupport
