#include <gtest/gtest.h>

#include "core/exceptions.h"
#include "core/stringlist.h"

namespace {

struct SplitCase {
  std::string text;
  std::vector<std::string> lines;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.text);
}

class StringListSplit : public testing::TestWithParam<SplitCase> {};

TEST_P(StringListSplit, SplitsAsTheRuntimeDoes) {
  TStringList list;
  list.SetText(GetParam().text);
  std::vector<std::string> got;
  for (int i = 0; i < list.Count(); ++i) got.push_back(list[i]);
  EXPECT_EQ(got, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StringListSplit,
    testing::Values(SplitCase{"", {}}, SplitCase{"a", {"a"}}, SplitCase{"a\r\nb", {"a", "b"}},
                    SplitCase{"a\rb\nc", {"a", "b", "c"}},
                    SplitCase{"a\r\n", {"a"}},          // a final break adds no line
                    SplitCase{"a\r\n\r\n", {"a", ""}},  // but an empty line before it stays
                    SplitCase{"\n", {""}}, SplitCase{"a\n\rb", {"a", "", "b"}},
                    SplitCase{"a\r\r\nb", {"a", "", "b"}},
                    SplitCase{std::string("ab\0cd\ne", 7), {"ab"}},  // a zero byte ends the text
                    SplitCase{std::string("x\n\0", 3), {"x"}}));

TEST(StringList, IndexOutsideTheListRaises) {
  TStringList list;
  EXPECT_THROW(list[0], EListError);
  list.Add("x");
  EXPECT_EQ(list[0], "x");
  EXPECT_THROW(list[1], EListError);
  EXPECT_THROW(list[-1], EListError);
}

TEST(StringList, MissingFileRaisesOpenError) {
  TStringList list;
  try {
    list.LoadFromFile("/nonexistent\\dir\\file.dat");
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message, "Cannot open file /nonexistent\\dir\\file.dat");
  }
}

}  // namespace
