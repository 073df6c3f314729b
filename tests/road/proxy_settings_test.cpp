// The proxy settings file "..\\proxy.def" and the unscrambling of its
// credentials.

#include <unistd.h>

#include <optional>

#include "app/proxy_settings.h"
#include "core/exceptions.h"
#include "tests/road/road_sandbox.h"

namespace {

using namespace road;
using namespace std::string_literals;

TEST(UnscrambleCredentialTest, SubtractsFortyThenXorsWithTheKeyInTurn) {
  const struct {
    std::string scrambled, plain;
  } cases[] = {
      {"", ""},
      {"A", "O"},
      // 30 - 40 wraps to 246, which is then XORed with "V".
      {"\x1e", "\xa0"},
      // A byte that equals its key character after the subtraction stays.
      {"\x7e", "V"},
      // Seventeen bytes: the first and the seventeenth both meet key
      // character 0 and, being "V" after the subtraction, stay "V".
      {std::string(17, '\x7e'),
       "V3:=9$\x1b"
       "782$?\">3.V"},
      {"hello world 12345", "\x16X(/(\x8a\x02&$ N\x91}bnt["},
      {"N?+;>/f,D", "proxyuser"},
      {"M~7A\xb2.\x94", "s3cr\xe5t!"},
  };
  for (const auto& c : cases) EXPECT_EQ(UnscrambleCredential(c.scrambled), c.plain) << c.scrambled;
  EXPECT_EQ(std::string(kCredentialKey), "VelkorMandrithex");
}

// The working directory is a folder of the sandbox, so that "..\\proxy.def"
// lies in the sandbox itself.
class ProxySettingsTest : public SandboxTest {
 protected:
  void SetUp() override {
    SandboxTest::SetUp();
    fs::create_directories(root / "work");
    previous = fs::current_path();
    fs::current_path(root / "work");
  }
  void TearDown() override {
    fs::current_path(previous);
    SandboxTest::TearDown();
  }

