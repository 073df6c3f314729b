#include <gtest/gtest.h>

#include "app/text_ops.h"
#include "ui/application.h"

namespace {

TEST(TextOps, FindSliceCut) {
  EXPECT_EQ(FindText("a#b#c", "#"), 2);
  EXPECT_EQ(FindText("abc", "#"), 0);
  EXPECT_EQ(FindText("", "#"), 0);

  struct Slice {
    std::string s;
    int i, n;
    std::string want;
  } slices[] = {
      {"abcdef", 1, 3, "abc"}, {"abcdef", 3, 100, "cdef"}, {"abcdef", 0, 3, ""},
      {"abcdef", -1, 3, ""},   {"abcdef", 7, 1, ""},       {"abcdef", 6, 1, "f"},
      {"abcdef", 2, -1, ""},   {"abcdef", 2, 0, ""},
  };
  for (const auto& c : slices) EXPECT_EQ(SliceText(c.s, c.i, c.n), c.want) << c.i << "," << c.n;

  struct Cut {
    std::string s;
    int i, n;
    std::string want;
  } cuts[] = {
      {"ab#cd", 1, 3, "cd"}, {"abc", 1, 0, "abc"}, {"abc", 2, 100, "a"},
      {"abc", 4, 1, "abc"},  {"abc", 0, 1, "abc"},
  };
  for (const auto& c : cuts) {
    AnsiString s = c.s;
    CutText(s, c.i, c.n);
    EXPECT_EQ(s, c.want) << c.s << " " << c.i << "," << c.n;
  }
}

TEST(ErrorBox, FullStopAfterCharactersThatSortAfterIt) {
  struct Case {
    std::string message, shown;
  } cases[] = {
      {"Disk full", "Disk full."},
      {"Done.", "Done."},
      {"What?", "What?."},  // "?" sorts after "."
      {"Stop!", "Stop!"},   // "!" sorts before "."
      {"Range -", "Range -"},
      {"Path /", "Path /."},
      {"Code 5", "Code 5."},
      {"\xC4\xE0", "\xC4\xE0."},  // a Cyrillic letter is an 8-bit byte
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ui::ExceptionBoxText(c.message), c.shown);
}

}  // namespace
