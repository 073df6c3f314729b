// qdget against real servers and proxies: nginx, Python's HTTP/1.0 server,
// squid and tinyproxy with Basic authentication; and against scripted
// servers for what no real server sends (broken framing, a full accept
// queue). Each row gives qdget's
// arguments, the bytes expected on standard output, the result lines
// expected on standard error and the exit status; {U} stands for the web
// server's base URL, {P} for the proxy's address.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "http/http_client.h"
#include "http/http_exceptions.h"
#include "tests/support/real_server.h"
#include "tests/support/script_server.h"

namespace {

using interop::RealServer;

const std::string smallBody = "hello from the update server\n";

std::string BigBody() {
  std::mt19937 rnd(20261210);
  std::string s(300000, '\0');
  for (auto& c : s) c = static_cast<char>(rnd());
  return s;
}

std::string Replace(std::string s, const std::string& from, const std::string& to) {
  for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
    s.replace(at, from.size(), to);
  return s;
}

size_t CountLines(const std::string& text, const std::string& needle) {
  size_t n = 0;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (line.find(needle) != std::string::npos) ++n;
  return n;
}

struct Case {
  const char* name;
  std::vector<std::string> args;
  std::string out;  // "@big" for the big body
  std::string err;
  int exitCode;
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << c.name;
}

// Runs qdget for one row, with {U} and {P} filled in.
void Check(const Case& c, const std::string& base, const std::string& proxy,
           const std::string& dir) {
  std::vector<std::string> args;
  for (const auto& a : c.args) args.push_back(Replace(Replace(a, "{U}", base), "{P}", proxy));
  const auto run = interop::RunProgram(interop::QdgetPath(), args, dir);
  const std::string out = c.out == "@big" ? BigBody() : c.out;
  EXPECT_EQ(run.out.size(), out.size());
  EXPECT_TRUE(run.out == out) << "body differs";
  EXPECT_EQ(run.err, Replace(Replace(c.err, "{U}", base), "{P}", proxy));
  EXPECT_EQ(run.exitCode, c.exitCode);
}

class NginxTest : public ::testing::TestWithParam<Case> {
 public:
  static void SetUpTestSuite() {
    nginx = std::make_unique<RealServer>("nginx", interop::ScratchDir("nginx"));
    interop::WriteFile(nginx->Www() + "/small.txt", smallBody);
    interop::WriteFile(nginx->Www() + "/big.bin", BigBody());
  }
  static void TearDownTestSuite() { nginx.reset(); }
  static std::unique_ptr<RealServer> nginx;
};
std::unique_ptr<RealServer> NginxTest::nginx;

TEST_P(NginxTest, Fetch) {
  ASSERT_NE(nginx->Port(), 0);
  const std::string dir = interop::ScratchDir(std::string("nginx_") + GetParam().name);
  Check(GetParam(), nginx->Url(""), "", dir);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NginxTest,
    ::testing::Values(
        Case{"counted", {"{U}/big.bin"}, "@big", "done \"{U}/big.bin\" 300000\n", 0},
        Case{
            "chunked", {"{U}/chunked/big.bin"}, "@big", "done \"{U}/chunked/big.bin\" 300000\n", 0},
        Case{"moved_absolute", {"{U}/r301abs"}, smallBody, "done \"{U}/r301abs\" 29\n", 0},
        Case{"moved_relative", {"{U}/r301rel"}, smallBody, "done \"{U}/r301rel\" 29\n", 0},
        Case{"temporary_chain", {"{U}/r307a"}, smallBody, "done \"{U}/r307a\" 29\n", 0},
        // Reaching the maximum ends the request normally, with the last
        // redirect as the response and no body.
        Case{"loop_to_maximum", {"-m", "5", "{U}/loop"}, "", "done \"{U}/loop\" 0\n", 0},
        Case{"redirects_off",
             {"-R", "{U}/r301abs"},
             "",
             "fail \"{U}/r301abs\" ENetHTTPProtocolException 301 \"HTTP/1.1 301 Moved "
             "Permanently\"\n",
             1},
        Case{"cookie_round_trip",
             {"{U}/setcookie", "{U}/showcookie"},
             "cookie set\ncookie: qdsession=s3cr3t\n",
             "done \"{U}/setcookie\" 11\ndone \"{U}/showcookie\" 25\n",
             0},
        Case{"not_found",
             {"{U}/missing.zip", "{U}/small.txt"},
             smallBody,
             "fail \"{U}/missing.zip\" ENetHTTPProtocolException 404 \"HTTP/1.1 404 Not Found\"\n"
             "done \"{U}/small.txt\" 29\n",
             1},
        Case{"bad_port",
             {"http://127.0.0.1:8o/small.txt"},
             "",
             "fail \"http://127.0.0.1:8o/small.txt\" EConvertError 0 \"'8o' is not a valid "
             "integer value\"\n",
             1}),
    [](const auto& info) { return std::string(info.param.name); });

// The redirect loop went exactly to the maximum, and the three requests of
// one run, the second one relative, shared one connection.
TEST_F(NginxTest, RedirectCountAndKeepAlive) {
  ASSERT_NE(nginx->Port(), 0);
  const std::string dir = interop::ScratchDir("nginx_keepalive");
  const auto before = interop::ReadFile(nginx->Dir() + "/access.log");
  const auto run = interop::RunProgram(interop::QdgetPath(),
                                       {"-m", "4", nginx->Url("/loop"), nginx->Url("/small.txt"),
                                        "small.txt", nginx->Url("/small.txt")},
                                       dir);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, smallBody + smallBody + smallBody);
  // nginx writes its log line after the response; give it a moment.
  std::string log;
  for (int i = 0; i < 50 && CountLines(log, "small.txt") < 3; ++i) {
    log = interop::ReadFile(nginx->Dir() + "/access.log").substr(before.size());
    if (CountLines(log, "small.txt") < 3) std::system("sleep 0.05");
  }
  EXPECT_EQ(CountLines(log, "\"GET /loop HTTP/1.1\""), 4u) << log;
  std::istringstream in(log);
  std::vector<std::pair<std::string, int>> connections;
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    std::string connection;
    int requests = 0;
    fields >> connection >> requests;
    connections.emplace_back(connection, requests);
  }
  ASSERT_EQ(connections.size(), 7u) << log;
  for (size_t i = 0; i < connections.size(); ++i) {
    EXPECT_EQ(connections[i].first, connections[0].first) << "request " << i << ":\n" << log;
    EXPECT_EQ(connections[i].second, static_cast<int>(i) + 1) << log;
  }
}

