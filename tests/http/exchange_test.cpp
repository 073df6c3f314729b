#include <gtest/gtest.h>

#include "exchange_fixture.h"
#include "http/encoder_mime.h"

// The client's internal steps, for the tests that check one of them alone.
struct TNetHTTPTestSeam {
  static void PrepareTarget(TNetCustomHTTP& http) { http.PrepareTarget(); }
};

namespace {

using httptest::Body;
using httptest::Connection;
using httptest::ExchangeCase;
using httptest::Raises;
using httptest::Turn;
using testsupport::Delivery;

// The updater's documented request head, against the script server.
std::string UpdaterHead(const std::string& path, const std::string& extra = "") {
  return "GET " + path +
         " HTTP/1.1\r\nHost: 127.0.0.1:{PORT}\r\nAccept: text/html, */*\r\n"
         "User-Agent: Mozilla/3.0\r\nProxy-Authorization: Basic Og==\r\n" +
         extra + "\r\n";
}

// The head of a client with the record's own defaults.
std::string PlainHead(const std::string& path, const std::string& host = "127.0.0.1:{PORT}",
                      const std::string& extra = "") {
  return "GET " + path + " HTTP/1.1\r\nHost: " + host +
         "\r\nAccept: text/html, */*\r\nUser-Agent: Mozilla/3.0 (compatible; Net Library)\r\n" +
         extra + "\r\n";
}

std::string Ok(const std::string& body, const std::string& extra = "") {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + extra +
         "\r\n" + body;
}

const std::string kUrl = "http://127.0.0.1:{PORT}";
const std::string k26(26, 'z');

void Updater(TNetHTTP& http, int) {
  httptest::ConfigureLikeUpdater(http);
}

std::vector<ExchangeCase> Cases() {
  std::string manyLines;
  for (int i = 0; i < 1001; ++i) manyLines += "X-" + std::to_string(i) + ": v\r\n";
  return {
      {"updater head on a fresh client",
       {{{{UpdaterHead("/qd.zip"), Ok("PK\x03\x04")}}}},
       {{kUrl + "/qd.zip", Body("PK\x03\x04")}},
       Updater},
      {"updater head withholds proxy credentials without a proxy",
       {{{{UpdaterHead("/qd.zip"), Ok("x")}}}},
       {{kUrl + "/qd.zip", Body("x")}},
       [](TNetHTTP& http, int) {
         httptest::ConfigureLikeUpdater(http);
         http.ProxyParams.ProxyUsername = "user";
         http.ProxyParams.ProxyPassword = "secret";
       }},
      {"through a proxy: absolute URI with the port, Host names the target",
       {{{{"GET http://origin.example:80/qd.zip HTTP/1.1\r\nHost: origin.example\r\n"
           "Accept: text/html, */*\r\nUser-Agent: Mozilla/3.0\r\n"
           "Proxy-Authorization: Basic dXNlcjpzZWNyZXQ=\r\n\r\n",
           Ok("via proxy")}}}},
       {{"http://origin.example/qd.zip", Body("via proxy")}},
       [](TNetHTTP& http, int port) {
         httptest::ConfigureLikeUpdater(http);
         http.ProxyParams.ProxyServer = "127.0.0.1";
         http.ProxyParams.ProxyPort = port;
         http.ProxyParams.ProxyUsername = "user";
         http.ProxyParams.ProxyPassword = "secret";
       }},
      {"one connection serves several requests",
       {{{{UpdaterHead("/qd.zip"), Ok("one")},
          {UpdaterHead("/newupd.dat"), Ok("two")},
          {UpdaterHead("/x"), Ok("three")}},
         false}},
       {{kUrl + "/qd.zip", Body("one")},
        {kUrl + "/newupd.dat", Body("two")},
        {kUrl + "/x", Body("three")}},
       Updater},
      {"a cookie goes back with the next request",
       {{{{UpdaterHead("/a"), Ok("1", "Set-Cookie: SID=42; path=/\r\n")},
          {UpdaterHead("/b", "Cookie: SID=42\r\n"), Ok("2")}},
         false}},
       {{kUrl + "/a", Body("1")}, {kUrl + "/b", Body("2")}},
       Updater},
      {"server closed the kept connection in between: reconnect",
       {{{{PlainHead("/a"), Ok("1")}}, true}, {{{PlainHead("/b"), Ok("2")}}, true}},
       {{kUrl + "/a", Body("1")}, {kUrl + "/b", Body("2")}}},
      {"connection close makes the next request reconnect",
       {{{{PlainHead("/a"), Ok("1", "Connection: close\r\n")}}, false},
        {{{PlainHead("/b"), Ok("2")}}, false}},
       {{kUrl + "/a", Body("1")}, {kUrl + "/b", Body("2")}}},
      {"HTTP/1.0 without keep-alive closes",
       {{{{"GET /a HTTP/1.0\r\nConnection: keep-alive\r\nHost: 127.0.0.1:{PORT}\r\n"
           "Accept: text/html, */*\r\nUser-Agent: Mozilla/3.0 (compatible; Net Library)\r\n\r\n",
           Ok("1")}},
         false},
        {{{"GET /b HTTP/1.0\r\nConnection: keep-alive\r\nHost: 127.0.0.1:{PORT}\r\n"
           "Accept: text/html, */*\r\nUser-Agent: Mozilla/3.0 (compatible; Net Library)\r\n\r\n",
           Ok("2", "Connection: Keep-Alive\r\n")}},
         false}},
       {{kUrl + "/a", Body("1")}, {kUrl + "/b", Body("2")}},
       [](TNetHTTP& http, int) { http.ProtocolVersion = pv1_0; }},
      {"empty counted body", {{{{PlainHead("/"), Ok("")}}}}, {{kUrl + "/", Body("")}}},
      {"204 reads nothing",
       {{{{PlainHead("/"), "HTTP/1.1 204 No Content\r\n\r\n"}}}},
       {{kUrl + "/", Body("")}}},
      {"no length and no coding: read until close",
       {{{{PlainHead("/"), "HTTP/1.1 200 OK\r\n\r\nuntil the end"}}, true},
        {{{PlainHead("/2"), Ok("x")}}, true}},
       {{kUrl + "/", Body("until the end")}, {kUrl + "/2", Body("x")}}},
      {"chunked",
       {{{{PlainHead("/"), "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1a\r\n" + k26 +
                               "\r\n3\r\nabc\r\n0\r\n\r\n"}}}},
       {{kUrl + "/", Body(k26 + "abc")}}},
      {"chunk extension is skipped",
       {{{{PlainHead("/"),
           "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1a;name=value\r\n" + k26 +
               "\r\n2 ; x\r\nyz\r\n0;last\r\n\r\n"}}}},
       {{kUrl + "/", Body(k26 + "yz")}}},
      {"coding name in other letter case",
       {{{{PlainHead("/"),
           "HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n"}}}},
       {{kUrl + "/", Body("hello")}}},
      {"kept connection after a chunked body",
       {{{{PlainHead("/a"),
           "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nA\r\n0123456789\r\n0\r\n\r\n"},
          {PlainHead("/b"), Ok("next")}},
         false}},
       {{kUrl + "/a", Body("0123456789")}, {kUrl + "/b", Body("next")}}},
      {"counted length wins over chunked",
       {{{{PlainHead("/"),
           "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nContent-Length: 5\r\n\r\n"
           "3\r\nab"}}}},
       {{kUrl + "/", Body("3\r\nab")}}},
      {"chunk size that no integer holds",
       {{{{PlainHead("/"),
           "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nffffffffff\r\n"}}}},
       {{kUrl + "/", Raises("ENetException", "Chunk size out of range.")}}},
      {"chunked body cut short",
       {{{{PlainHead("/"), "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\nabc"}}}},
       {{kUrl + "/", Raises("ENetConnClosedGracefully", "Connection Closed Gracefully.")}}},
      {"counted body cut short",
       {{{{PlainHead("/"), "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabcd"}}}},
       {{kUrl + "/", Raises("ENetConnClosedGracefully", "Connection Closed Gracefully.")}}},
      {"error body cut short keeps what arrived",
       {{{{PlainHead("/"), "HTTP/1.1 404 Not Found\r\nContent-Length: 100\r\n\r\nshort"}}}},
       {{kUrl + "/", Raises("ENetHTTPProtocolException", "HTTP/1.1 404 Not Found", 404, "short")}}},
      {"404 with its body",
       {{{{PlainHead("/"), "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot here!"}}}},
       {{kUrl + "/",
         Raises("ENetHTTPProtocolException", "HTTP/1.1 404 Not Found", 404, "not here!")}}},
      {"500 chunked error body",
       {{{{PlainHead("/"),
           "HTTP/1.0 500 Oops\r\nTransfer-Encoding: chunked\r\n\r\n4\r\nboom\r\n0\r\n\r\n"}}}},
       {{kUrl + "/", Raises("ENetHTTPProtocolException", "HTTP/1.0 500 Oops", 500, "boom")}}},
      {"304 is an error",
       {{{{PlainHead("/"), "HTTP/1.1 304 Not Modified\r\nContent-Length: 0\r\n\r\n"}}}},
       {{kUrl + "/", Raises("ENetHTTPProtocolException", "HTTP/1.1 304 Not Modified", 304)}}},
      {"status without a number",
       {{{{PlainHead("/"), "HTTP/1.1 abc\r\nContent-Length: 0\r\n\r\n"}}}},
       {{kUrl + "/", Raises("ENetHTTPProtocolException", "HTTP/1.1 abc", -1)}}},
      {"status without reason text",
       {{{{PlainHead("/"), "HTTP/1.1 200\r\nContent-Length: 2\r\n\r\nok"}}}},
       {{kUrl + "/", Body("ok")}}},
      {"interim 100 responses are skipped",
       {{{{PlainHead("/"),
           "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 100 Continue\r\nX: y\r\n\r\n" + Ok("ok")}}}},
       {{kUrl + "/", Body("ok")}}},
      {"LF-only line ends",
       {{{{PlainHead("/"), "HTTP/1.1 200 OK\nContent-Length: 2\n\nok"}}}},
       {{kUrl + "/", Body("ok")}}},
      {"relative redirect on the same connection",
       {{{{PlainHead("/a/b/c"),
           "HTTP/1.1 302 Found\r\nLocation: y\r\nContent-Length: 4\r\n\r\nmove"},
          {PlainHead("/a/b/y"), Ok("there")}},
         false}},
       {{kUrl + "/a/b/c", Body("there")}},
       [](TNetHTTP& http, int) { http.HandleRedirects = true; }},
      {"redirect to an absolute path keeps host and port",
       {{{{PlainHead("/a"),
           "HTTP/1.1 301 Moved\r\nLocation: /other/x\r\nContent-Length: 0\r\n\r\n"},
          {PlainHead("/other/x"), Ok("x")}},
         false}},
       {{kUrl + "/a", Body("x")}},
       [](TNetHTTP& http, int) { http.HandleRedirects = true; }},
      {"redirect to another host opens a new connection",
       {{{{PlainHead("/a"),
           "HTTP/1.1 302 Found\r\nLocation: http://localhost:{PORT}/z\r\nContent-Length: "
           "0\r\n\r\n"}},
         false},
        {{{PlainHead("/z", "localhost:{PORT}"), Ok("z")}}, false}},
       {{kUrl + "/a", Body("z")}},
       [](TNetHTTP& http, int) { http.HandleRedirects = true; }},
      {"200 with a Location is a redirect",
       {{{{PlainHead("/a"), "HTTP/1.1 200 OK\r\nLocation: /b\r\nContent-Length: 3\r\n\r\nold"},
          {PlainHead("/b"), Ok("new")}},
         false}},
       {{kUrl + "/a", Body("new")}},
       [](TNetHTTP& http, int) { http.HandleRedirects = true; }},
      {"redirect without HandleRedirects raises",
       {{{{PlainHead("/a"), "HTTP/1.1 302 Found\r\nLocation: /b\r\nContent-Length: 0\r\n\r\n"}},
         false}},
       {{kUrl + "/a", Raises("ENetHTTPProtocolException", "HTTP/1.1 302 Found", 302)}}},
      {"redirect maximum ends with the last redirect and no body",
       {{{{PlainHead("/1"), "HTTP/1.1 302 Found\r\nLocation: /2\r\nContent-Length: 1\r\n\r\na"},
          {PlainHead("/2"), "HTTP/1.1 302 Found\r\nLocation: /3\r\nContent-Length: 1\r\n\r\nb"}},
         false}},
       {{kUrl + "/1", Body(""), [](TNetHTTP& http) { EXPECT_EQ(http.Response().Location, "/3"); }}},
       [](TNetHTTP& http, int) {
         http.HandleRedirects = true;
         http.RedirectMaximum = 2;
       }},
      {"OnRedirect may refuse",
       {{{{PlainHead("/1"), "HTTP/1.1 307 Temp\r\nLocation: /2\r\nContent-Length: 2\r\n\r\nno"}},
         false}},
       {{kUrl + "/1", Raises("ENetHTTPProtocolException", "HTTP/1.1 307 Temp", 307, "no")}}},
      {"401 leaves an empty Basic authenticator for the next request",
       {{{{PlainHead("/a"),
           "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: NTLM\r\n"
           "WWW-Authenticate: Basic realm=\"r\"\r\nContent-Length: 4\r\n\r\ndeny"},
          {PlainHead("/b", "127.0.0.1:{PORT}", "Authorization: Basic Og==\r\n"), Ok("ok")}},
         false}},
       {{kUrl + "/a",
         Raises("ENetHTTPProtocolException", "HTTP/1.1 401 Unauthorized", 401, "deny")},
        {kUrl + "/b", Body("ok")}}},
      {"401 without a known scheme",
       {{{{PlainHead("/"),
           "HTTP/1.1 401 No\r\nWWW-Authenticate: Magic\r\nContent-Length: 0\r\n\r\n"}},
         false}},
       {{kUrl + "/", Raises("ENetHTTPProtocolException", "HTTP/1.1 401 No", 401)}}},
      {"407 clears the proxy credentials",
       {{{{"GET http://origin.example:80/ HTTP/1.1\r\nHost: origin.example\r\n"
           "Accept: text/html, */*\r\nUser-Agent: Mozilla/3.0\r\n"
           "Proxy-Authorization: Basic dTpw\r\n\r\n",
           "HTTP/1.1 407 Proxy Auth\r\nProxy-Authenticate: Basic realm=\"p\"\r\n"
           "Content-Length: 0\r\n\r\n"}},
         false}},
       {{"http://origin.example/",
         Raises("ENetHTTPProtocolException", "HTTP/1.1 407 Proxy Auth", 407),
         [](TNetHTTP& http) {
           EXPECT_EQ(http.ProxyParams.ProxyUsername, "");
           EXPECT_EQ(http.ProxyParams.ProxyPassword, "");
           EXPECT_NE(http.ProxyParams.Authenticator(), nullptr);
         }}},
       [](TNetHTTP& http, int port) {
         httptest::ConfigureLikeUpdater(http);
         http.ProxyParams.ProxyServer = "127.0.0.1";
         http.ProxyParams.ProxyPort = port;
         http.ProxyParams.ProxyUsername = "u";
         http.ProxyParams.ProxyPassword = "p";
       }},
      {"in-process authentication answers a 401 at once",
       {{{{PlainHead("/a", "127.0.0.1:{PORT}", ""),
           "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"r\"\r\n"
           "Content-Length: 0\r\n\r\n"},
          {PlainHead("/a", "127.0.0.1:{PORT}", "Authorization: Basic dTpw\r\n"), Ok("in")}},
         false}},
       {{"http://u:p@127.0.0.1:{PORT}/a", Body("in")}},
       [](TNetHTTP& http, int) { http.HTTPOptions = hoInProcessAuth; }},
      {"head of more than 1000 lines",
       {{{{PlainHead("/"), "HTTP/1.1 200 OK\r\n" + manyLines + "\r\n"}}, true, true}},
       {{kUrl + "/", Raises("ENetException", "Response head exceeds 1000 lines or 1 MiB.")}}},
      {"closed before the status line",
       {{{{PlainHead("/"), ""}}}},
       {{kUrl + "/", Raises("ENetConnClosedGracefully", "Connection Closed Gracefully.")}}},
      {"closed inside the head",
       {{{{PlainHead("/"), "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n"}}}},
       {{kUrl + "/", Raises("ENetException", "Undefined situation")}}},
      {"status line too long",
       {{{{PlainHead("/"), "HTTP/1.1 200 " + std::string(17000, 'x') + "\r\n\r\n"}}, true, true}},
       {{kUrl + "/", Raises("ENetReadLnMaxLineLengthExceeded", "Max line length exceeded.")}}},
  };
}

// Bodies whose framing cannot be read: the request fails, the connection is
// closed (the next request needs a second one), and the caller gets no body.
std::vector<ExchangeCase> BrokenFramingCases() {
  const auto closed = [](TNetHTTP& http) { EXPECT_FALSE(http.IsConnected()); };
  const std::string chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
  const std::string invalidChunk = "Invalid chunk size line.";
  const std::string invalidLength = "Invalid \"Content-Length\" header in the response.";
  const std::string thousand(1000, 'b');
  std::vector<ExchangeCase> cases = {
      {"chunk-size line that is not hexadecimal",
       {{{{PlainHead("/a"), chunked + "5\r\nhello\r\nzz\r\nworld\r\n0\r\n\r\n"}}, false, true},
        {{{PlainHead("/b"), Ok("next")}}, false}},
       {{kUrl + "/a", Raises("ENetException", invalidChunk), closed}, {kUrl + "/b", Body("next")}}},
      {"empty chunk-size line",
       {{{{PlainHead("/a"), chunked + "5\r\nhello\r\n\r\nworld\r\n0\r\n\r\n"}}, false, true},
        {{{PlainHead("/b"), Ok("next")}}, false}},
       {{kUrl + "/a", Raises("ENetException", invalidChunk), closed}, {kUrl + "/b", Body("next")}}},
      {"blank chunk-size line before the first chunk",
       {{{{PlainHead("/a"), chunked + "  \r\nhello\r\n0\r\n\r\n"}}, false, true},
        {{{PlainHead("/b"), Ok("next")}}, false}},
       {{kUrl + "/a", Raises("ENetException", invalidChunk), closed}, {kUrl + "/b", Body("next")}}},
      {"chunk sizes in both letter cases with extensions",
       {{{{PlainHead("/"), chunked + "1A\r\n" + k26 + "\r\n1a ; q=\"v\"\r\n" + k26 + "\r\nf;x\r\n" +
                               std::string(15, 'f') + "\r\n0 ; end\r\n\r\n"}}}},
       {{kUrl + "/", Body(k26 + k26 + std::string(15, 'f'))}}},
      {"error body with a broken chunk line keeps its status",
       {{{{PlainHead("/a"),
           "HTTP/1.1 404 Not Found\r\nTransfer-Encoding: chunked\r\n\r\n4\r\nboom\r\nxyz\r\n"
           "more\r\n"}},
         false,
         true},
        {{{PlainHead("/b"), Ok("next")}}, false}},
       {{kUrl + "/a", Raises("ENetHTTPProtocolException", "HTTP/1.1 404 Not Found", 404, "boom"),
         closed},
        {kUrl + "/b", Body("next")}}},
      {"redirect body with a broken chunk line: the next pass reconnects",
       {{{{PlainHead("/a"),
           "HTTP/1.1 302 Found\r\nLocation: /b\r\nTransfer-Encoding: chunked\r\n\r\n"
           "2\r\nab\r\n-1\r\nxx\r\n"}},
         false,
         true},
        {{{PlainHead("/b"), Ok("there")}}, false}},
       {{kUrl + "/a", Body("there")}},
       [](TNetHTTP& http, int) { http.HandleRedirects = true; }},
      {"Content-Length list of equal values",
       {{{{PlainHead("/"), "HTTP/1.1 200 OK\r\nContent-Length: 1000, 1000\r\n\r\n" + thousand}}}},
       {{kUrl + "/", Body(thousand)}}},
      {"Content-Length with blanks around it",
       {{{{PlainHead("/"), "HTTP/1.1 200 OK\r\nContent-Length:   1000 \t\r\n\r\n" + thousand}}}},
       {{kUrl + "/", Body(thousand)}}},
      {"two equal Content-Length lines",
       {{{{PlainHead("/"),
           "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\ncontent-length: 1000\r\n\r\n" + thousand}}}},
       {{kUrl + "/", Body(thousand)}}},
  };
  const struct {
    const char* name;
    const char* status;
    const char* lengthLines;
  } badLengths[] = {
      {"Content-Length past 32 bits", "200 OK", "Content-Length: 3000000000\r\n"},
      {"Content-Length one past the field", "200 OK", "Content-Length: 2147483648\r\n"},
      {"negative Content-Length", "200 OK", "Content-Length: -5\r\n"},
      {"Content-Length with letters", "200 OK", "Content-Length: 12abc\r\n"},
      {"Content-Length list of differing values", "200 OK", "Content-Length: 1000, 999\r\n"},
      {"differing Content-Length lines", "200 OK",
       "Content-Length: 1000\r\nContent-Length: 10\r\n"},
      {"empty Content-Length", "200 OK", "Content-Length:\r\n"},
      {"bad Content-Length on an error status", "404 Not Found", "Content-Length: 12abc\r\n"},
      {"bad Content-Length on a redirect", "302 Found",
       "Location: /elsewhere\r\nContent-Length: -5\r\n"},
  };
  for (const auto& b : badLengths) {
    cases.push_back({b.name,
                     {{{{PlainHead("/a"), std::string("HTTP/1.1 ") + b.status + "\r\n" +
                                              b.lengthLines + "\r\n" + thousand}},
                       false,
                       true},
                      {{{PlainHead("/b"), Ok("next")}}, false}},
                     {{kUrl + "/a", Raises("ENetException", invalidLength), closed},
                      {kUrl + "/b", Body("next")}},
                     [](TNetHTTP& http, int) { http.HandleRedirects = true; }});
  }
  return cases;
}

// The caller's stream receives nothing of a response whose length is bad.
TEST(ExchangeLocal, BadContentLengthLeavesTheStreamUntouched) {
  testsupport::ScriptServer server(
      testsupport::Script()
          .Send("HTTP/1.1 200 OK\r\nContent-Length: 3000000000\r\n\r\n" + std::string(1000, 'b'))
          .ReadUntilClosed());
  TNetHTTP http;
  http.ReadTimeout = 10000;
  TStringStream stream("kept");
  stream.SetPosition(4);
  EXPECT_THROW(http.Get("http://127.0.0.1:" + std::to_string(server.Port()) + "/", stream),
               ENetException);
  EXPECT_EQ(stream.DataString(), "kept");
  EXPECT_FALSE(http.IsConnected());
  EXPECT_TRUE(server.WaitFinished(1, 5000));
}

class Exchange : public ::testing::TestWithParam<Delivery> {};

INSTANTIATE_TEST_SUITE_P(Deliveries, Exchange,
                         ::testing::Values(Delivery::Whole, Delivery::Bytes, Delivery::Random),
                         [](const auto& info) { return testsupport::DeliveryName(info.param); });

TEST_P(Exchange, Table) {
  httptest::RunSeed();
  std::vector<ExchangeCase> cases = Cases();
  for (ExchangeCase& c : BrokenFramingCases()) cases.push_back(std::move(c));
  for (const ExchangeCase& c : cases) {
    ExchangeCase copy = c;
    if (std::string(c.name) == "OnRedirect may refuse") {
      copy.setup = [](TNetHTTP& http, int) {
        http.HandleRedirects = true;
        http.OnRedirect = [](TNetComponent*, AnsiString&, int&, bool& handled, TNetHTTPMethod&) {
          handled = false;
        };
      };
    }
    httptest::RunExchange(copy, GetParam());
  }
}

// Failures raised before anything is sent.
TEST(ExchangeLocal, EarlyFailures) {
  const struct {
    const char* name;
    const char* url;
    std::function<void(TNetHTTP&)> setup;
    const char* kind;
    const char* message;
  } cases[] = {
      {"https without a secure handler", "https://127.0.0.1/", nullptr, "ENetIOHandlerPropInvalid",
       "IOHandler value is not valid"},
      {"port that is not a number", "http://127.0.0.1:abc/", nullptr, "EConvertError",
       "'abc' is not a valid integer value"},
      {"unknown protocol without any port", "ftp://host/x",
       [](TNetHTTP& http) { http.CurrentURI().PortText.clear(); }, "ENetUnknownProtocol", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TNetHTTP http;
    if (c.setup) c.setup(http);
    try {
      http.GetString(c.url);
      ADD_FAILURE() << "no exception";
    } catch (const std::exception& e) {
      EXPECT_EQ(httptest::ExceptionKind(e), c.kind);
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(http.PassCount(), 0);
  }
}

TEST(ExchangeLocal, MethodsOfHttp11Only) {
  TNetHTTP http;
  http.ProtocolVersion = pv1_0;
  try {
    http.PerformRequest(hmOptions, "http://127.0.0.1:1/", nullptr, nullptr);
    FAIL();
  } catch (const ENetException& e) {
    EXPECT_EQ(e.Message, "This request method is supported in HTTP 1.1");
  }
}

TEST(ExchangeLocal, PrepareTargetResolvesAgainstThePreviousTarget) {
  TNetHTTP http;
  const struct {
    const char* url;
    const char* target;
    const char* host;
  } steps[] = {
      {"http://h.example:8080/a/b/c?q=1", "/a/b/c?q=1", "h.example:8080"},
      {"d/e", "/a/b/d/e", "h.example:8080"},
      {"../f", "/a/b/f", "h.example:8080"},
      {"/x", "/x", "h.example:8080"},
      {"http://other/", "/", "other"},
      {"https://s/", "/", "s:443"},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.url);
    http.Request().Target = s.url;
    TNetHTTPTestSeam::PrepareTarget(http);
    EXPECT_EQ(http.Request().Target, s.target);
    EXPECT_EQ(http.Request().Host, s.host);
    EXPECT_EQ(http.Request().ContentLength, -1);
  }
}

}  // namespace
