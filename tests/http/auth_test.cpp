#include <gtest/gtest.h>

#include "core/streams.h"
#include "http/authentication.h"
#include "http/encoder_mime.h"
#include "http/proxy_info.h"

namespace {

TEST(EncoderMIME, Table) {
  const struct {
    std::string in, out;
  } cases[] = {{"", ""},
               {"f", "Zg=="},
               {"fo", "Zm8="},
               {"foo", "Zm9v"},
               {"foob", "Zm9vYg=="},
               {"fooba", "Zm9vYmE="},
               {"foobar", "Zm9vYmFy"},
               {":", "Og=="},
               {std::string("\0\xff\xfe", 3), "AP/+"}};
  for (const auto& c : cases) EXPECT_EQ(TNetEncoderMIME::EncodeText(c.in), c.out) << c.in;
  // No line breaks however long.
  EXPECT_EQ(TNetEncoderMIME::EncodeText(std::string(300, 'a')).size(), 400u);
}

TEST(EncoderMIME, CountMustBeMultipleOfThree) {
  TStringStream s("abcdef");
  TNetEncoderMIME e;
  EXPECT_EQ(e.EncodeStream(s, 3), "YWJj");
  try {
    e.EncodeStream(s, 2);
    FAIL();
  } catch (const ENetException& ex) {
    EXPECT_EQ(ex.Message, "Uneven size in Encode.");
  }
}

TEST(BasicAuthentication, ValueAndEvaluation) {
  TNetBasicAuthentication auth;
  EXPECT_EQ(auth.AuthorizationValue(), "Basic Og==");
  TStringList challenge;
  challenge.Add("NTLM");
  challenge.Add("Basic realm=\"site\", charset=\"x\"");
  auth.SetChallenge(challenge);
  EXPECT_EQ(auth.NextAction(), aaAskProgram);
  EXPECT_EQ(auth.Realm, "site");
  EXPECT_EQ(auth.RetryCount, 1);
  auth.SetUsername("a:b");
  auth.SetPassword("p");
  EXPECT_EQ(auth.NextAction(), aaSend);
  EXPECT_EQ(auth.RetryCount, 2);
  // Base64 of "a:b:p": the user name is sent as it is, colon and all.
  EXPECT_EQ(auth.AuthorizationValue(), "Basic YTpiOnA=");
  auth.Reset();
  EXPECT_EQ(auth.RetryCount, 0);
}

TEST(BasicAuthentication, LowerCaseSchemeHasNoRealm) {
  TNetBasicAuthentication auth;
  TStringList challenge;
  challenge.Add("basic realm=\"site\"");
  auth.SetChallenge(challenge);
  auth.NextAction();
  EXPECT_EQ(auth.Realm, "");
}

TEST(AuthRegistry, FindAndRefuseTwice) {
  EXPECT_TRUE(FindAuthScheme("basic"));
  EXPECT_TRUE(FindAuthScheme("BASIC"));
  EXPECT_FALSE(FindAuthScheme("NTLM"));
  try {
    RegisterAuthScheme("Basic", BasicAuthenticationClass());
    FAIL();
  } catch (const ENetAlreadyRegisteredAuthenticationMethod& e) {
    EXPECT_EQ(e.Message,
              "This authentication method is already registered with class name "
              "TNetBasicAuthentication.");
  }
}

AnsiString ProxyHeader(TNetProxyConnectionInfo& proxy) {
  TNetHeaderList lines;
  proxy.AddProxyHeaders(lines);
  return lines.GetHeader("Proxy-Authorization");
}

TEST(ProxyRecord, HeaderTable) {
  const struct {
    const char* name;
    const char* server;
    const char* user;
    const char* password;
    bool basic;
    const char* header;
  } cases[] = {
      {"no proxy, no credentials", "", "", "", true, "Basic Og=="},
      {"proxy with credentials", "proxy", "user", "pw", true, "Basic dXNlcjpwdw=="},
      // Credentials never go to a server that is not the proxy.
      {"no proxy, credentials withheld", "", "user", "pw", true, "Basic Og=="},
      {"no proxy, password alone withheld", "", "", "pw", true, "Basic Og=="},
      {"basic off", "proxy", "user", "pw", false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TNetProxyConnectionInfo proxy;
    proxy.ProxyServer = c.server;
    proxy.ProxyPort = 3128;
    proxy.ProxyUsername = c.user;
    proxy.ProxyPassword = c.password;
    proxy.BasicAuthentication = c.basic;
    EXPECT_EQ(ProxyHeader(proxy), c.header);
  }
}

TEST(ProxyRecord, AuthenticatorLifetime) {
  TNetProxyConnectionInfo proxy;
  proxy.ProxyServer = "Proxy";
  proxy.ProxyPort = 8080;
  proxy.ProxyUsername = "u";
  proxy.BasicAuthentication = true;
  const AnsiString first = ProxyHeader(proxy);
  // Base64 of "u:", the user name with an empty password.
  EXPECT_EQ(first, "Basic dTo=");
  TNetAuthentication* auth = proxy.Authenticator();
  ASSERT_NE(auth, nullptr);
  // A changed password alone keeps the header; the same name in other case
  // and the same port keep the authenticator.
  proxy.ProxyPassword = "new";
  proxy.ProxyServer = "PROXY";
  proxy.ProxyPort = 8080;
  EXPECT_EQ(ProxyHeader(proxy), first);
  EXPECT_EQ(proxy.Authenticator(), auth);
  proxy.ProxyPort = 8081;
  EXPECT_EQ(proxy.Authenticator(), nullptr);
  // Base64 of "u:new".
  EXPECT_EQ(ProxyHeader(proxy), "Basic dTpuZXc=");
  proxy.ProxyServer = "other";
  EXPECT_EQ(proxy.Authenticator(), nullptr);
}

TEST(ProxyRecord, AssignAndClear) {
  TNetProxyConnectionInfo a;
  a.ProxyServer = "p";
  a.ProxyPort = 1;
  a.ProxyUsername = "u";
  a.ProxyPassword = "w";
  a.BasicAuthentication = true;
  TNetProxyConnectionInfo b;
  b.Assign(a);
  EXPECT_EQ(b.ProxyServer, "p");
  EXPECT_EQ(b.ProxyPort, 1);
  EXPECT_EQ(b.ProxyUsername, "u");
  EXPECT_EQ(b.ProxyPassword, "w");
  EXPECT_TRUE(b.BasicAuthentication);
  b.ClearSettings();
  EXPECT_EQ(b.ProxyServer, "");
  EXPECT_EQ(b.ProxyPort, 0);
  EXPECT_EQ(b.ProxyUsername, "");
  EXPECT_TRUE(b.BasicAuthentication);
}

}  // namespace
