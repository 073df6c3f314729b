#include "exchange_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <random>

#include "core/exceptions.h"
#include "http/uri.h"

namespace httptest {

Outcome Body(std::string body) {
  Outcome o;
  o.body = std::move(body);
  return o;
}

Outcome Raises(std::string kind, std::string message, int code, std::string replyBody) {
  Outcome o;
  o.kind = std::move(kind);
  o.message = std::move(message);
  o.code = code;
  o.replyBody = std::move(replyBody);
  return o;
}

uint32_t RunSeed() {
  static const uint32_t seed = [] {
    const char* given = std::getenv("QD_HTTP_SEED");
    const uint32_t s = given != nullptr ? static_cast<uint32_t>(std::stoul(given))
                                        : static_cast<uint32_t>(std::random_device{}());
    std::printf("random split seed: %u (set QD_HTTP_SEED to repeat)\n", s);
    return s;
  }();
  return seed;
}

void ConfigureLikeUpdater(TNetHTTP& http) {
  http.AllowCookies = true;
  http.HandleRedirects = true;
  http.HTTPOptions = hoForceEncodeParams;
  http.MaxLineAction = maException;
  http.Request().Accept = "text/html, */*";
  http.Request().UserAgent = "Mozilla/3.0";
  http.Request().BasicAuthentication = false;
  http.ProxyParams.BasicAuthentication = true;
  http.ProxyParams.ProxyPort = 0;
}

std::string ExceptionKind(const std::exception& e) {
#define QD_KIND(Class) \
  if (dynamic_cast<const Class*>(&e) != nullptr) return #Class
  QD_KIND(ENetHTTPProtocolException);
  QD_KIND(ENetProtocolReplyError);
  QD_KIND(ENetConnClosedGracefully);
  QD_KIND(ENetReadTimeout);
  QD_KIND(ENetReadLnMaxLineLengthExceeded);
  QD_KIND(ENetUnknownProtocol);
  QD_KIND(ENetIOHandlerPropInvalid);
  QD_KIND(ENetURIException);
  QD_KIND(ENetSocketError);
  QD_KIND(ENetNotConnected);
  QD_KIND(ENetException);
  QD_KIND(EConvertError);
  QD_KIND(Exception);
#undef QD_KIND
  return "std::exception";
}

std::string WithPort(std::string text, int port) {
  const std::string p = std::to_string(port);
  for (size_t at = text.find("{PORT}"); at != std::string::npos; at = text.find("{PORT}", at)) {
    text.replace(at, 6, p);
  }
  return text;
}

namespace {

// The server side of the case: one script per connection. The port is not
// known before the server listens, so the scripts are made from a server
// that only reserves it.
std::vector<testsupport::Script> Scripts(const ExchangeCase& c, testsupport::Delivery delivery,
                                         int port) {
  std::vector<testsupport::Script> scripts;
  for (const Connection& conn : c.connections) {
    testsupport::Script s;
    for (const Turn& turn : conn.turns) {
      s.ExpectHead(WithPort(turn.head, port));
      const auto pieces = testsupport::Split(WithPort(turn.response, port), delivery, RunSeed());
      s.SendPieces(pieces, delivery == testsupport::Delivery::Random ? 1 : 0);
    }
    if (conn.serverCloses) {
      s.Close();
    } else {
      s.ReadUntilClosed();
    }
    scripts.push_back(std::move(s));
  }
  return scripts;
}

}  // namespace

void RunExchange(const ExchangeCase& c, testsupport::Delivery delivery) {
  SCOPED_TRACE(c.name);
  testsupport::ScriptServer server([&](int port) { return Scripts(c, delivery, port); });
  const int port = server.Port();
  auto http = std::make_unique<TNetHTTP>();
  http->ReadTimeout = 10000;
  if (delivery == testsupport::Delivery::Bytes) http->RecvBufferSize = 1;
  if (c.setup) c.setup(*http, port);
  size_t closedBefore = 0;
  for (size_t i = 0; i < c.requests.size(); ++i) {
    const Request& r = c.requests[i];
    SCOPED_TRACE("request " + std::to_string(i));
    // A connection that the server closes is let finish first, so that the
    // client sees the close before it sends again.
    size_t closing = 0;
    for (size_t k = 0; k < server.Accepted(); ++k) {
      if (c.connections[k].serverCloses) ++closing;
    }
    if (closing > closedBefore) {
      EXPECT_TRUE(server.WaitFinished(closing, 5000));
      closedBefore = closing;
    }
    Outcome got;
    try {
      got.body = http->GetString(WithPort(r.url, port));
    } catch (const std::exception& e) {
      got.kind = ExceptionKind(e);
      got.message = e.what();
      if (const auto* p = dynamic_cast<const ENetProtocolReplyError*>(&e)) got.code = p->ReplyCode;
      if (const auto* h = dynamic_cast<const ENetHTTPProtocolException*>(&e)) {
        got.replyBody = h->ReplyBody;
      }
    }
    EXPECT_EQ(got.kind, r.outcome.kind);
    EXPECT_EQ(got.message, WithPort(r.outcome.message, port));
    EXPECT_EQ(got.code, r.outcome.code);
    EXPECT_EQ(got.replyBody, r.outcome.replyBody);
    EXPECT_EQ(got.body, r.outcome.body);
    EXPECT_EQ(http->PassCount(), 0);
    if (r.check) r.check(*http);
  }
  http.reset();
  EXPECT_EQ(server.Accepted(), c.connections.size());
  EXPECT_TRUE(server.WaitFinished(server.Accepted(), 5000));
  for (const std::string& failure : server.Failures()) {
    bool expected = false;
    for (size_t k = 0; k < c.connections.size(); ++k) {
      expected = expected || (c.connections[k].clientAborts &&
                              failure == "session " + std::to_string(k) + ": send failed");
    }
    if (!expected) ADD_FAILURE() << failure;
  }
}

}  // namespace httptest
