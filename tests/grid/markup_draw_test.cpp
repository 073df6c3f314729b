#include <gtest/gtest.h>

#include "fake_canvas.h"
#include "grid_fixture.h"
#include "ui/grid/cell_draw.h"

namespace {

using grid_test::DescribeAll;
using grid_test::TFakeCanvas;
using grid_test::TGridFixture;

// A cell of the given size at the origin; row 0 is the header row in the bold
// FixedFont, row 1 a data row in Font. With the fake metrics the text area of a
// 90-pixel cell runs from x 2 to 88, and markup starts at x 3.
struct MarkupCase {
  const char* name;
  const char* text;
  int row;
  int width, height;
  std::vector<std::string> expected;
};

void PrintTo(const MarkupCase& c, std::ostream* os) {
  *os << c.name;
}

class MarkupDrawTest : public testing::TestWithParam<MarkupCase> {};

TEST_P(MarkupDrawTest, DrawsRuns) {
  const MarkupCase& c = GetParam();
  TGridFixture f;
  f.Grid.SetCellEx(0, c.row, c.text);
  TFakeCanvas canvas;
  ui::DrawGridCell(f.Grid, canvas, 0, c.row, ui::TRect{0, 0, c.width, c.height});
  EXPECT_EQ(DescribeAll(canvas), c.expected);
}

const MarkupCase kMarkupCases[] = {
    {"Critical",
     R"(<FONT color="clRed"><B><I>critical</I></B></FONT>)",
     1,
     90,
     21,
     {"3,2 BI 0000FF 'critical'"}},
    {"NewVersion",
     R"(<FONT color="clRed"><B>NEW VERSION</B></FONT>)",
     1,
     90,
     21,
     {"3,2 B 0000FF 'NEW '", "31,2 B 0000FF 'VERSION'"}},
    {"ColorNameInCapitals", R"(<FONT color="CLRED">red</FONT>)", 1, 90, 21, {"3,2 - 0000FF 'red'"}},
    {"ColorNameInMixedCase",
     R"(<FONT color="ClReD">red</FONT>)",
     1,
     90,
     21,
     {"3,2 - 0000FF 'red'"}},
    {"UnknownColorNameIsBlack",
     R"(<FONT color="clPink">x</FONT>)",
     1,
     90,
     21,
     {"3,2 - 000000 'x'"}},
    {"HexColor", R"(<FONT color="#FF8000">x</FONT>)", 1, 90, 21, {"3,2 - 0080FF 'x'"}},
    {"UnquotedColorLeavesColor",
     R"(<FONT color=clRed>x</FONT>)",
     1,
     90,
     21,
     {"3,2 - 80000008 'x'"}},
    {"EmptyColorLeavesColor", R"(<FONT color="">x</FONT>)", 1, 90, 21, {"3,2 - 80000008 'x'"}},
    {"BoldWithoutClosingTag", "<B>Hello", 1, 90, 21, {"3,2 B 80000008 'Hello'"}},
    {"LowerCaseTagIsPlainText", "<b>Hello", 1, 90, 21, {"2,2 - 80000008 '<b>Hello'"}},
    {"TagWithoutEndHidesTheRest", "x <Bold text", 1, 90, 21, {"3,2 - 80000008 'x '"}},
    {"LessThanWithoutGreaterThan", "<I>ab <cd ef", 1, 90, 21, {"3,2 I 80000008 'ab '"}},
    {"ShortTagAtEndDropped", "<I>ab<c", 1, 90, 21, {"3,2 I 80000008 'ab'"}},
    {"FontColorThenClose",
     R"(<FONT color="clGreen">one </FONT>two)",
     1,
     90,
     21,
     {"3,2 - 008000 'one '", "27,2 - 80000008 'two'"}},
    {"NoNestingOfBold",
     "<B><B>one</B> two</B>",
     1,
     90,
     21,
     {"3,2 B 80000008 'one'", "24,2 - 80000008 ' '", "30,2 - 80000008 'two'"}},
    {"CloseBoldInBoldHeader", "x</B>y", 0, 90, 21, {"3,2 B 80000008 'x'", "10,2 - 80000008 'y'"}},
    {"OtherClosingBTagRestoresColor",
     R"(<FONT color="clRed">a</BODY>b)",
     1,
     90,
     21,
     {"3,2 - 0000FF 'a'", "9,2 - 80000008 'b'"}},
    {"SizeStepBottomAligned",
     R"(<FONT size="4">big</FONT> small)",
     1,
     90,
     40,
     {"3,2 - 80000008 'big' [Tahoma 14]", "21,10 - 80000008 ' '", "27,10 - 80000008 'small'"}},
    {"SizeInPoints", R"(<I><FONT size="20">x)", 1, 90, 21, {"3,2 I 80000008 'x' [Tahoma 20]"}},
    {"SizeBounded", R"(<I><FONT size="500">x)", 1, 90, 21, {"3,2 I 80000008 'x' [Tahoma 72]"}},
    {"SizeZeroIgnored", R"(<I><FONT size="0">x)", 1, 90, 21, {"3,2 I 80000008 'x'"}},
    {"Face",
     R"(<FONT face="Arial">a</FONT>b)",
     1,
     90,
     21,
     {"3,2 - 80000008 'a' [ARIAL 8]", "9,2 - 80000008 'b'"}},
    {"BackgroundAndRestore",
     R"(<FONT bgcolor="clYellow">a</FONT>b)",
     1,
     90,
     21,
     {"3,2 - 80000008 'a' bg=00FFFF", "9,2 - 80000008 'b'"}},
    {"RememberedBackground",
     R"(<FONT bgcolor="clYellow">a<FONT bgcolor="clAqua">b</FONT>c)",
     1,
     90,
     21,
     {"3,2 - 80000008 'a' bg=00FFFF", "9,2 - 80000008 'b' bg=FFFF00",
      "15,2 - 80000008 'c' bg=00FFFF"}},
    {"CharacterReferences",
     "<I>&lt;B&gt; &amp;lt; a&NBSP;b</I>",
     1,
     90,
     21,
     {"3,2 I 80000008 '<B> '", "27,2 I 80000008 '&lt; '", "57,2 I 80000008 'a b'"}},
    {"NamedReferenceAndHashTag", "<I>&copy;<#1>x", 1, 90, 21, {"3,2 I 80000008 '\xA9#1x'"}},
    {"UnderlineAndStrikeOut",
     "<U>u</U><S>s</S>n",
     1,
     90,
     21,
     {"3,2 U 80000008 'u'", "9,2 S 80000008 's'", "15,2 - 80000008 'n'"}},
    // Wrapping: "three " ends at 87, left of the edge at 88; "four " would not.
    // A second line only follows when 13 more pixels fit above the bottom.
    {"WrapOnlyFullLinesIn21",
     "<I>one two three four five six seven eight</I>",
     1,
     90,
     21,
     {"3,2 I 80000008 'one '", "27,2 I 80000008 'two '", "51,2 I 80000008 'three '"}},
    {"WrapTwoLinesIn40",
     "<I>one two three four five six seven eight</I>",
     1,
     90,
     40,
     {"3,2 I 80000008 'one '", "27,2 I 80000008 'two '", "51,2 I 80000008 'three '",
      "3,15 I 80000008 'four '", "33,15 I 80000008 'five '", "63,15 I 80000008 'six '"}},
    {"WrapThreeLinesIn41",
     "<I>one two three four five six seven eight</I>",
     1,
     90,
     41,
     {"3,2 I 80000008 'one '", "27,2 I 80000008 'two '", "51,2 I 80000008 'three '",
      "3,15 I 80000008 'four '", "33,15 I 80000008 'five '", "63,15 I 80000008 'six '",
      "3,28 I 80000008 'seven '", "39,28 I 80000008 'eight'"}},
    {"RunReachingRightEdgeWraps",
     "<I>aaaaaaaaaaaa <B>b",
     1,
     90,
     40,
     {"3,2 I 80000008 'aaaaaaaaaaaa '", "3,15 BI 80000008 'b'"}},
    {"WrapMeasuresInBold",
     "<B>aaaaa bbbbbbb",
     1,
     90,
     40,
     {"3,2 B 80000008 'aaaaa '", "3,15 B 80000008 'bbbbbbb'"}},
    {"LineBreakTag", "<I>one<BR>two", 1, 90, 40, {"3,2 I 80000008 'one'", "3,15 I 80000008 'two'"}},
    {"CrLfBreaksLine",
     "<I>one\r\ntwo",
     1,
     90,
     40,
     {"3,2 I 80000008 'one'", "3,15 I 80000008 'two'"}},
    {"LineBreakStopsAtBottom", "<I>one<BR>two", 1, 90, 21, {"3,2 I 80000008 'one'"}},
    {"WordInterruptedByTagStays",
     "<I>aaaaaaaaaaaa<B>bbbb",
     1,
     90,
     40,
     {"3,2 I 80000008 'aaaaaaaaaaaa'", "75,2 BI 80000008 'bbbb'"}},
    {"TagBeforeWrappedWordActsOnNextLine",
     "<I>aaaaaaaaaaaa <B>bbbb",
     1,
     90,
     40,
     {"3,2 I 80000008 'aaaaaaaaaaaa '", "3,15 BI 80000008 'bbbb'"}},
    {"RunWiderThanLineStays",
     "<I>a bbbbbbbbbbbbbbb c",
     1,
     90,
     40,
     {"3,2 I 80000008 'a '", "15,2 I 80000008 'bbbbbbbbbbbbbbb '", "3,15 I 80000008 'c'"}},
    // Broken markup from a damaged or hostile list.
    {"ColorWithoutClosingQuote", R"(<I><FONT color="clRed>x)", 1, 90, 21, {"3,2 I 80000008 'x'"}},
    {"FontTagCutOff", "<I>a<FONT", 1, 90, 21, {"3,2 I 80000008 'a'"}},
    {"SizeWithoutNumber", R"(<I><FONT size=">x)", 1, 90, 21, {"3,2 I 80000008 'x'"}},
    {"SizeOverflowingNumber",
     R"(<I><FONT size="99999999999">x)",
     1,
     90,
     21,
     {"3,2 I 80000008 'x' [Tahoma 72]"}},
    {"HashTagWithoutEnd", "<I>a<#b", 1, 90, 21, {"3,2 I 80000008 'a#b'"}},
    {"LoneAmpersands",
     "<I>& &lt &amp",
     1,
     90,
     21,
     {"3,2 I 80000008 '& '", "15,2 I 80000008 '&lt '", "39,2 I 80000008 '&amp'"}},
    {"ClosingTagWithoutLetter", "</>x", 1, 90, 21, {"3,2 - 80000008 'x'"}},
    {"ShortClosingTagAtEnd", "<I>a</", 1, 90, 21, {"3,2 I 80000008 'a'"}},
    {"OnlyLineBreaks", "<I>\r\r\r\rx", 1, 90, 21, {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, MarkupDrawTest, testing::ValuesIn(kMarkupCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The cell is clipped to its rectangle, and the canvas gets its font and
// background back even when the text leaves tags open.
TEST(MarkupDrawState, RestoresFontAndBackground) {
  TGridFixture f;
  f.Grid.SetCellEx(0, 1, R"(<B><FONT color="clRed" bgcolor="clYellow" size="5" face="Arial">x)");
  TFakeCanvas canvas;
  canvas.SetBackground(0x123456);
  ui::DrawGridCell(f.Grid, canvas, 0, 1, ui::TRect{10, 21, 100, 42});
  ASSERT_EQ(DescribeAll(canvas),
            std::vector<std::string>{"13,23 B 0000FF 'x' [ARIAL 16] bg=00FFFF"});
  EXPECT_EQ(canvas.Font(), f.Grid.Font);
  EXPECT_EQ(canvas.Background(), 0x123456u);
  EXPECT_EQ(canvas.Clip.Left, 10);
  EXPECT_EQ(canvas.Clip.Top, 21);
  EXPECT_EQ(canvas.Clip.Right, 100);
  EXPECT_EQ(canvas.Clip.Bottom, 42);
}

}  // namespace
