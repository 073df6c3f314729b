// Exchanges over the in-memory handler: long redirect chains, the caller's
// stream, work events and the memory a large body takes.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "http/http_client.h"
#include "net/memory/memory_io_handler.h"

namespace {

std::string Redirect(int to) {
  return "HTTP/1.1 302 Found\r\nLocation: /r" + std::to_string(to) +
         "\r\nContent-Length: 3\r\n\r\nabc";
}

// One kept connection that answers every request with a redirect to the
// next number, count times, then with a body.
std::string Chain(int count) {
  std::string all;
  for (int i = 1; i <= count; ++i) all += Redirect(i);
  return all + "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\ndone";
}

int RequestsIn(const std::string& sent) {
  int n = 0;
  for (size_t at = sent.find("GET "); at != std::string::npos; at = sent.find("GET ", at + 1)) ++n;
  return n;
}

TEST(RedirectChain, MaximumTable) {
  const struct {
    int maximum;
    int redirects;  // in the chain before the body
    const char* body;
    const char* location;
    int requests;
  } cases[] = {
      {15, 14, "done", "", 15},  // 14 redirects followed
      {15, 15, "", "/r15", 15},  // the 15th ends the request with no body
      {1, 1, "", "/r1", 1},     {0, 1, "", "/r1", 1}, {2, 1, "done", "", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("maximum " + std::to_string(c.maximum) + ", chain " + std::to_string(c.redirects));
    testsupport::MemoryIOHandler handler({Chain(c.redirects)});
    handler.CloseWhenDone = false;
    TNetHTTP http;
    http.SetIOHandler(&handler);
    http.HandleRedirects = true;
    http.RedirectMaximum = c.maximum;
    EXPECT_EQ(http.GetString("http://h.example/start"), c.body);
    EXPECT_EQ(http.Response().Location, c.location);
    EXPECT_EQ(RequestsIn(handler.Sent), c.requests);
    EXPECT_EQ(handler.Connects, 1u);
  }
}

TEST(RedirectChain, AfterAnExceptionTheCountStartsAgain) {
  testsupport::MemoryIOHandler handler(
      {"HTTP/1.1 302 Found\r\nLocation: /x\r\nContent-Length: 0\r\n\r\n"
       "HTTP/1.1 500 Bad\r\nContent-Length: 0\r\n\r\n" +
       Chain(2)});
  handler.CloseWhenDone = false;
  TNetHTTP http;
  http.SetIOHandler(&handler);
  http.HandleRedirects = true;
  http.RedirectMaximum = 3;
  EXPECT_THROW(http.GetString("http://h.example/a"), ENetHTTPProtocolException);
  EXPECT_EQ(http.PassCount(), 0);
  EXPECT_EQ(http.GetString("http://h.example/b"), "done");
}

TEST(CallerStream, RedirectsTruncateToTheStartingPosition) {
  testsupport::MemoryIOHandler handler({Chain(1)});
  handler.CloseWhenDone = false;
  TNetHTTP http;
  http.SetIOHandler(&handler);
  http.HandleRedirects = true;
  TStringStream stream("prefix:");
  stream.Seek(0, soEnd);
  http.Get("http://h.example/a", stream);
  EXPECT_EQ(stream.DataString(), "prefix:done");
}

TEST(CallerStream, ErrorBodyNeverReachesIt) {
  testsupport::MemoryIOHandler handler({"HTTP/1.1 403 No\r\nContent-Length: 4\r\n\r\nsecr"});
  TNetHTTP http;
  http.SetIOHandler(&handler);
  TStringStream stream;
  EXPECT_THROW(http.Get("http://h.example/a", stream), ENetHTTPProtocolException);
  EXPECT_EQ(stream.DataString(), "");
}

TEST(WorkEvents, BodyProgress) {
  const std::string body(100000, 'b');
  testsupport::MemoryIOHandler handler(
      {"HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + body});
  handler.PieceSize = 7000;
  TNetHTTP http;
  http.SetIOHandler(&handler);
  int64_t begun = -1;
  int64_t last = 0;
  int ends = 0;
  http.OnWorkBegin = [&](TNetComponent*, TWorkMode mode, int64_t max) {
    if (mode == wkRead && max > 0) begun = max;
  };
  http.OnWork = [&](TNetComponent*, TWorkMode mode, int64_t count) {
    if (mode == wkRead) {
      EXPECT_GE(count, last);
      last = count;
    }
  };
  http.OnWorkEnd = [&](TNetComponent*, TWorkMode mode) { ends += mode == wkRead ? 1 : 0; };
  EXPECT_EQ(http.GetString("http://h.example/a"), body);
  EXPECT_EQ(begun, 100000);
  EXPECT_GE(last, 100000);
  EXPECT_GE(ends, 1);
}

// Sends a head and then size bytes made up on the fly, so that the test
// itself holds no copy of the body: counted, or chunked in pieces of 64 KiB.
class GeneratedBody : public testsupport::MemoryIOHandler {
 public:
  GeneratedBody(int64_t size, bool chunked)
      : MemoryIOHandler({""}),
        head(chunked ? "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                     : "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n"),
        chunked(chunked),
        left(size) {}
  int ReceiveInto(void* buffer, int length) override {
    char* out = static_cast<char*>(buffer);
    int n = 0;
    while (n < length) {
      if (headAt < head.size()) {
        out[n++] = head[headAt++];
        continue;
      }
      if (chunked && inChunk == 0) {
        if (left == 0 && ended) break;
        inChunk = std::min<int64_t>(left, 1 << 16);
        left -= inChunk;
        ended = inChunk == 0;
        // The chunk's size line, and before every chunk but the first the
        // end of the previous one's data.
        head = (first ? "" : "\r\n") + Hex(inChunk) + "\r\n" + (ended ? "\r\n" : "");
        headAt = 0;
        first = false;
        continue;
      }
      int64_t& pool = chunked ? inChunk : left;
      const int64_t body = std::min<int64_t>(length - n, pool);
      if (body == 0) break;
      std::memset(out + n, 'g', static_cast<size_t>(body));
      pool -= body;
      n += static_cast<int>(body);
    }
    return n;
  }

 private:
  static std::string Hex(int64_t v) {
    char text[32];
    std::snprintf(text, sizeof text, "%llx", static_cast<long long>(v));
    return text;
  }
  std::string head;
  size_t headAt = 0;
  bool chunked;
  bool first = true;
  bool ended = false;
  int64_t left;
  int64_t inChunk = 0;
};

int64_t StatusKiB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0) return std::stoll(line.substr(std::strlen(field)));
  }
  return -1;
}

// A body of 200 MiB takes at most itself and 8 MiB, whether its length is
// known from the start or not.
TEST(Memory, LargeBodyTakesLittleMoreThanItself) {
  for (const bool chunked : {false, true}) {
    SCOPED_TRACE(chunked ? "chunked" : "counted");
    // The peak resident size is reset here, so the peak below is the one of
    // the request.
    { std::ofstream("/proc/self/clear_refs") << "5"; }
    const int64_t before = StatusKiB("VmRSS:");
    constexpr int64_t size = 200 << 20;
    GeneratedBody handler(size, chunked);
    TNetHTTP http;
    http.SetIOHandler(&handler);
    const AnsiString body = http.GetString("http://h.example/big");
    const int64_t peak = StatusKiB("VmHWM:");
    ASSERT_EQ(static_cast<int64_t>(body.size()), size);
    EXPECT_EQ(body[0], 'g');
    EXPECT_EQ(body[size - 1], 'g');
    EXPECT_EQ(body.find_first_not_of('g'), std::string::npos);
    if (before < 0 || peak < 0) GTEST_SKIP() << "no /proc/self/status";
    std::printf("%s body of %lld MiB: peak %lld KiB above the start\n",
                chunked ? "chunked" : "counted", static_cast<long long>(size >> 20),
                static_cast<long long>(peak - before));
    EXPECT_LT((peak - before) * 1024, size + (8 << 20));
  }
}

}  // namespace

namespace {

TEST(FailedExchange, LeavesNoRestForTheNextRequest) {
  std::string manyLines;
  for (int i = 0; i < 1001; ++i) manyLines += "X-" + std::to_string(i) + ": v\r\n";
  const struct {
    const char* name;
    std::string first;
    const char* kind;
  } cases[] = {
      {"head too large", "HTTP/1.1 200 OK\r\n" + manyLines + "\r\n", "ENetException"},
      {"chunk size too large",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n7fffffffffff\r\nrest",
       "ENetException"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::MemoryIOHandler handler(
        {c.first, "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"});
    handler.CloseWhenDone = false;
    TNetHTTP http;
    http.SetIOHandler(&handler);
    EXPECT_THROW(http.GetString("http://h.example/a"), ENetException);
    EXPECT_EQ(http.GetString("http://h.example/b"), "ok");
    EXPECT_EQ(handler.Connects, 2u);
  }
}

TEST(FailedExchange, ErrorStatusKeepsTheConnection) {
  testsupport::MemoryIOHandler handler(
      {"HTTP/1.1 404 No\r\nContent-Length: 3\r\n\r\nabcHTTP/1.1 200 OK\r\nContent-Length: "
       "2\r\n\r\nok"});
  handler.CloseWhenDone = false;
  TNetHTTP http;
  http.SetIOHandler(&handler);
  EXPECT_THROW(http.GetString("http://h.example/a"), ENetHTTPProtocolException);
  EXPECT_EQ(http.GetString("http://h.example/b"), "ok");
  EXPECT_EQ(handler.Connects, 1u);
}

}  // namespace

namespace {

const char* const kChallenge =
    "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"r\"\r\nContent-Length: 6\r\n\r\n"
    "denied";

TEST(Challenge, AnswerTable) {
  const struct {
    const char* name;
    bool inProcess;
    bool handlerGives;  // the OnAuthorization handler supplies credentials
    const char* body;   // empty: ENetHTTPProtocolException 401
    const char* secondHead;
  } cases[] = {
      // Answered by the handler alone: the challenge's body is the result.
      {"handler without in-process", false, true, "denied", nullptr},
      {"handler refuses", false, false, "", nullptr},
      {"in-process with the handler's credentials", true, true, "welcome",
       "Authorization: Basic dTpw\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::MemoryIOHandler handler(
        {std::string(kChallenge) + "HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\nwelcome"});
    handler.CloseWhenDone = false;
    TNetHTTP http;
    http.SetIOHandler(&handler);
    if (c.inProcess) http.HTTPOptions = hoInProcessAuth;
    int asked = 0;
    http.OnAuthorization = [&](TNetComponent*, TNetAuthentication* auth, bool& handled) {
      ++asked;
      handled = c.handlerGives;
      auth->SetUsername("u");
      auth->SetPassword("p");
    };
    if (*c.body != '\0') {
      EXPECT_EQ(http.GetString("http://h.example/a"), c.body);
    } else {
      try {
        http.GetString("http://h.example/a");
        ADD_FAILURE() << "no exception";
      } catch (const ENetHTTPProtocolException& e) {
        EXPECT_EQ(e.ReplyCode, 401);
        EXPECT_EQ(e.ReplyBody, "denied");
      }
    }
    EXPECT_EQ(asked, 1);
    if (c.secondHead != nullptr) {
      EXPECT_NE(handler.Sent.find(std::string("GET /a HTTP/1.1\r\n")), std::string::npos);
      EXPECT_NE(handler.Sent.find(c.secondHead), std::string::npos);
      EXPECT_EQ(http.Request().Username, "u");
      EXPECT_TRUE(http.Request().BasicAuthentication);
    }
  }
}

TEST(Challenge, RetriesAreBounded) {
  std::string challenges;
  for (int i = 0; i < 10; ++i) challenges += kChallenge;
  testsupport::MemoryIOHandler handler({challenges});
  handler.CloseWhenDone = false;
  TNetHTTP http;
  http.SetIOHandler(&handler);
  http.HTTPOptions = hoInProcessAuth;
  http.Request().Username = "u";
  EXPECT_THROW(http.GetString("http://h.example/a"), ENetHTTPProtocolException);
  // AuthRetries (3) answered challenges, and the fourth gives up.
  EXPECT_EQ(RequestsIn(handler.Sent), 4);
  EXPECT_EQ(http.Request().Authenticator->RetryCount, 0);
}

TEST(RedirectEvent, MayChangeTheTarget) {
  testsupport::MemoryIOHandler handler(
      {"HTTP/1.1 302 Found\r\nLocation: /planned\r\nContent-Length: 0\r\n\r\n"
       "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"});
  handler.CloseWhenDone = false;
  TNetHTTP http;
  http.SetIOHandler(&handler);
  http.HandleRedirects = true;
  int seen = -1;
  http.OnRedirect = [&](TNetComponent*, AnsiString& dest, int& count, bool& handled,
                        TNetHTTPMethod&) {
    EXPECT_EQ(dest, "/planned");
    EXPECT_TRUE(handled);
    seen = count;
    count = 99;
    dest = "/chosen";
  };
  EXPECT_EQ(http.GetString("http://h.example/a"), "ok");
  EXPECT_EQ(seen, 1);
  EXPECT_NE(handler.Sent.find("GET /chosen HTTP/1.1"), std::string::npos);
}

TEST(StatusEvents, ChunkedBodyReportsItsStart) {
  testsupport::MemoryIOHandler handler(
      {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nhi\r\n0\r\n\r\n"});
  TNetHTTP http;
  http.SetIOHandler(&handler);
  std::vector<std::string> texts;
  http.OnStatus = [&](TNetComponent*, TNetStatus status, const AnsiString& text) {
    if (status == stText) texts.push_back(text);
  };
  EXPECT_EQ(http.GetString("http://h.example/a"), "hi");
  EXPECT_EQ(texts, std::vector<std::string>{"Chunk Started"});
}

}  // namespace

namespace {

TEST(Endpoint, ChangesCloseTheKeptConnection) {
  const std::string ok = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";
  testsupport::MemoryIOHandler handler({ok + ok, ok + ok, ok});
  handler.CloseWhenDone = false;
  TNetHTTP http;
  http.SetIOHandler(&handler);
  EXPECT_EQ(http.GetString("http://a.example/1"), "ok");
  EXPECT_EQ(http.GetString("http://A.EXAMPLE/2"), "ok");  // same host in other case
  EXPECT_EQ(handler.Connects, 1u);
  http.ProxyParams.ProxyServer = "proxy.example";
  http.ProxyParams.ProxyPort = 3128;
  EXPECT_EQ(http.GetString("http://a.example/3"), "ok");
  EXPECT_EQ(http.GetString("http://b.example/4"), "ok");  // the proxy stays the endpoint
  EXPECT_EQ(handler.Connects, 2u);
  EXPECT_EQ(http.Host(), "proxy.example");
  EXPECT_EQ(http.Port(), 3128);
  http.ProxyParams.ProxyServer.clear();
  EXPECT_EQ(http.GetString("http://b.example:8080/5"), "ok");
  EXPECT_EQ(handler.Connects, 3u);
  EXPECT_NE(handler.Sent.find("GET http://b.example:80/4 HTTP/1.1\r\nHost: b.example\r\n"),
            std::string::npos);
  EXPECT_NE(handler.Sent.find("GET /5 HTTP/1.1\r\nHost: b.example:8080\r\n"), std::string::npos);
}

}  // namespace
