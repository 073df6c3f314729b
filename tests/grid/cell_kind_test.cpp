#include <gtest/gtest.h>

#include "ui/grid/cell_kind.h"

namespace {

using ui::TCellKind;

struct KindCase {
  const char* text;
  bool enableHTML;
  TCellKind expected;
};

void PrintTo(const KindCase& c, std::ostream* os) {
  *os << c.text;
}

class CellKindTest : public testing::TestWithParam<KindCase> {};

TEST_P(CellKindTest, Decides) {
  EXPECT_EQ(ui::CellKind(GetParam().text, GetParam().enableHTML), GetParam().expected)
      << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CellKindTest,
    testing::Values(
        KindCase{"", true, TCellKind::Plain}, KindCase{"plain words", true, TCellKind::Plain},
        KindCase{"<B>bold", true, TCellKind::Markup},
        KindCase{"<Bold text", true, TCellKind::Markup},
        KindCase{"x <I>y", true, TCellKind::Markup}, KindCase{"a</FONT>", true, TCellKind::Markup},
        // The search is case-sensitive, and FONT alone is not enough.
        KindCase{"<b>bold", true, TCellKind::Plain}, KindCase{"<i>x", true, TCellKind::Plain},
        KindCase{"<FONT color=\"clRed\">x", true, TCellKind::Plain},
        KindCase{"<B>bold", false, TCellKind::Plain}, KindCase{"=1+2", true, TCellKind::Other},
        KindCase{"|\\wide", true, TCellKind::Other},
        KindCase{"{\\rtf1 <B>x}", true, TCellKind::Other}, KindCase{"|x", true, TCellKind::Plain}));

}  // namespace