// The error page of a 404 reaches the caller as ReplyBody, byte for byte
// what curl receives for the same URL, and the client stays usable.
TEST_F(NginxTest, ErrorBodyIsTheReplyBody) {
  ASSERT_NE(nginx->Port(), 0);
  const std::string dir = interop::ScratchDir("nginx_reply_body");
  const std::string url = nginx->Url("/missing.zip");
  const auto curl = interop::RunProgram("curl", {"-s", url}, dir);
  ASSERT_EQ(curl.exitCode, 0);
  ASSERT_NE(curl.out.find("404 Not Found"), std::string::npos) << curl.out;
  TNetHTTP http;
  http.HandleRedirects = true;
  try {
    http.GetString(url);
    ADD_FAILURE() << "no exception";
  } catch (const ENetHTTPProtocolException& e) {
    EXPECT_EQ(e.ReplyCode, 404);
    EXPECT_EQ(e.Message, "HTTP/1.1 404 Not Found");
    EXPECT_EQ(e.ReplyBody, curl.out);
  }
  EXPECT_EQ(http.GetString("/small.txt"), smallBody);
}

// An HTTP/1.0 server that closes after each body: every request opens its
// own connection, with the 1.1 and the 1.0 request line alike.
TEST(Http10Server, ClosesAfterEachBody) {
  RealServer server("http10", interop::ScratchDir("http10"));
  ASSERT_NE(server.Port(), 0);
  interop::WriteFile(server.Www() + "/small.txt", smallBody);
  for (const bool http10 : {false, true}) {
    std::vector<std::string> args;
    if (http10) args.push_back("-0");
    for (int i = 0; i < 3; ++i) args.push_back(server.Url("/small.txt"));
    const auto run = interop::RunProgram(interop::QdgetPath(), args, server.Dir());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, smallBody + smallBody + smallBody);
    EXPECT_EQ(CountLines(run.err, "done "), 3u) << run.err;
  }
  const auto log = interop::ReadFile(server.Dir() + "/http10.log");
  EXPECT_EQ(CountLines(log, "\"GET /small.txt HTTP/1.1\" 200"), 3u) << log;
  EXPECT_EQ(CountLines(log, "\"GET /small.txt HTTP/1.0\" 200"), 3u) << log;
}

