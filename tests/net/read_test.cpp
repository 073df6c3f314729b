#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/streams.h"
#include "net/exceptions.h"
#include "net_test_helpers.h"

namespace {

using testsupport::Delivery;
using testsupport::Script;
using testsupport::ScriptServer;

class Reading : public ::testing::TestWithParam<Delivery> {};

INSTANTIATE_TEST_SUITE_P(Deliveries, Reading, ::testing::ValuesIn(nettest::AllDeliveries),
                         nettest::DeliveryTestName);

struct LineCase {
  const char* name;
  std::string sent;
  std::string terminator;
  TNetMaxLineAction action;
  std::vector<std::string> lines;  // read in order
  bool raisesMaxLength;            // after the lines
  std::vector<bool> split;         // LineWasSplit after each line; empty: never
};

TEST_P(Reading, ReadLineCases) {
  const std::string x16384(16384, 'x');
  const LineCase cases[] = {
      {"crlf", "abc\r\nnext\n", "", maException, {"abc", "next"}, false, {}},
      {"lf", "abc\n", "\n", maException, {"abc"}, false, {}},
      {"crlf alone", "\r\n", "\n", maException, {""}, false, {}},
      {"semicolon keeps cr", "ab\r;c;", ";", maException, {"ab\r", "c"}, false, {}},
      {"long terminator", "one<END>two<END>", "<END>", maException, {"one", "two"}, false, {}},
      {"overlapping terminator", "a::::b::", "::", maException, {"a", "", "b"}, false, {}},
      {"16384 accepted", x16384 + "\n", "\n", maException, {x16384}, false, {}},
      {"16385 refused", x16384 + "x\n", "\n", maException, {}, true, {}},
      {"16385 split", x16384 + "x\n", "\n", maSplit, {x16384, "x"}, false, {true, false}},
      {"cr counts", x16384 + "\r\n", "\n", maException, {}, true, {}},
      {"16383 and crlf",
       x16384.substr(1) + "\r\n",
       "\n",
       maException,
       {x16384.substr(1)},
       false,
       {}},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.name);
    Script script;
    nettest::SendAs(script, c.sent, GetParam()).Pause(5000);
    ScriptServer server(script);
    auto client = nettest::Connected(server);
    nettest::PrepareClient(*client, GetParam());
    client->MaxLineAction = c.action;
    for (size_t i = 0; i < c.lines.size(); ++i) {
      EXPECT_EQ(client->ReadLine(c.terminator), c.lines[i]);
      EXPECT_EQ(client->LineWasSplit, i < c.split.size() && c.split[i]);
      EXPECT_FALSE(client->LineTimedOut);
    }
    if (c.raisesMaxLength) {
      try {
        client->ReadLine(c.terminator);
        ADD_FAILURE() << "no exception";
      } catch (const ENetReadLnMaxLineLengthExceeded& e) {
        EXPECT_EQ(e.Message, "Max line length exceeded.");
      }
    }
    client->CloseConnection();
  }
}

TEST_P(Reading, PartialLineBeforeCloseRaisesAndStaysQueued) {
  Script script;
  nettest::SendAs(script, "abc", GetParam()).Pause(100).Close();
  ScriptServer server(script);
  auto client = nettest::Connected(server);
  nettest::PrepareClient(*client, GetParam());
  try {
    client->ReadLine();
    FAIL() << "no exception";
  } catch (const ENetConnClosedGracefully& e) {
    EXPECT_EQ(e.Message, "Connection Closed Gracefully.");
  }
  EXPECT_EQ(std::string(client->InputQueue().Data(), client->InputQueue().Size()), "abc");
}

struct WorkLog {
  explicit WorkLog(TNetTCPConnection& c) {
    c.OnWorkBegin = [this](TNetComponent*, TWorkMode m, int64_t max) {
      events.push_back((m == wkRead ? "begin " : "begin write ") + std::to_string(max));
    };
    c.OnWork = [this](TNetComponent*, TWorkMode m, int64_t n) {
      events.push_back((m == wkRead ? "" : "write ") + std::to_string(n));
    };
    c.OnWorkEnd = [this](TNetComponent*, TWorkMode m) {
      events.push_back(m == wkRead ? "end" : "end write");
    };
  }
  std::vector<std::string> events;
};

