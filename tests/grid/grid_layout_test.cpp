#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>

#include "grid_fixture.h"
#include "ui/grid/grid_layout.h"

namespace {

using grid_test::TGridFixture;
using ui::TGridBars;
using ui::TGridCell;
using ui::TGridKey;
using ui::TGridLayout;
using ui::TGridScroll;
using ui::TGridScrollStep;
using ui::TRect;

// The update list's grid: columns of 90, 107 and 357 pixels and rows of 21,
// each with a one-pixel line, so 557 pixels wide and 22 per row.

// Which scroll bars show: a bar only when the cells do not fit, and the
// room of the other bar counts once that one shows.
struct BarsCase {
  const char* name;
  int rows, width, height;
  TGridBars expected;
};

void PrintTo(const BarsCase& c, std::ostream* os) {
  *os << c.name;
}

class GridBarsTest : public testing::TestWithParam<BarsCase> {};

TEST_P(GridBarsTest, Bars) {
  const BarsCase& c = GetParam();
  TGridFixture f;
  f.Grid.SetRowCountEx(c.rows);
  EXPECT_EQ(ui::GridScrollBars(f.Grid, c.width, c.height, 16, 16), c.expected);
}

const BarsCase kBarsCases[] = {
    {"ShortListFits", 13, 571, 298, {false, false}},
    {"ExactFitNeedsNone", 13, 557, 286, {false, false}},
    {"LongListNeedsBothAsVerticalTakesRoom", 46, 571, 298, {true, true}},
    {"TallEnoughForRowsButNarrow", 13, 550, 320, {false, true}},
    {"HorizontalBarPushesRowsOut", 13, 550, 298, {true, true}},
    {"VerticalOnlyWhenWide", 14, 600, 298, {true, false}},
};

INSTANTIATE_TEST_SUITE_P(Cases, GridBarsTest, testing::ValuesIn(kBarsCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GridClient, BarsTakeTheRightAndBottomEdges) {
  const TRect area{2, 3, 573, 301};
  struct Case {
    TGridBars bars;
    TRect expected;
  } cases[] = {
      {{false, false}, {2, 3, 573, 301}},
      {{true, false}, {2, 3, 556, 301}},
      {{false, true}, {2, 3, 573, 285}},
      {{true, true}, {2, 3, 556, 285}},
  };
  for (const auto& c : cases) {
    const TRect r = ui::GridClient(area, c.bars, 17, 16);
    EXPECT_EQ(
        (std::vector<int>{r.Left, r.Top, r.Right, r.Bottom}),
        (std::vector<int>{c.expected.Left, c.expected.Top, c.expected.Right, c.expected.Bottom}));
  }
}

// Limits, clamping and the rows shown, in a 555 by 282 client (571 by 298
// less both bars).
struct LimitsCase {
  const char* name;
  int rows;
  TGridScroll asked, clamped, max;
  int pageRows;
  std::vector<int> visible;
};

void PrintTo(const LimitsCase& c, std::ostream* os) {
  *os << c.name;
}

class GridLimitsTest : public testing::TestWithParam<LimitsCase> {};

TEST_P(GridLimitsTest, Limits) {
  const LimitsCase& c = GetParam();
  TGridFixture f;
  f.Grid.SetRowCountEx(c.rows);
  const TGridLayout layout(f.Grid, TRect{0, 0, 555, 282}, c.asked);
  EXPECT_EQ(layout.Scroll(), c.clamped);
  EXPECT_EQ(layout.MaxScroll(), c.max);
  EXPECT_EQ(layout.PageRows(), c.pageRows);
  EXPECT_EQ(layout.TopRow(), 1 + c.clamped.Rows);
  EXPECT_EQ(layout.VisibleRows(), c.visible);
}

const LimitsCase kLimitsCases[] = {
    // 260 pixels below the header hold 11 whole rows; the 12th is cut off.
    {"Top", 46, {0, 0}, {0, 0}, {34, 2}, 11, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
    {"ClampedToLastPage",
     46,
     {100, 100},
     {34, 2},
     {34, 2},
     11,
     {0, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45}},
    {"NegativeClampedToTop",
     46,
     {-5, -1},
     {0, 0},
     {34, 2},
     11,
     {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
    {"ShortListDoesNotScroll", 4, {3, 0}, {0, 0}, {0, 2}, 11, {0, 1, 2, 3}},
    {"HeaderOnly", 1, {0, 0}, {0, 0}, {0, 2}, 11, {0}},
};

INSTANTIATE_TEST_SUITE_P(Cases, GridLimitsTest, testing::ValuesIn(kLimitsCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The cell under a point of a client at (2,2), 555 by 298 (571 for the point
// right of the last column). Unscrolled, the columns span x 2..91, 93..199
// and 201..557 and the data rows start at y 24, 22 pixels apart.
struct HitCase {
  const char* name;
  TGridScroll scroll;
  int x, y;
  std::optional<TGridCell> expected;
  int rows = 46;
  int clientRight = 557;
};

void PrintTo(const HitCase& c, std::ostream* os) {
  *os << c.name;
}

class GridHitTest : public testing::TestWithParam<HitCase> {};

TEST_P(GridHitTest, CellAt) {
  const HitCase& c = GetParam();
  TGridFixture f;
  f.Grid.SetRowCountEx(c.rows);
  const TGridLayout layout(f.Grid, TRect{2, 2, c.clientRight, 300}, c.scroll);
  EXPECT_EQ(layout.CellAt(c.x, c.y), c.expected);
  // Every cell found contains the point in its rectangle.
  if (c.expected) {
    const TRect r = layout.CellRect(c.expected->Col, c.expected->Row);
    EXPECT_TRUE(c.x >= r.Left && c.x < r.Right && c.y >= r.Top && c.y < r.Bottom);
  }
}

const HitCase kHitCases[] = {
    {"HeaderTopLeft", {}, 2, 2, TGridCell{0, 0}},
    {"LastPixelOfFirstColumn", {}, 91, 10, TGridCell{0, 0}},
    {"VerticalGridLine", {}, 92, 10, std::nullopt},
    {"SecondColumn", {}, 93, 10, TGridCell{1, 0}},
    {"FirstDataRow", {}, 300, 24, TGridCell{2, 1}},
    {"HorizontalGridLine", {}, 300, 45, std::nullopt},
    {"SecondDataRow", {}, 300, 46, TGridCell{2, 2}},
    {"RightOfLastColumn", {}, 560, 30, std::nullopt, 46, 573},
    {"LeftOfClient", {}, 1, 30, std::nullopt},
    {"BelowClient", {}, 300, 300, std::nullopt},
    {"BelowLastRow", {}, 300, 70, std::nullopt, 3},
    {"ScrolledRows", {3, 0}, 300, 24, TGridCell{2, 4}},
    {"HeaderStaysWhenScrolled", {3, 2}, 10, 5, TGridCell{0, 0}},
    // Scrolled 2 pixels (the most there is): the second column spans
    // 91..197.
    {"ScrolledColumns", {0, 2}, 91, 30, TGridCell{1, 1}},
    {"ScrolledColumnsLine", {0, 2}, 198, 30, std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Cases, GridHitTest, testing::ValuesIn(kHitCases),
                         [](const auto& info) { return std::string(info.param.name); });

std::string describe(const ui::TGridFill& fill) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%d,%d,%d,%d %X", fill.Rect.Left, fill.Rect.Top, fill.Rect.Right,
                fill.Rect.Bottom, fill.Color);
  return buf;
}

std::string describe(const ui::TGridCellPlace& place) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%d %d at %d,%d,%d,%d", place.Cell.Col, place.Cell.Row,
                place.Rect.Left, place.Rect.Top, place.Rect.Right, place.Rect.Bottom);
  return buf;
}

// What a paint fills and draws: the background, the header's face and the
// line under it, the grid lines right of and under every cell, and the cells
// whose texts are drawn, only those at least partly inside the client.
struct PaintCase {
  const char* name;
  TRect client;
  TGridScroll scroll;
  std::vector<std::string> fills, cells;
};

void PrintTo(const PaintCase& c, std::ostream* os) {
  *os << c.name;
}

class GridPaintTest : public testing::TestWithParam<PaintCase> {};

TEST_P(GridPaintTest, Paint) {
  const PaintCase& c = GetParam();
  TGridFixture f;
  f.Grid.ColCount = 2;
  f.Grid.ColWidths = {30, 40};
  f.Grid.SetRowCountEx(3);
  const ui::TGridPaint paint = TGridLayout(f.Grid, c.client, c.scroll).Paint();
  std::vector<std::string> fills, cells;
  for (const auto& fill : paint.Fills) fills.push_back(describe(fill));
  for (const auto& place : paint.Cells) cells.push_back(describe(place));
  EXPECT_EQ(fills, c.fills);
  EXPECT_EQ(cells, c.cells);
}

const PaintCase kPaintCases[] = {
    {"WholeGrid",
     {0, 0, 100, 100},
     {},
     {"0,0,100,100 80000005",
      // The header row: face, line, grid line right of the cell, per cell.
      "0,0,30,21 EAF4F5", "0,20,30,21 CDDEE2", "30,0,31,22 C0C0C0", "31,0,71,21 EAF4F5",
      "31,20,71,21 CDDEE2", "71,0,72,22 C0C0C0", "0,21,72,22 C0C0C0",
      // The data rows: only the grid lines.
      "30,22,31,44 C0C0C0", "71,22,72,44 C0C0C0", "0,43,72,44 C0C0C0", "30,44,31,66 C0C0C0",
      "71,44,72,66 C0C0C0", "0,65,72,66 C0C0C0"},
     {"0 0 at 0,0,30,21", "1 0 at 31,0,71,21", "0 1 at 0,22,30,43", "1 1 at 31,22,71,43",
      "0 2 at 0,44,30,65", "1 2 at 31,44,71,65"}},
    // Scrolled 37 pixels, the most there is: the first column lies left of
    // the client and only its grid lines are filled.
    {"FirstColumnScrolledOut",
     {5, 0, 40, 60},
     {0, 37},
     {"5,0,40,60 80000005", "-2,0,-1,22 C0C0C0", "-1,0,39,21 EAF4F5", "-1,20,39,21 CDDEE2",
      "39,0,40,22 C0C0C0", "-32,21,40,22 C0C0C0", "-2,22,-1,44 C0C0C0", "39,22,40,44 C0C0C0",
      "-32,43,40,44 C0C0C0", "-2,44,-1,66 C0C0C0", "39,44,40,66 C0C0C0", "-32,65,40,66 C0C0C0"},
     {"1 0 at -1,0,39,21", "1 1 at -1,22,39,43", "1 2 at -1,44,39,65"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, GridPaintTest, testing::ValuesIn(kPaintCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Scrolling requests of the bars, the keys and the wheel, from a position,
// in a 555 by 282 client: 11 rows a page, at most 34 rows down. The columns
// are 300 pixels each here, 903 with the lines, so at most 348 pixels.
struct StepCase {
  const char* name;
  TGridScroll from;
  std::function<TGridScroll(const TGridLayout&)> step;
  TGridScroll expected;
};

void PrintTo(const StepCase& c, std::ostream* os) {
  *os << c.name;
}

class GridStepTest : public testing::TestWithParam<StepCase> {};

TEST_P(GridStepTest, Step) {
  const StepCase& c = GetParam();
  TGridFixture f;
  f.Grid.ColWidths = {300, 300, 300};
  f.Grid.SetRowCountEx(46);
  const TGridLayout layout(f.Grid, TRect{0, 0, 555, 282}, c.from);
  EXPECT_EQ(c.step(layout), c.expected);
}

auto key(TGridKey k) {
  return [k](const TGridLayout& l) { return l.ScrollKey(k); };
}
auto rows(TGridScrollStep s) {
  return [s](const TGridLayout& l) { return l.ScrollRows(s); };
}
auto columns(TGridScrollStep s) {
  return [s](const TGridLayout& l) { return l.ScrollColumns(s); };
}
auto wheel(int notches) {
  return [notches](const TGridLayout& l) { return l.ScrollWheel(notches); };
}

const StepCase kStepCases[] = {
    {"DownKey", {0, 5}, key(TGridKey::Down), {1, 5}},
    {"UpKeyAtTop", {0, 5}, key(TGridKey::Up), {0, 5}},
    {"PageDownKey", {0, 0}, key(TGridKey::PageDown), {11, 0}},
    {"PageDownKeyNearEnd", {30, 0}, key(TGridKey::PageDown), {34, 0}},
    {"PageUpKey", {5, 0}, key(TGridKey::PageUp), {0, 0}},
    {"HomeKey", {20, 7}, key(TGridKey::Home), {0, 7}},
    {"EndKey", {2, 7}, key(TGridKey::End), {34, 7}},
    {"RightKey", {3, 0}, key(TGridKey::Right), {3, 20}},
    {"LeftKey", {3, 30}, key(TGridKey::Left), {3, 10}},
    {"LeftKeyAtStart", {3, 5}, key(TGridKey::Left), {3, 0}},
    {"RowLineForward", {33, 0}, rows(TGridScrollStep::LineForward), {34, 0}},
    {"RowLineForwardAtEnd", {34, 0}, rows(TGridScrollStep::LineForward), {34, 0}},
    {"ColumnPageForward", {0, 100}, columns(TGridScrollStep::PageForward), {0, 348}},
    {"ColumnPageBack", {0, 600}, columns(TGridScrollStep::PageBack), {0, 0}},
    {"ColumnLast", {0, 0}, columns(TGridScrollStep::Last), {0, 348}},
    {"ColumnFirst", {4, 200}, columns(TGridScrollStep::First), {4, 0}},
    {"WheelDown", {0, 0}, wheel(1), {3, 0}},
    {"WheelUp", {2, 0}, wheel(-1), {0, 0}},
    {"WheelDownAtEnd", {33, 0}, wheel(2), {34, 0}},
    {"ThumbRows", {0, 0}, [](const TGridLayout& l) { return l.ScrollRowsTo(40); }, {34, 0}},
    {"ThumbPixels", {5, 0}, [](const TGridLayout& l) { return l.ScrollPixelsTo(120); }, {5, 120}},
};

INSTANTIATE_TEST_SUITE_P(Cases, GridStepTest, testing::ValuesIn(kStepCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
