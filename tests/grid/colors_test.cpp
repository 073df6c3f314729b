#include <gtest/gtest.h>

#include "ui/grid/colors.h"

namespace {

struct ColorCase {
  const char* value;
  ui::TColor expected;
};

void PrintTo(const ColorCase& c, std::ostream* os) {
  *os << c.value;
}

class MarkupColorTest : public testing::TestWithParam<ColorCase> {};

TEST_P(MarkupColorTest, ResolvesValue) {
  EXPECT_EQ(ui::MarkupColor(GetParam().value), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, MarkupColorTest,
    testing::Values(ColorCase{"clred", 0x0000FF}, ColorCase{"CLRED", 0x0000FF},
                    ColorCase{"ClReD", 0x0000FF}, ColorCase{"clNavy", 0x800000},
                    ColorCase{"clMaroon", 0x000080}, ColorCase{"clWindowText", 0x80000008},
                    ColorCase{"clInfoBk", 0x80000018}, ColorCase{"cl3DDkShadow", 0x80000015},
                    // Unknown names are black.
                    ColorCase{"clPink", 0x000000}, ColorCase{"red", 0x000000},
                    // "#RRGGBB" gives blue * 65536 + green * 256 + red.
                    ColorCase{"#FF8000", 0x0080FF}, ColorCase{"#0a0b0c", 0x0C0B0A},
                    ColorCase{"#123456TRAIL", 0x563412},
                    // Malformed hexadecimal values are black, as unknown names.
                    ColorCase{"#FF80", 0x000000}, ColorCase{"#GG0000", 0x000000},
                    ColorCase{"#", 0x000000}));

}  // namespace
