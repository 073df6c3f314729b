#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/streams.h"
#include "net/exceptions.h"
#include "net_test_helpers.h"

namespace {

using testsupport::Script;
using testsupport::ScriptServer;

// Status texts in order.
struct StatusLog {
  void attach(TNetComponent& c) {
    c.OnStatus = [this](TNetComponent*, TNetStatus, const AnsiString& text) {
      texts.push_back(text);
    };
  }
  std::vector<std::string> texts;
};

TEST(OpenConnection, StatusEventsInOrderThroughConnectAndClose) {
  struct Case {
    const char* host;
    std::vector<std::string> statuses;
  } cases[] = {
      {"127.0.0.1", {"Connecting to 127.0.0.1.", "Connected.", "Disconnecting.", "Disconnected."}},
      {"LocalHost", {"Connecting to 127.0.0.1.", "Connected.", "Disconnecting.", "Disconnected."}},
      {"2130706433",
       {"Connecting to 2130706433.", "Connected.", "Disconnecting.", "Disconnected."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.host);
    Script script;
    script.Expect("hello\r\n");
    ScriptServer server(script);
    TNetTCPClient client;
    StatusLog log;
    log.attach(client);
    int connected = 0, disconnected = 0;
    client.OnConnected = [&](TNetComponent*) { ++connected; };
    client.OnDisconnected = [&](TNetComponent*) { ++disconnected; };
    client.SetHost(c.host);
    client.SetPort(server.Port());
    client.OpenConnection();
    EXPECT_TRUE(client.IsConnected());
    EXPECT_TRUE(client.OwnsIOHandler());
    client.SendLine("hello");
    client.CloseConnection();
    EXPECT_FALSE(client.OwnsIOHandler());
    EXPECT_EQ(client.IOHandler(), nullptr);
    EXPECT_EQ(log.texts, c.statuses);
    EXPECT_EQ(connected, 1);
    EXPECT_EQ(disconnected, 1);
    server.Join();
    EXPECT_TRUE(server.Failures().empty());
  }
}

TEST(OpenConnection, FailuresCarryTheirCodesAndLastStatus) {
  struct Case {
    const char* host;
    int port;
    int code;
    const char* message;
    std::vector<std::string> statuses;
  } cases[] = {
      {"127.0.0.1",
       nettest::ClosedPort(),
       10061,
       "Socket Error # 10061\r\nConnection refused.",
       {"Connecting to 127.0.0.1."}},
      {"no-such-host.invalid",
       80,
       11001,
       "Socket Error # 11001\r\nHost not found.",
       {"Resolving hostname no-such-host.invalid."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.host);
    TNetTCPClient client;
    StatusLog log;
    log.attach(client);
    client.SetHost(c.host);
    client.SetPort(c.port);
    try {
      client.OpenConnection();
      FAIL() << "connected";
    } catch (const ENetSocketError& e) {
      EXPECT_EQ(e.ErrorCode, c.code);
      EXPECT_EQ(e.Message, c.message);
    }
    EXPECT_EQ(log.texts, c.statuses);
    EXPECT_FALSE(client.IsConnected());
    // Closing what is not open reports nothing and still frees the handler.
    EXPECT_TRUE(client.OwnsIOHandler());
    client.CloseConnection();
    EXPECT_FALSE(client.OwnsIOHandler());
    EXPECT_EQ(log.texts, c.statuses);
    // The same object can connect again after a failure.
    Script script;
    script.Close();
    ScriptServer server(script);
    client.SetHost("127.0.0.1");
    client.SetPort(server.Port());
    client.OpenConnection();
    EXPECT_TRUE(client.IsConnected());
  }
}

TEST(OpenConnection, SecondOpenWhileOpenRaises) {
  Script script;
  script.Pause(3000);
  ScriptServer server(script);
  auto client = nettest::Connected(server);
  try {
    client->OpenConnection();
    FAIL();
  } catch (const ENetAlreadyConnected& e) {
    EXPECT_EQ(e.Message, "Already connected.");
  }
  EXPECT_TRUE(client->IsConnected());
}

TEST(OpenConnection, WithTimeLimit) {
  {
    Script script;
    script.Send("hi\n").Pause(3000);
    ScriptServer server(script);
    TNetTCPClient client;
    client.SetHost("127.0.0.1");
    client.SetPort(server.Port());
    client.OpenConnection(5000);
    EXPECT_EQ(client.ReadLine(), "hi");
  }
  {
    TNetTCPClient client;
    client.SetHost("127.0.0.1");
    client.SetPort(nettest::ClosedPort());
    try {
      client.OpenConnection(5000);
      FAIL();
    } catch (const ENetSocketError& e) {
      EXPECT_EQ(e.ErrorCode, 10061);
    }
  }
  {
    testsupport::FullListener listener;
    TNetTCPClient client;
    client.SetHost("127.0.0.1");
    client.SetPort(listener.Port());
    try {
      client.OpenConnection(300);
      FAIL();
    } catch (const ENetConnectTimeout& e) {
      EXPECT_EQ(e.Message, "Connect timed out.");
    }
    EXPECT_FALSE(client.IsConnected());
  }
}

TEST(Nagle, FlagSetsNoDelay) {
  struct Case {
    bool useNagle;
    int32_t noDelay;
  } cases[] = {{true, 0}, {false, 1}};
  for (const auto& c : cases) {
    Script script;
    script.Pause(3000);
    ScriptServer server(script);
    TNetIOHandlerSocket handler;
    handler.UseNagle = c.useNagle;
    TNetTCPClient client;
    client.SetIOHandler(&handler);
    client.SetHost("127.0.0.1");
    client.SetPort(server.Port());
    client.OpenConnection();
    int32_t value = -1;
    int length = sizeof value;
    ASSERT_EQ(TheStack->GetSockOpt(handler.SocketHandle()->SocketValue, NetProtocolTCP,
                                   NetOptionNoDelay, &value, length),
              0);
    EXPECT_EQ(value != 0, c.noDelay != 0);
    client.CloseConnection();
    // A handler owned elsewhere survives the close.
    EXPECT_EQ(client.IOHandler(), &handler);
  }
}

TEST(IOHandler, ForeignHandlerIsForgottenWhenDestroyed) {
  TNetTCPClient client;
  auto handler = std::make_unique<TNetIOHandlerSocket>();
  client.SetIOHandler(handler.get());
  EXPECT_FALSE(client.OwnsIOHandler());
  handler.reset();
  EXPECT_EQ(client.IOHandler(), nullptr);
  EXPECT_FALSE(client.IsConnected());
}

TEST(IOHandler, ReceiveWithoutSocketRaisesDisconnected) {
  TNetIOHandlerSocket handler;
  char b[4];
  try {
    handler.ReceiveInto(b, 4);
    FAIL();
  } catch (const ENetClosedSocket& e) {
    EXPECT_EQ(e.Message, "Disconnected.");
  }
}

TEST(Sending, NotConnected) {
  TNetTCPClient client;
  EXPECT_NO_THROW(client.SendText(""));
  try {
    client.SendText("x");
    FAIL();
  } catch (const ENetNotConnected& e) {
    EXPECT_EQ(e.Message, "Not Connected");
  }
  StatusLog log;
  log.attach(client);
  client.CloseConnection();
  EXPECT_TRUE(log.texts.empty());
}

// Counts the send calls that reach the socket.
struct CountingHandler : TNetIOHandlerSocket {
  int SendFrom(const void* buffer, int length) override {
    ++sends;
    return TNetIOHandlerSocket::SendFrom(buffer, length);
  }
  int sends = 0;
};

TEST(Sending, SendQueueLeavesInOneSend) {
  Script script;
  script.Expect("GET / HTTP/1.1\r\nHost: x\r\n\r\n");
  ScriptServer server(script);
  CountingHandler handler;
  TNetTCPClient client;
  client.SetIOHandler(&handler);
  client.SetHost("127.0.0.1");
  client.SetPort(server.Port());
  client.OpenConnection();
  client.StartSendBuffer();
  client.SendLine("GET / HTTP/1.1");
  client.SendLine("Host: x");
  client.SendLine("");
  EXPECT_EQ(handler.sends, 0);
  client.FinishSendBuffer();
  EXPECT_EQ(handler.sends, 1);
  EXPECT_FALSE(client.SendBuffering());
  client.CloseConnection();
  server.Join();
  EXPECT_TRUE(server.Failures().empty()) << server.Failures()[0];
}

TEST(Sending, SendStreamReportsWriteWork) {
  const std::string body = nettest::Body(100000);
  Script script;
  script.Expect(body);
  ScriptServer server(script);
  auto client = nettest::Connected(server);
  std::vector<int64_t> work;
  int64_t max = -1;
  client->OnWorkBegin = [&](TNetComponent*, TWorkMode m, int64_t n) {
    if (m == wkWrite) max = n;
  };
  client->OnWork = [&](TNetComponent*, TWorkMode m, int64_t n) {
    if (m == wkWrite) work.push_back(n);
  };
  TStringStream stream(body);
  stream.SetPosition(500);
  client->SendStream(stream);
  EXPECT_EQ(max, 100000);
  ASSERT_FALSE(work.empty());
  EXPECT_EQ(work.back(), 100000);
  client->CloseConnection();
  server.Join();
  EXPECT_TRUE(server.Failures().empty());
}

TEST(Sending, StreamEndingEarlyRaisesNoData) {
  Script script;
  script.ReadUntilClosed();
  ScriptServer server(script);
  auto client = nettest::Connected(server);
  TStringStream stream("abc");
  try {
    client->SendStream(stream, false, false, 10);
    FAIL();
  } catch (const ENetNoDataToRead& e) {
    EXPECT_EQ(e.Message, "No data to read.");
  }
}

}  // namespace
