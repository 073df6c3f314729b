#pragma once
// Small helpers shared by the connection tests.

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "net/tcp_client.h"
#include "tests/support/script_server.h"

namespace nettest {

// A seed for the random splits of this run, printed so that a failure can
// be repeated with QD_NET_SEED.
inline uint32_t RunSeed() {
  static const uint32_t seed = [] {
    const char* given = std::getenv("QD_NET_SEED");
    const uint32_t s = given != nullptr ? static_cast<uint32_t>(std::stoul(given))
                                        : static_cast<uint32_t>(std::random_device{}());
    std::printf("random split seed: %u (set QD_NET_SEED to repeat)\n", s);
    return s;
  }();
  return seed;
}

// A client aimed at the server, connected.
inline std::unique_ptr<TNetTCPClient> Connected(const testsupport::ScriptServer& server) {
  auto c = std::make_unique<TNetTCPClient>();
  c->SetHost("127.0.0.1");
  c->SetPort(server.Port());
  c->OpenConnection();
  return c;
}

// The server's send step for one delivery mode. Byte by byte also makes the
// client receive one byte at a time.
inline testsupport::Script& SendAs(testsupport::Script& script, const std::string& bytes,
                                   testsupport::Delivery delivery) {
  return script.SendPieces(testsupport::Split(bytes, delivery, RunSeed()),
                           delivery == testsupport::Delivery::Random ? 1 : 0);
}

inline void PrepareClient(TNetTCPClient& c, testsupport::Delivery delivery) {
  if (delivery == testsupport::Delivery::Bytes) c.RecvBufferSize = 1;
}

const std::vector<testsupport::Delivery> AllDeliveries = {
    testsupport::Delivery::Whole, testsupport::Delivery::Bytes, testsupport::Delivery::Random};

inline std::string DeliveryTestName(const ::testing::TestParamInfo<testsupport::Delivery>& info) {
  return testsupport::DeliveryName(info.param);
}

// A body of n bytes that differ from place to place.
inline std::string Body(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>('a' + (i * 7 + i / 251) % 26);
  return s;
}

// A port on 127.0.0.1 where nothing listens: bound, read back and closed, so
// that a connect to it is refused.
inline uint16_t ClosedPort() {
  TNetComponent user;
  const TNetSocket s = TheStack->NewSocket(NetSocketStream, 0);
  TNetIPv4 address;
  uint16_t port = 0;
  TheStack->Bind(s, {127, 0, 0, 1}, 0);
  TheStack->GetSockName(s, address, port);
  TheStack->CloseSocket(s);
  return port;
}

}  // namespace nettest
