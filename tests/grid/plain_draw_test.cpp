#include <gtest/gtest.h>

#include "fake_canvas.h"
#include "grid_fixture.h"
#include "ui/grid/cell_draw.h"

namespace {

using grid_test::DescribeAll;
using grid_test::TFakeCanvas;
using grid_test::TGridFixture;

// A plain cell of the given size at the origin. With the fake metrics a
// 60-pixel cell has a 56-pixel text area from x 2, a 64-pixel cell a 60-pixel
// one; lines are 13 pixels apart from y 2.
struct PlainCase {
  const char* name;
  const char* text;
  int row;
  int width, height;
  std::vector<std::string> expected;
  bool urlShow = true;
  bool wordWrap = true;
};

void PrintTo(const PlainCase& c, std::ostream* os) {
  *os << c.name;
}

class PlainDrawTest : public testing::TestWithParam<PlainCase> {};

TEST_P(PlainDrawTest, DrawsLines) {
  const PlainCase& c = GetParam();
  TGridFixture f;
  f.Grid.URLShow = c.urlShow;
  f.Grid.WordWrap = c.wordWrap;
  f.Grid.SetCellEx(1, c.row, c.text);
  TFakeCanvas canvas;
  canvas.SetBackground(0x123456);
  ui::DrawGridCell(f.Grid, canvas, 1, c.row, ui::TRect{0, 0, c.width, c.height});
  EXPECT_EQ(DescribeAll(canvas), c.expected);
  for (const auto& d : canvas.Drawn) EXPECT_EQ(d.Background, ui::clNone) << "drawn transparently";
  EXPECT_EQ(canvas.Background(), 0x123456u);
}

const PlainCase kPlainCases[] = {
    {"WrapsAtBlanks",
     "alpha beta gamma delta",
     1,
     60,
     40,
     {"2,2 - 80000008 'alpha'", "2,15 - 80000008 'beta'", "2,28 - 80000008 'gamma'"}},
    {"LineThatStartsBelowBottomIsNotDrawn",
     "alpha beta gamma delta",
     1,
     60,
     21,
     {"2,2 - 80000008 'alpha'", "2,15 - 80000008 'beta'"}},
    {"LineOfExactWidthFits",
     "alpha beta gamma",
     1,
     64,
     40,
     {"2,2 - 80000008 'alpha beta'", "2,15 - 80000008 'gamma'"}},
    {"LongWordStandsAlone",
     "abcdefghijklmnop q",
     1,
     60,
     40,
     {"2,2 - 80000008 'abcdefghijklmnop'", "2,15 - 80000008 'q'"}},
    {"InnerAndLeadingBlanksKept", "  a  b", 1, 60, 40, {"2,2 - 80000008 '  a  b'"}},
    {"CrLfAndEmptyLine",
     "one\r\n\r\ntwo\nthree",
     1,
     60,
     60,
     {"2,2 - 80000008 'one'", "2,28 - 80000008 'two'", "2,41 - 80000008 'three'"}},
    {"AmpersandAndTabPassedAsIs",
     "Tom & Jerry\tx",
     1,
     200,
     21,
     {"2,2 - 80000008 'Tom & Jerry\tx'"}},
    {"HeaderInFixedFont", "\xD2\xE8\xEF", 0, 90, 21, {"2,2 B 80000008 '\xD2\xE8\xEF'"}},
    {"FormulaKindShownAsText", "=1+2", 1, 60, 21, {"2,2 - 80000008 '=1+2'"}},
    {"NoWordWrap",
     "alpha beta gamma",
     1,
     60,
     40,
     {"2,2 - 80000008 'alpha beta gamma'"},
     true,
     false},
    // Web addresses: underlined in blue, without the part up to "://".
    {"WebAddress", "See http://example.com/page", 1, 200, 21, {"2,2 U FF0000 'example.com/page'"}},
    {"MailAddress", "mailto:user@example.com", 1, 200, 21, {"2,2 U FF0000 'user@example.com'"}},
    {"SchemeMarkBeforeMailto", "a://b mailto:c", 1, 200, 21, {"2,2 U FF0000 'b mailto:c'"}},
    {"FileAddressDrawnAsLink",
     "file:///usr/bin/xterm",
     1,
     200,
     21,
     {"2,2 U FF0000 '/usr/bin/xterm'"}},
    {"WebAddressWraps",
     "http://aaaa bbbb cccc",
     1,
     60,
     40,
     {"2,2 U FF0000 'aaaa bbbb'", "2,15 U FF0000 'cccc'"}},
    {"WebAddressWithoutURLShow", "http://x", 1, 200, 21, {"2,2 - 80000008 'http://x'"}, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, PlainDrawTest, testing::ValuesIn(kPlainCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PlainDrawEmpty, DrawsNothing) {
  TGridFixture f;
  TFakeCanvas canvas;
  ui::DrawGridCell(f.Grid, canvas, 2, 5, ui::TRect{0, 0, 90, 21});
  EXPECT_TRUE(canvas.Drawn.empty());
}

}  // namespace
