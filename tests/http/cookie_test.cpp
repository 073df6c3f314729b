#include <gtest/gtest.h>

#include <thread>

#include "core/exceptions.h"
#include "http/cookie_manager.h"
#include "http/internet_date.h"

namespace {

AnsiString HeaderFor(TNetCookieManager& m, const char* url, bool secure = false) {
  return m.BuildCookieHeader(TNetURI(url), secure);
}

int StoredCookies(TNetCookieManager& m) {
  int n = 0;
  auto& keys = m.CookieStore().LockLists(acRead);
  for (const auto& key : keys) n += static_cast<int>(key.Names->size());
  m.CookieStore().UnlockLists(acRead);
  return n;
}

TEST(Cookie, ParseTable) {
  const struct {
    const char* text;
    const char* name;
    const char* value;
    const char* path;
    const char* domain;
    bool secure;
    const char* formatted;
  } cases[] = {
      {"SID=42; path=/", "SID", "42", "/", "", false, "SID=42; path=/"},
      {"a=b; Path=\"/x/\"; Domain=.ex.org; secure", "a", "b", "/x/", ".ex.org", true,
       "a=b; path=/x/; domain=.ex.org; secure"},
      {"a=b;path=/one;PATH=/two", "a", "b", "/one", "", false, "a=b; path=/one"},
      {"a=b=c", "a", "b=c", "", "", false, "a=b=c"},
      {"noequals", "", "noequals", "", "", false, "=noequals"},
      {"e=; path=/", "e", "", "/", "", false, "path=/"},
      {"  x=1 ;  path=\" ; ", "x", "1", "", "", false, "x=1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    TNetNetscapeCookie cookie;
    cookie.SetCookieText(c.text);
    EXPECT_EQ(cookie.CookieName, c.name);
    EXPECT_EQ(cookie.CookieValue, c.value);
    EXPECT_EQ(cookie.CookiePath, c.path);
    EXPECT_EQ(cookie.CookieDomain, c.domain);
    EXPECT_EQ(cookie.IsSecure, c.secure);
    EXPECT_EQ(cookie.FormatServerCookie(), c.formatted);
  }
}

TEST(Cookie, MaxAgeGivesExpiryText) {
  TNetCookieRFC2109 cookie;
  EXPECT_EQ(cookie.CookieStyle, 1);
  cookie.SetCookieText("a=1; max-age=60; version=1; comment=hi");
  EXPECT_EQ(cookie.CookieStyle, 0);
  EXPECT_EQ(cookie.MaxAgeSeconds, 60);
  EXPECT_EQ(cookie.CookieVersion, "1");
  EXPECT_EQ(cookie.CookieComment, "hi");
  ASSERT_FALSE(cookie.ExpiresText.empty());
  const double ahead = (InternetDateToLocal(cookie.ExpiresText) - LocalNow()) * 86400.0;
  EXPECT_NEAR(ahead, 60, 2);
  // Huge lifetimes stay within the date range.
  TNetCookieRFC2109 forever;
  forever.SetCookieText("a=1; max-age=999999999999999999");
  EXPECT_GT(InternetDateToLocal(forever.ExpiresText), LocalNow() + 365 * 50);
}

TEST(Cookie, Rfc2965Ports) {
  const struct {
    const char* text;
    std::vector<int32_t> ports;
  } cases[] = {{"a=1; Port=\"80,8080\"", {80, 8080}},
               {"a=1", {80}},
               {"a=1; Port=\"\"", {80}},
               {"a=1; Port=8080", {}},
               {"a=1; Port", {80}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    TNetCookieRFC2965 cookie;
    cookie.SetCookieText(c.text);
    EXPECT_EQ(cookie.AllowedPorts, c.ports);
  }
  TNetCookieRFC2965 cookie;
  cookie.SetCookieText("a=1; Discard; CommentURL=http://x/");
  EXPECT_TRUE(cookie.DiscardFlag);
  EXPECT_EQ(cookie.CommentAddress, "http://x/");
  EXPECT_THROW(cookie.SetAllowedPort(5, 1), ENetException);
}

TEST(Cookie, DomainMatchTable) {
  const struct {
    const char* domain;
    const char* host;
    bool matches;
  } cases[] = {
      {"example.org", "example.org", true},
      {"example.org", "www.example.org", true},
      {"example.org", "badexample.org", false},  // not on a label boundary
      {".example.org", "www.example.org", true},
      {".example.org", "a.b.example.org", true},
      {".example.org", "www.evil-example.org", false},
      {".example.org", "example.org", false},
      {"Example.org", "www.example.org", false},
      {"10.0.0.1", "10.0.0.1", true},
      {"0.0.1", "10.0.0.1", false},
      {"www.example.org", "example.org", false},
      {"", "host.", false},  // an empty domain is no suffix of anything
      {"", "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.domain) + " / " + c.host);
    TNetNetscapeCookie cookie;
    cookie.CookieDomain = c.domain;
    EXPECT_EQ(cookie.DomainMatches(c.host), c.matches);
  }
}

TEST(CookieHelpers, Table) {
  EXPECT_TRUE(IsDottedQuad("1.2.3.4"));
  EXPECT_TRUE(IsDottedQuad(" 255.0.0.255.9 "));
  EXPECT_FALSE(IsDottedQuad("1.2.3"));
  EXPECT_FALSE(IsDottedQuad("1.2.3.256"));
  EXPECT_FALSE(IsPlainHostName(".a.b"));
  EXPECT_TRUE(IsPlainHostName("a.b"));
  EXPECT_EQ(DomainOfHost("www.a.b"), ".a.b");
  EXPECT_EQ(DomainOfHost("host"), "host");
  EXPECT_EQ(RightPart("abc", 5), "abc");
  EXPECT_EQ(RightPart("abc", 2), "bc");
}

TEST(CookieManager, SentBackForMatchingPaths) {
  TNetCookieManager m;
  m.AddSetCookie("SID=42; path=/", "ex.org");
  EXPECT_EQ(HeaderFor(m, "http://ex.org/"), "SID=42");
  EXPECT_EQ(HeaderFor(m, "http://ex.org/a/b.html"), "SID=42");
  EXPECT_EQ(HeaderFor(m, "http://other.org/"), "");
  m.AddSetCookie("SID=43; path=/", "ex.org");
  EXPECT_EQ(StoredCookies(m), 1);
  EXPECT_EQ(HeaderFor(m, "http://ex.org/"), "SID=43");
  m.AddSetCookie("SID=44; path=/docs/", "ex.org");
  EXPECT_EQ(StoredCookies(m), 2);
}

TEST(CookieManager, MoreSpecificPathsFirst) {
  TNetCookieManager m;
  m.AddSetCookie("root=1; path=/", "ex.org");
  m.AddSetCookie("docs=2; path=/docs/", "ex.org");
  m.AddSetCookie("other=3; path=/", "ex.org");
  EXPECT_EQ(HeaderFor(m, "http://ex.org/docs/a.html"), "docs=2; other=3; root=1");
  EXPECT_EQ(HeaderFor(m, "http://ex.org/doc"), "other=3; root=1");
}

TEST(CookieManager, SelectionTable) {
  TNetCookieManager m;
  m.AddSetCookie("s=1; path=/; secure", "ex.org");
  m.AddSetCookie("empty=; path=/", "ex.org");
  m.AddSetCookie("nopath=1", "ex.org");
  m.AddSetCookie("dom=1; path=/; domain=.ex.org", "www.ex.org");
  m.AddSetCookie("caps=1; path=/A/", "ex.org");
  const struct {
    const char* url;
    bool secure;
    const char* header;
  } cases[] = {
      {"http://ex.org/", false, ""},
      {"http://ex.org/", true, "s=1"},
      {"http://www.ex.org/", false, "dom=1"},
      {"http://a.www.ex.org/", false, "dom=1"},
      {"http://ex.org/a/", false, ""},
      {"http://ex.org/A/x", false, "caps=1"},
      // Not a domain match although the stored key occurs in the text.
      {"http://evil.org/ex.org/", false, ""},
      {"http://notex.org/", false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(HeaderFor(m, c.url, c.secure), c.header);
  }
}

TEST(CookieManager, DomainAttributeTable) {
  const struct {
    const char* text;
    const char* host;
    bool stored;
  } cases[] = {
      {"a=1; path=/; domain=.ex.org", "www.ex.org", true},
      {"a=1; path=/; domain=.ex.org", "www.other.org", false},
      {"a=1; path=/; domain=.com", "www.ex.com", false},
      {"a=1; path=/; domain=com", "ex.com", false},
      {"a=1; path=/; domain=.", "ex.com", false},
      {"a=1; path=/; domain=localhost", "localhost", true},
      {"a=1; path=/; domain=EX.org", "ex.org", false},
      {"a=1; path=/; domain=ex.org", "badex.org", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " from " + c.host);
    TNetCookieManager m;
    m.AddSetCookie(c.text, c.host);
    EXPECT_EQ(StoredCookies(m), c.stored ? 1 : 0);
    EXPECT_EQ(m.CookieStore().Count(), c.stored ? 1 : 0);
  }
}

TEST(CookieManager, ExpiredCookiesAreDropped) {
  TNetCookieManager m;
  m.AddSetCookie("old=1; path=/; expires=Sun, 06 Nov 1994 08:49:37 GMT", "ex.org");
  m.AddSetCookie("new=1; path=/; expires=Fri, 01 Jan 2100 00:00:00 GMT", "ex.org");
  m.AddSetCookie("session=1; path=/", "ex.org");
  EXPECT_EQ(StoredCookies(m), 3);
  EXPECT_EQ(HeaderFor(m, "http://ex.org/"), "session=1; new=1");
  EXPECT_EQ(StoredCookies(m), 2);
  EXPECT_EQ(m.CookieStore().Count(), 2);
}

TEST(CookieManager, NewCookieEventMayRefuse) {
  TNetCookieManager m;
  int asked = 0;
  m.OnNewCookie = [&](TNetCookieManager*, TNetCookieRFC2109* c, bool& accept) {
    ++asked;
    accept = c->CookieName != "no";
  };
  m.AddSetCookie("no=1; path=/", "ex.org");
  m.AddSetCookie("yes=1; path=/", "ex.org");
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(HeaderFor(m, "http://ex.org/"), "yes=1");
  EXPECT_EQ(m.CookieStore().Count(), 1);
}

TEST(CookieManager, BadPortLeavesNothingBehind) {
  TNetCookieManager m;
  EXPECT_THROW(m.AddSetCookie2("a=1; path=/; Port=\"80,x\"", "ex.org"), EConvertError);
  EXPECT_EQ(m.CookieStore().Count(), 0);
  m.AddSetCookie2("b=1; path=/; Port=\"80,8080\"", "ex.org");
  EXPECT_EQ(HeaderFor(m, "http://ex.org/"), "b=1");
}

TEST(CookieManager, EventsAtCreateAndDestroy) {
  int created = 0;
  int destroyed = 0;
  {
    TNetCookieManager m([&](TNetCookieManager*, TNetCookies*) { ++created; });
    m.OnDestroy = [&](TNetCookieManager*, TNetCookies*) { ++destroyed; };
  }
  EXPECT_EQ(created, 1);
  EXPECT_EQ(destroyed, 1);
}

TEST(CookieManager, StoreIsBounded) {
  TNetCookieManager m;
  for (size_t i = 0; i < TNetCookies::MaxCookies + 50; ++i) {
    m.AddSetCookie("c" + std::to_string(i) + "=1; path=/", "ex.org");
  }
  EXPECT_LE(static_cast<size_t>(m.CookieStore().Count()), TNetCookies::MaxCookies + 1);
}

TEST(CookieManager, SharedAcrossThreads) {
  TNetCookieManager m;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&m, t] {
      for (int i = 0; i < 200; ++i) {
        m.AddSetCookie("t" + std::to_string(t) + "=" + std::to_string(i) + "; path=/", "ex.org");
        m.BuildCookieHeader(TNetURI("http://ex.org/"), false);
      }
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(StoredCookies(m), 4);
  EXPECT_EQ(m.CookieStore().Count(), 4);
}

}  // namespace