TEST_P(Reading, CountedBodyWorkEvents) {
  struct Case {
    const char* name;
    size_t queuedFirst;
    std::vector<std::string> events;
  } cases[] = {
      {"empty queue", 0, {"begin 100000", "32768", "65536", "98304", "100000", "end"}},
      {"5000 queued", 5000, {"begin 100000", "5000", "37768", "70536", "100000", "end"}},
  };
  const std::string body = nettest::Body(100000);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Script script;
    script.Send("HEAD\n" + body.substr(0, c.queuedFirst)).Pause(200);
    nettest::SendAs(script, body.substr(c.queuedFirst), GetParam()).Pause(5000);
    ScriptServer server(script);
    auto client = nettest::Connected(server);
    EXPECT_EQ(client->ReadLine(), "HEAD");
    while (client->InputQueue().Size() < static_cast<int64_t>(c.queuedFirst)) {
      client->ReceiveChunk(true, -1, true);
    }
    ASSERT_EQ(client->InputQueue().Size(), static_cast<int64_t>(c.queuedFirst));
    WorkLog log(*client);
    TMemoryStream stream;
    stream.WriteBuffer("pre", 3);
    client->ReadIntoStream(stream, 100000);
    EXPECT_EQ(log.events, c.events);
    EXPECT_EQ(std::string(stream.Memory(), stream.Size()), "pre" + body);
    EXPECT_TRUE(client->InputQueue().Empty());
    client->CloseConnection();
  }
}

TEST_P(Reading, PeerClosesDuringCountedBody) {
  const std::string body = nettest::Body(70000);
  Script script;
  nettest::SendAs(script, body, GetParam()).Pause(50).Close();
  ScriptServer server(script);
  auto client = nettest::Connected(server);
  WorkLog log(*client);
  TMemoryStream stream;
  EXPECT_THROW(client->ReadIntoStream(stream, 100000), ENetConnClosedGracefully);
  // The stream was grown to 100000 beforehand and is cut back to what came.
  EXPECT_EQ(std::string(stream.Memory(), stream.Size()), body);
  EXPECT_EQ(log.events, (std::vector<std::string>{"begin 100000", "32768", "65536", "end"}));
}

TEST_P(Reading, BodyUntilClosedKeepsEveryByte) {
  const std::string body = nettest::Body(70000);
  Script script;
  script.Send("HEAD\n");
  nettest::SendAs(script, body, GetParam()).Pause(50).Close();
  ScriptServer server(script);
  auto client = nettest::Connected(server);
  EXPECT_EQ(client->ReadLine(), "HEAD");
  WorkLog log(*client);
  TMemoryStream stream;
  client->ReadIntoStream(stream, -1, true);
  EXPECT_EQ(std::string(stream.Memory(), stream.Size()), body);
  // The queued head is reported on its own, then every full piece of 32768
  // bytes; the last partial piece is written but not reported.
  ASSERT_GE(log.events.size(), 4u);
  EXPECT_EQ(log.events.front(), "begin 0");
  EXPECT_EQ(log.events.back(), "end");
  std::vector<int64_t> totals;
  for (size_t i = 1; i + 1 < log.events.size(); ++i) totals.push_back(std::stoll(log.events[i]));
  for (size_t i = 1; i < totals.size(); ++i) EXPECT_EQ(totals[i] - totals[i - 1], 32768);
  EXPECT_LT(70000 - totals.back(), 32768);
  EXPECT_GT(70000 - totals.back(), 0);
  EXPECT_FALSE(client->IsConnected());
}

TEST(ReadIntoStream, ZeroCountReadsNothingAndLeavesTheQueue) {
  Script script;
  script.Send("abc\nrest").Pause(5000);
  ScriptServer server(script);
  auto client = nettest::Connected(server);
  EXPECT_EQ(client->ReadLine(), "abc");
  while (client->InputQueue().Size() < 4) client->ReceiveChunk(true, -1, true);
  TMemoryStream stream;
  client->ReadIntoStream(stream, 0);
  EXPECT_EQ(stream.Size(), 0);
  EXPECT_EQ(client->InputQueue().Size(), 4);
}

