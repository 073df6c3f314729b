#pragma once
// Scripted exchanges for the HTTP client: one case a row, with the bytes the
// server sends, the request heads it expects byte for byte, and what each
// request of the client must give (a body, or an exception with its class,
// code and message). A case is replayed with the server's bytes sent whole,
// one byte at a time, and cut at random places (the seed is printed).

#include <functional>
#include <string>
#include <vector>

#include "http/http_client.h"
#include "tests/support/script_server.h"

namespace httptest {

// One request the server expects and the response it sends back. "{PORT}"
// in either stands for the server's port.
struct Turn {
  std::string head;
  std::string response;
};

// One connection: its turns in order; then the server closes, or waits for
// the client to close.
struct Connection {
  std::vector<Turn> turns;
  bool serverCloses = true;
  // The client gives up before the server has sent everything, so the
  // server's sends may fail.
  bool clientAborts = false;
};

// What one request of the client gives. An empty kind means a body.
struct Outcome {
  std::string body;
  std::string kind;  // exception class name
  int code = 0;      // ReplyCode of protocol exceptions
  std::string message;
  std::string replyBody;
};

Outcome Body(std::string body);
Outcome Raises(std::string kind, std::string message, int code = 0, std::string replyBody = "");

struct Request {
  std::string url;  // "{PORT}" stands for the server's port
  Outcome outcome;
  // Runs after the request, to check the client's state.
  std::function<void(TNetHTTP&)> check;
};

struct ExchangeCase {
  const char* name;
  std::vector<Connection> connections;
  std::vector<Request> requests;
  // Runs on the fresh client before the first request.
  std::function<void(TNetHTTP&, int port)> setup;
};

// The client as the updater's main dialog configures it.
void ConfigureLikeUpdater(TNetHTTP& http);
// Class name of the most derived exception class the client raises.
std::string ExceptionKind(const std::exception& e);
// Text with "{PORT}" replaced by the port.
std::string WithPort(std::string text, int port);
// Runs the case and reports every difference as a test failure.
void RunExchange(const ExchangeCase& c, testsupport::Delivery delivery);
uint32_t RunSeed();

}  // namespace httptest
