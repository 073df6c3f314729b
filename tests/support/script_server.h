#pragma once
// An in-process TCP server on 127.0.0.1 that plays scripts: each accepted
// connection runs the next script of the list, step by step (send bytes,
// pause, expect bytes, read until the client closes, close, or reset). Tests
// of anything that talks TCP use it to produce exact byte sequences, early
// closes and resets.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "net/component.h"
#include "net/stack.h"

namespace testsupport {

// How a text is cut into pieces that are sent one by one.
enum class Delivery { Whole, Bytes, Random };
const char* DeliveryName(Delivery delivery);
inline void PrintTo(Delivery delivery, std::ostream* os) {
  *os << DeliveryName(delivery);
}
// The pieces of text: one piece, one piece per byte, or cuts at random
// places chosen from seed (at most maxPieces pieces).
std::vector<std::string> Split(const std::string& text, Delivery delivery, uint32_t seed,
                               size_t maxPieces = 64);

class Script {
 public:
  // Sends the bytes with one send call.
  Script& Send(std::string bytes);
  // Sends each piece with its own send call, pausing gapMs between pieces so
  // that the client sees them arrive separately.
  Script& SendPieces(std::vector<std::string> pieces, int gapMs = 1);
  Script& Pause(int ms);
  // Reads exactly as many bytes as expected holds and records a failure when
  // they differ or the client closes first.
  Script& Expect(std::string expected);
  // Reads up to and including the first empty line (CR LF CR LF) and
  // records a failure when that head differs from expected or the client
  // closes first.
  Script& ExpectHead(std::string expected);
  // Reads until the client closes; what arrived is kept as Received.
  Script& ReadUntilClosed();
  // Closes the connection in order (FIN).
  Script& Close();
  // Closes with SO_LINGER 0, which resets the connection (RST).
  Script& Reset();

  struct Step {
    enum Kind { Send, Pause, Expect, ExpectHead, ReadUntilClosed, Close, Reset } kind;
    std::vector<std::string> pieces;
    int ms = 0;
  };
  std::vector<Step> steps;
};

class ScriptServer {
 public:
  explicit ScriptServer(std::vector<Script> sessions);
  explicit ScriptServer(Script session) : ScriptServer(std::vector<Script>{std::move(session)}) {}
  // For scripts that name the server's port: make is called with the port
  // once the server listens, before the first connection is accepted.
  explicit ScriptServer(const std::function<std::vector<Script>(int port)>& make);
  // Stops any session still running and waits for the server thread.
  ~ScriptServer();
  ScriptServer(const ScriptServer&) = delete;
  ScriptServer& operator=(const ScriptServer&) = delete;

  int Port() const { return port; }
  // How many connections the server has accepted so far.
  size_t Accepted() const { return accepted.load(); }
  // Waits until every session has run to its end.
  void Join();
  // Waits at most timeoutMs until count sessions have run to their end;
  // false when they have not.
  bool WaitFinished(size_t count, int timeoutMs);
  // Failed expectations, in the order they happened (after Join).
  std::vector<std::string> Failures();
  // Every byte a session received (after Join).
  std::string Received(size_t session);

 private:
  void run();
  void runSession(size_t index, TNetSocket client);
  bool waitReadable(TNetSocket s);
  bool sleepUnlessStopped(int ms);

  TNetComponent stackUser;  // keeps the socket stack alive
  std::vector<Script> sessions;
  TNetSocket listener = InvalidNetSocket;
  int port = 0;
  std::atomic<bool> stop{false};
  std::atomic<size_t> accepted{0};
  std::atomic<size_t> finished{0};
  std::mutex mutex;
  std::vector<std::string> failures;
  std::vector<std::string> received;
  std::thread thread;
};

// A listener whose queue is full: a connect to it is neither accepted nor
// refused, so it stays pending until the client gives up.
class FullListener {
 public:
  FullListener();
  ~FullListener();
  int Port() const { return port; }

 private:
  TNetComponent stackUser;
  TNetSocket listener = InvalidNetSocket;
  std::vector<TNetSocket> fillers;
  int port = 0;
};

}  // namespace testsupport