// qdget against a scripted server that sends the row's response and waits
// for the client to close, or against a listener whose queue is full when
// the row has no response.
struct ScriptedCase {
  const char* name;
  std::optional<std::string> response;
  std::vector<std::string> args;
  std::string err;
  int exitCode;
  size_t outSize = 0;
};

void PrintTo(const ScriptedCase& c, std::ostream* os) {
  *os << c.name;
}

class ScriptedServerTest : public ::testing::TestWithParam<ScriptedCase> {};

TEST_P(ScriptedServerTest, Fetch) {
  const ScriptedCase& c = GetParam();
  std::unique_ptr<testsupport::ScriptServer> server;
  std::unique_ptr<testsupport::FullListener> full;
  int port;
  if (c.response) {
    server = std::make_unique<testsupport::ScriptServer>(
        testsupport::Script().Send(*c.response).ReadUntilClosed());
    port = server->Port();
  } else {
    full = std::make_unique<testsupport::FullListener>();
    port = full->Port();
  }
  const std::string base = "http://127.0.0.1:" + std::to_string(port);
  std::vector<std::string> args;
  for (const auto& a : c.args) args.push_back(Replace(a, "{U}", base));
  const auto run =
      interop::RunProgram(interop::QdgetPath(), args, interop::ScratchDir("qdget_scripted"));
  EXPECT_EQ(run.err, Replace(c.err, "{U}", base));
  EXPECT_EQ(run.exitCode, c.exitCode);
  EXPECT_EQ(run.out.size(), c.outSize);
}

const std::string thousand(1000, 'b');
const std::string badLength =
    "fail \"{U}/qd.zip\" ENetException 0 \"Invalid \\\"Content-Length\\\" header in the "
    "response.\"\n";

std::string WithLength(const std::string& value) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + value + "\r\n\r\n" + thousand;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ScriptedServerTest,
    ::testing::Values(
        ScriptedCase{"connect_to_a_full_queue_gives_up",
                     std::nullopt,
                     {"-t", "1000", "{U}/qd.zip"},
                     "fail \"{U}/qd.zip\" ENetConnectTimeout 0 \"Connect timed out.\"\n",
                     1},
        ScriptedCase{"chunk_size_line_not_hexadecimal",
                     "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n"
                     "zz\r\nworld\r\n0\r\n\r\n",
                     {"{U}/qd.zip"},
                     "fail \"{U}/qd.zip\" ENetChunkSizeError 0 \"Invalid chunk size line.\"\n",
                     1},
        ScriptedCase{"chunk_sizes_in_both_cases_with_extension",
                     "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1A;a=b\r\n" +
                         std::string(26, 'z') + "\r\n1a\r\n" + std::string(26, 'z') +
                         "\r\n0\r\n\r\n",
                     {"{U}/qd.zip"},
                     "done \"{U}/qd.zip\" 52\n",
                     0,
                     52},
        ScriptedCase{"length_past_32_bits", WithLength("3000000000"), {"{U}/qd.zip"}, badLength, 1},
        ScriptedCase{
            "length_one_past_the_field", WithLength("2147483648"), {"{U}/qd.zip"}, badLength, 1},
        ScriptedCase{"negative_length", WithLength("-5"), {"{U}/qd.zip"}, badLength, 1},
        ScriptedCase{"length_with_letters", WithLength("12abc"), {"{U}/qd.zip"}, badLength, 1},
        ScriptedCase{
            "length_list_differing", WithLength("1000, 999"), {"{U}/qd.zip"}, badLength, 1},
        ScriptedCase{"length_list_equal",
                     WithLength(" 1000, 1000 "),
                     {"{U}/qd.zip"},
                     "done \"{U}/qd.zip\" 1000\n",
                     0,
                     1000}));

// Both proxies with Basic authentication in front of nginx.
class ProxyTest : public ::testing::TestWithParam<Case> {
 public:
  static void SetUpTestSuite() {
    nginx = std::make_unique<RealServer>("nginx", interop::ScratchDir("proxy_origin"));
    interop::WriteFile(nginx->Www() + "/small.txt", smallBody);
    squid = std::make_unique<RealServer>("squid", interop::ScratchDir("squid"),
                                         std::vector<std::string>{"updater", "pa:ss word"});
    // tinyproxy's configuration takes a password of letters and digits only.
    tinyproxy = std::make_unique<RealServer>("tinyproxy", interop::ScratchDir("tinyproxy"),
                                             std::vector<std::string>{"updater", "secret7"});
  }
  static void TearDownTestSuite() {
    tinyproxy.reset();
    squid.reset();
    nginx.reset();
  }
  static std::unique_ptr<RealServer> nginx, squid, tinyproxy;
};
std::unique_ptr<RealServer> ProxyTest::nginx, ProxyTest::squid, ProxyTest::tinyproxy;

