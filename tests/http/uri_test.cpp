#include <gtest/gtest.h>

#include "http/uri.h"

namespace {

struct SplitCase {
  const char* text;
  const char* scheme;
  const char* login;
  const char* password;
  const char* host;
  const char* port;
  const char* path;
  const char* document;
  const char* params;
  const char* fragment;
};

TEST(URI, SplitTable) {
  const SplitCase cases[] = {
      {"http://host/qd.zip", "http", "", "", "host", "", "/", "qd.zip", "", ""},
      {"http://u:p@host:8080/a/b/c.cgi?x=1#top", "http", "u", "p", "host", "8080", "/a/b/", "c.cgi",
       "?x=1", "top"},
      {"http://host", "http", "", "", "host", "", "/", "", "", ""},
      {"http://host?x=1", "http", "", "", "host?x=1", "", "/", "", "", ""},
      {"http://host/dir/page=1", "http", "", "", "host", "", "/dir/", "page", "=1", ""},
      {"/dir/file.htm", "", "", "", "", "", "/dir/", "file.htm", "", ""},
      {"file.htm", "", "", "", "", "", "", "file.htm", "", ""},
      {"file.htm#x", "", "", "", "", "", "", "file.htm#x", "", ""},
      {"file.htm?a=1#x", "", "", "", "", "", "", "file.htm", "?a=1", "x"},
      {"http:\\\\host\\a\\b.txt", "http", "", "", "host", "", "/a/", "b.txt", "", ""},
      {"http://:pw@host/", "http", "", "", "host", "", "/", "", "", ""},
      {"http://a@b@host/", "http", "a", "", "b@host", "", "/", "", "", ""},
      {"http://host/a/b.htm#frag", "http", "", "", "host", "", "/a/", "b.htm", "", "frag"},
      {"http://host/a?b/c", "http", "", "", "host", "", "/", "a", "?b/c", ""},
      {"", "", "", "", "", "", "", "", "", ""},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.text);
    TNetURI uri(c.text);
    EXPECT_EQ(uri.Scheme, c.scheme);
    EXPECT_EQ(uri.LoginName, c.login);
    EXPECT_EQ(uri.LoginPassword, c.password);
    EXPECT_EQ(uri.HostName, c.host);
    EXPECT_EQ(uri.PortText, c.port);
    EXPECT_EQ(uri.PathPart, c.path);
    EXPECT_EQ(uri.DocumentPart, c.document);
    EXPECT_EQ(uri.ParamsPart, c.params);
    EXPECT_EQ(uri.FragmentPart, c.fragment);
  }
}

TEST(URI, ComposeGivesTheTextBack) {
  const struct {
    const char* text;
    bool login, fragment;
    const char* composed;
  } cases[] = {
      {"http://host/qd.zip", false, false, "http://host/qd.zip"},
      {"http://u:p@host:8080/a/b/c.cgi?x=1#top", true, true,
       "http://u:p@host:8080/a/b/c.cgi?x=1#top"},
      {"http://u:p@host:8080/a/b/c.cgi?x=1#top", false, false, "http://host:8080/a/b/c.cgi?x=1"},
      {"http://u@host/", true, false, "http://u@host/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(TNetURI(c.text).ComposeURI({c.login, c.fragment}), c.composed);
  }
}

TEST(URI, ComposeRefusesMissingParts) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {{"/a/b", "Protocol field is empty"}, {"http:///a", "Host field is empty"}};
  for (const auto& c : cases) {
    TNetURI uri(c.text);
    try {
      uri.ComposeURI({});
      ADD_FAILURE() << c.text;
    } catch (const ENetURIException& e) {
      EXPECT_EQ(e.Message, c.message);
    }
  }
}

TEST(URI, RecomposeKeepsFullFormInUriText) {
  TNetURI uri("http://u:p@host:81/a/b?q#f");
  EXPECT_EQ(uri.RecomposeURI(), "http://host:81/a/b?q");
  EXPECT_EQ(uri.UriText, "http://u:p@host:81/a/b?q#f");
}

TEST(URI, NormalizeSlashes) {
  AnsiString text = "a\\b\\\\c/d";
  TNetURI::NormalizeSlashes(text);
  EXPECT_EQ(text, "a/b//c/d");
}

TEST(MergePath, Table) {
  const struct {
    const char* base;
    const char* relative;
    const char* merged;
  } cases[] = {
      {"/a/b/", "c/d", "/a/b/c/d"},
      {"/a/b/", "../c", "/a/c"},
      {"/a/", "x/y/", "/a/x/y/"},
      {"", "/", "/"},
      {"/a/b/", "/x", "/x"},
      {"/a/b/", "", "/a/b/"},
      {"/a//b/", "c", "/a/b/c"},
      {"/a/b", "c", "/a/b/c"},
      {"/", "../../x", "/x"},
      {"/a/b/", "./c", "/a/b/./c"},
      {"/a/b/", "..", "/a"},
      {"", "", ""},
      {"/a/b/", "../../../c", "/c"},
      {"/a/", "b/../", "/a/"},
      {"", "x", "x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.base) + " + " + c.relative);
    EXPECT_EQ(MergePath(c.base, c.relative, "/"), c.merged);
  }
}

}  // namespace