  fs::path previous;
};

struct Fields {
  std::string server;
  int port;
  std::string user, password;
  bool basic;
  bool operator==(const Fields&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Fields& f) {
  return os << '{' << f.server << ':' << f.port << ' ' << f.user << '/' << f.password
            << (f.basic ? " basic}" : "}");
}

Fields fieldsOf(const TNetProxyConnectionInfo& p) {
  return {p.ProxyServer, p.ProxyPort, p.ProxyUsername, p.ProxyPassword, p.BasicAuthentication};
}

// What an earlier call left: every field differs from what a file sets.
const Fields kEarlier{"old.proxy", 1, "olduser", "oldpass", false};

TEST_F(ProxySettingsTest, FileTable) {
  const struct {
    const char* what;
    std::optional<std::string> file;  // none: no proxy.def
    Fields after;
    std::string error;  // the exception's message; empty: none
  } cases[] = {
      {"no file", std::nullopt, {"old.proxy", 1, "olduser", "oldpass", true}, ""},
      {"empty file", "", {"old.proxy", 1, "olduser", "oldpass", true}, ""},
      {"single line 0", "0", {"", 0, "", "", true}, ""},
      {"0 before a full proxy", "0\r\n1\r\nhost\r\n8080\r\nu\r\np\r\n", {"", 0, "", "", true}, ""},
      {"five lines keep the earlier proxy",
       "1\r\n1\r\nhost\r\n8080\r\nu\r\n",
       {"old.proxy", 1, "olduser", "oldpass", true},
       ""},
      {"proxy without credentials",
       "1\r\n0\r\nproxy.lan\r\n3128\r\nu\r\np\r\n",
       {"proxy.lan", 3128, "", "", true},
       ""},
      {"plain credentials",
       "yes\r\n1\r\n10.0.0.1\r\n8080\r\nalice\r\nsecret\r\n",
       {"10.0.0.1", 8080, "alice", "secret", true},
       ""},
      {"scrambled credentials",
       "1\r\n1\r\nh\r\n80\r\n$N?+;>/f,D\r\n$M~7A\xb2.\x94\r\n",
       {"h", 80, "proxyuser", "s3cr\xe5t!", true},
       ""},
      {"a lone $ is an empty user name",
       "1\r\n1\r\nh\r\n80\r\n$\r\npw\r\n",
       {"h", 80, "", "pw", true},
       ""},
      {"plain text is not unscrambled",
       "1\r\n1\r\nh\r\n80\r\nN?+;>/f,D\r\npw\r\n",
       {"h", 80, "N?+;>/f,D", "pw", true},
       ""},
      {"line 1 other than 1 means no credentials",
       "1\r\n1 \r\nh\r\n80\r\nu\r\np\r\n",
       {"h", 80, "", "", true},
       ""},
      {"line 0 with a blank is not 0",
       "0 \r\n0\r\nh\r\n80\r\nu\r\np\r\n",
       {"h", 80, "", "", true},
       ""},
      {"LF and CR line ends, lines after 5 ignored",
       "1\n1\rh\n$1F\r\nu\np\nmore\nlines\n",
       {"h", 31, "u", "p", true},
       ""},
      {"leading blanks and a sign in the port",
       "1\r\n0\r\nh\r\n  +8080\r\nu\r\np\r\n",
       {"h", 8080, "", "", true},
       ""},
      {"port with a trailing blank",
       "1\r\n1\r\nh\r\n8080 \r\nu\r\np\r\n",
       {"h", 1, "olduser", "oldpass", true},
       "'8080 ' is not a valid integer value"},
      {"empty port",
       "1\r\n1\r\nh\r\n\r\nu\r\np\r\n",
       {"h", 1, "olduser", "oldpass", true},
       "'' is not a valid integer value"},
      {"letters in the port",
       "1\r\n1\r\nh\r\nhttp\r\nu\r\np\r\n",
       {"h", 1, "olduser", "oldpass", true},
       "'http' is not a valid integer value"},
      {"empty user name line",
       "1\r\n1\r\nh\r\n80\r\n\r\np\r\n",
       {"h", 80, "olduser", "oldpass", true},
       "Range check error"},
      {"empty password line",
       "1\r\n1\r\nh\r\n80\r\nu\r\n\r\n",
       {"h", 80, "u", "oldpass", true},
       "Range check error"},
      {"zero byte ends the text",
       "1\r\n1\r\nh\r\n80\r\nu\r\np\0w\r\n"s,
       {"h", 80, "u", "p", true},
       ""},
  };
  for (const auto& c : cases) {
    fs::remove(root / "proxy.def");
    if (c.file) WriteBytes(root / "proxy.def", *c.file);
    TNetProxyConnectionInfo proxy;
    proxy.ProxyServer = kEarlier.server;
    proxy.ProxyPort = kEarlier.port;
    proxy.ProxyUsername = kEarlier.user;
    proxy.ProxyPassword = kEarlier.password;
    proxy.BasicAuthentication = kEarlier.basic;
    std::string error;
    try {
      ApplyProxySettings(proxy);
    } catch (const EConvertError& e) {
      error = e.Message;
    } catch (const ERangeError& e) {
      error = e.Message;
    }
    EXPECT_EQ(error, c.error) << c.what;
    EXPECT_EQ(fieldsOf(proxy), c.after) << c.what;
  }
}

TEST_F(ProxySettingsTest, AFreshClientWithoutAFileOnlyTurnsOnBasicAuthentication) {
  TNetProxyConnectionInfo proxy;
  ApplyProxySettings(proxy);
  EXPECT_EQ(fieldsOf(proxy), (Fields{"", 0, "", "", true}));
}

TEST_F(ProxySettingsTest, TheClientFormSetsTheClientsProxyRecord) {
  WriteBytes(root / "proxy.def", "1\r\n1\r\nproxy.lan\r\n3128\r\n$N?+;>/f,D\r\npw\r\n");
  TNetHTTP http;
  ApplyProxySettings(http);
  EXPECT_EQ(fieldsOf(http.ProxyParams), (Fields{"proxy.lan", 3128, "proxyuser", "pw", true}));
}

TEST_F(ProxySettingsTest, AFolderNamedProxyDefCountsAsNoFile) {
  fs::create_directory(root / "proxy.def");
  TNetProxyConnectionInfo proxy;
  proxy.ProxyServer = "kept";
  ApplyProxySettings(proxy);
  EXPECT_EQ(fieldsOf(proxy), (Fields{"kept", 0, "", "", true}));
}

}  // namespace