TEST_P(ProxyTest, Fetch) {
  const Case& c = GetParam();
  const bool viaSquid = std::string(c.name).rfind("squid", 0) == 0;
  const RealServer& proxy = viaSquid ? *squid : *tinyproxy;
  ASSERT_NE(nginx->Port(), 0);
  ASSERT_NE(proxy.Port(), 0);
  const std::string dir = interop::ScratchDir(std::string("proxy_") + c.name);
  Check(c, nginx->Url(""), "127.0.0.1:" + std::to_string(proxy.Port()), dir);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProxyTest,
    ::testing::Values(
        Case{"squid_no_credentials",
             {"-x", "{P}", "{U}/small.txt"},
             "",
             "fail \"{U}/small.txt\" ENetHTTPProtocolException 407 \"HTTP/1.1 407 Proxy "
             "Authentication Required\"\n",
             1},
        Case{"squid_credentials",
             {"-x", "{P}", "-U", "updater:pa:ss word", "{U}/small.txt"},
             smallBody,
             "done \"{U}/small.txt\" 29\n",
             0},
        Case{"squid_wrong_password",
             {"-x", "{P}", "-U", "updater:pa:ss", "{U}/small.txt"},
             "",
             "fail \"{U}/small.txt\" ENetHTTPProtocolException 407 \"HTTP/1.1 407 Proxy "
             "Authentication Required\"\n",
             1},
        // The updater's client always sends "Proxy-Authorization", with an
        // empty user name and password when it has none; tinyproxy takes
        // that for wrong credentials, which it answers with an HTTP/1.0 401
        // rather than a challenge of its own.
        Case{"tinyproxy_no_credentials",
             {"-x", "{P}", "{U}/small.txt"},
             "",
             "fail \"{U}/small.txt\" ENetHTTPProtocolException 401 \"HTTP/1.0 401 Unauthorized\"\n",
             1},
        Case{"tinyproxy_credentials",
             {"-x", "{P}", "-U", "updater:secret7", "{U}/small.txt"},
             smallBody,
             "done \"{U}/small.txt\" 29\n",
             0},
        Case{"tinyproxy_wrong_password",
             {"-x", "{P}", "-U", "updater:secret8", "{U}/small.txt"},
             "",
             "fail \"{U}/small.txt\" ENetHTTPProtocolException 401 \"HTTP/1.0 401 Unauthorized\"\n",
             1}),
    [](const auto& info) { return std::string(info.param.name); });

// Through the proxy the request line carries the absolute URI with the
// port, and the proxy knows the user.
TEST_F(ProxyTest, AbsoluteUriAndUserInTheLogs) {
  ASSERT_NE(squid->Port(), 0);
  ASSERT_NE(tinyproxy->Port(), 0);
  const std::string dir = interop::ScratchDir("proxy_logs");
  const std::string target = nginx->Url("/small.txt");
  for (const auto& [proxy, credentials] : {std::pair{squid.get(), "updater:pa:ss word"},
                                           std::pair{tinyproxy.get(), "updater:secret7"}}) {
    const auto run = interop::RunProgram(
        interop::QdgetPath(),
        {"-x", "127.0.0.1:" + std::to_string(proxy->Port()), "-U", credentials, target}, dir);
    EXPECT_EQ(run.exitCode, 0) << run.err;
  }
  std::string squidLog, tinyLog;
  for (int i = 0; i < 100 && CountLines(squidLog, target) == 0; ++i) {
    squidLog = interop::ReadFile(squid->Dir() + "/access.log");
    if (CountLines(squidLog, target) == 0) std::system("sleep 0.05");
  }
  EXPECT_EQ(CountLines(squidLog, "GET " + target + " updater "), 1u) << squidLog;
  tinyLog = interop::ReadFile(tinyproxy->Dir() + "/tinyproxy.log");
  EXPECT_EQ(CountLines(tinyLog, "GET " + target + " HTTP/1.1"), 1u) << tinyLog;
}

}  // namespace
