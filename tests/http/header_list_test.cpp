#include <gtest/gtest.h>

#include "http/header_list.h"

namespace {

TNetHeaderList Lines(std::initializer_list<const char*> lines) {
  TNetHeaderList h;
  for (const char* l : lines) h.Add(l);
  return h;
}

std::vector<std::string> All(const TStringList& l) {
  std::vector<std::string> v;
  for (int i = 0; i < l.Count(); ++i) v.push_back(l[i]);
  return v;
}

TEST(HeaderList, NamesAndValues) {
  TNetHeaderList h = Lines({"content-length: 12", "Host : x", "no colon here", "X-A: one", " two",
                            "\tthree", "", " after empty"});
  EXPECT_EQ(h.GetHeader("Content-Length"), "12");
  EXPECT_EQ(h.NameAt(0), "CONTENT-LENGTH");
  EXPECT_EQ(h.NameAt(1), "HOST ");
  EXPECT_EQ(h.IndexOfHeader("Host"), -1);
  EXPECT_EQ(h.NameAt(2), "");
  EXPECT_EQ(h.GetHeader("X-A"), "one two three");
  EXPECT_EQ(h.ValueAt(99), "");
  EXPECT_EQ(h.ValueAt(-1), "");
  h.PreserveNameCase = true;
  EXPECT_EQ(h.NameAt(0), "content-length");
  h.JoinContinuations = false;
  EXPECT_EQ(h.GetHeader("X-A"), "one");
}

TEST(HeaderList, SetHeaderReplacesInPlaceAndRemoves) {
  const struct {
    const char* name;
    std::initializer_list<const char*> before;
    const char* header;
    const char* value;
    std::vector<std::string> after;
  } cases[] = {
      {"replace folded", {"X-A: one", " two", "B: 2"}, "X-A", "three", {"X-A: three", "B: 2"}},
      {"keeps position", {"A: 1", "B: 2", "C: 3"}, "b", "x", {"A: 1", "b: x", "C: 3"}},
      {"appends", {"A: 1"}, "Cache-control", "no", {"A: 1", "Cache-control: no"}},
      {"removes with continuations", {"A: 1", " more", "B: 2"}, "A", "", {"B: 2"}},
      {"absent removal does nothing", {"A: 1"}, "Z", "", {"A: 1"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TNetHeaderList h = Lines(c.before);
    h.SetHeader(c.header, c.value);
    EXPECT_EQ(All(h), c.after);
  }
}

TEST(HeaderList, CollectValuesInOrder) {
  TNetHeaderList h = Lines({"Set-Cookie: a=1", "Other: z", "set-cookie: b=2"});
  EXPECT_EQ(h.GetHeader("Set-Cookie"), "a=1");
  TStringList values;
  values.Add("kept");
  h.CollectValues("SET-COOKIE", values);
  EXPECT_EQ(All(values), (std::vector<std::string>{"kept", "a=1", "b=2"}));
}

TEST(HeaderList, FoldingTable) {
  const std::string longWords =
      "aaaaaaaaaa bbbbbbbbbb cccccccccc dddddddddd eeeeeeeeee ffffffffff gggggggggg hhhhhhhhhh";
  const struct {
    const char* name;
    std::string value;
    int width;
    std::vector<std::string> lines;
    std::string joined;
  } cases[] = {
      {"short stays", "short value", 78, {"X: short value"}, "short value"},
      {"blank break",
       longWords,
       40,
       {"X: aaaaaaaaaa bbbbbbbbbb cccccccccc", " dddddddddd eeeeeeeeee ffffffffff",
        " gggggggggg hhhhhhhhhh"},
       longWords},
      // The comma stays at the end of its piece; joining adds a blank.
      {"comma break", "a1,b2,c3,d4,e5", 8, {"X: a1,", " b2,c3,d4,", " e5"}, "a1, b2,c3,d4, e5"},
      // The blank after the colon is the only break outside the quotes.
      {"never inside quotes",
       "\"aaaa bbbb cccc dddd\" eeee",
       10,
       {"X:", " \"aaaa bbbb cccc dddd\"", " eeee"},
       "\"aaaa bbbb cccc dddd\" eeee"},
      {"no break character in the value",
       std::string(100, 'x'),
       20,
       {"X:", " " + std::string(100, 'x')},
       std::string(100, 'x')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TNetHeaderList h;
    h.FoldWidth = c.width;
    h.SetHeader("X", c.value);
    EXPECT_EQ(All(h), c.lines);
    EXPECT_EQ(h.GetHeader("X"), c.joined);
  }
}

TEST(HeaderList, FoldWidthOffKeepsOneLine) {
  TNetHeaderList h;
  h.FoldLongLines = false;
  h.FoldWidth = 5;
  h.SetHeader("X", "one two three");
  EXPECT_EQ(All(h), (std::vector<std::string>{"X: one two three"}));
}

TEST(WrapLine, ExistingBreaksAreKept) {
  EXPECT_EQ(WrapLine("ab\r\n cd", "\r\n ", " ", 78), "ab\r\n cd");
  EXPECT_EQ(WrapLine("", "\r\n ", " ", 5), "");
}

}  // namespace