TEST(ReadIntoStream, ResetDuringBodyRaisesSocketErrorAndKeepsWhatCame) {
  Script script;
  script.Send(std::string(500, 'r')).Pause(200).Reset();
  ScriptServer server(script);
  auto client = nettest::Connected(server);
  TMemoryStream stream;
  try {
    client->ReadIntoStream(stream, 1000);
    FAIL() << "no exception";
  } catch (const ENetSocketError& e) {
    EXPECT_EQ(e.ErrorCode, 10054);
    EXPECT_EQ(e.Message, "Socket Error # 10054\r\nConnection reset by peer.");
  }
  EXPECT_EQ(std::string(stream.Memory(), stream.Size()), std::string(500, 'r'));
}

TEST(ReadIntoStream, CountReadFromTheWireWhenNotGiven) {
  Script script;
  script.Send(std::string("\0\0\0\5hello!", 10)).Pause(5000);
  ScriptServer server(script);
  auto client = nettest::Connected(server);
  TStringStream stream;
  client->ReadIntoStream(stream);
  EXPECT_EQ(stream.DataString(), "hello");
  EXPECT_EQ(client->ReadLine("!"), "");
}

TEST(ReadLineTimeLimits, ExplicitLimitReturnsEmptyAndFlags) {
  Script script;
  script.Send("partial").Pause(3000);
  ScriptServer server(script);
  auto client = nettest::Connected(server);
  EXPECT_EQ(client->ReadLine("\n", 200), "");
  EXPECT_TRUE(client->LineTimedOut);
  EXPECT_EQ(client->InputQueue().Size(), 7);
}

TEST(ReadLineTimeLimits, ReadTimeoutRaises) {
  Script script;
  script.Pause(3000);
  ScriptServer server(script);
  auto client = nettest::Connected(server);
  client->ReadTimeout = 200;
  try {
    client->ReadLine();
    FAIL() << "no exception";
  } catch (const ENetReadTimeout& e) {
    EXPECT_EQ(e.Message, "Read Timeout");
  }
}

TEST(ReadLineTimeLimits, ReadTimeoutZeroWaitsWithoutLimit) {
  Script script;
  script.Pause(400).Send("late\n").Pause(3000);
  ScriptServer server(script);
  auto client = nettest::Connected(server);
  client->ReadTimeout = 0;
  EXPECT_EQ(client->ReadLine(), "late");
  EXPECT_FALSE(client->LineTimedOut);
}

TEST(ReadUntilClosed, ReturnsEverythingAndReportsWork) {
  const std::string body = nettest::Body(50000);
  Script script;
  script.Send(body).Close();
  ScriptServer server(script);
  auto client = nettest::Connected(server);
  WorkLog log(*client);
  EXPECT_EQ(client->ReadUntilClosed(), body);
  ASSERT_GE(log.events.size(), 3u);
  EXPECT_EQ(log.events.front(), "begin 0");
  EXPECT_EQ(log.events[log.events.size() - 2], "50000");
  EXPECT_EQ(log.events.back(), "end");
}

TEST(ReadExact, Int32InNetworkOrder) {
  Script script;
  script.Send(std::string("\x01\x02\x03\x04\xff\xff\xff\xfe", 8)).Pause(3000);
  ScriptServer server(script);
  auto client = nettest::Connected(server);
  EXPECT_EQ(client->ReadInt32(), 0x01020304);
  EXPECT_EQ(client->ReadInt32(), -2);
}

TEST(ProbeForClose, NoticesAPeerThatClosed) {
  Script script;
  script.Close();
  ScriptServer server(script);
  auto client = nettest::Connected(server);
  server.Join();
  std::vector<std::string> statuses;
  client->OnStatus = [&](TNetComponent*, TNetStatus, const AnsiString& t) {
    statuses.push_back(t);
  };
  client->ProbeForClose(false);
  EXPECT_FALSE(client->IsConnected());
  EXPECT_EQ(statuses, std::vector<std::string>{"Disconnected."});
  client->CloseConnection();  // not open any more: no further status
  EXPECT_EQ(statuses, std::vector<std::string>{"Disconnected."});
}

}  // namespace
