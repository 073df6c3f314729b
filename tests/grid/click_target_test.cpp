#include <gtest/gtest.h>

#include <optional>

#include "grid_fixture.h"
#include "ui/grid/cell_draw.h"

namespace {

using grid_test::TGridFixture;

// What a left click on a cell hands to the shell. Only texts that are an http,
// https or ftp address or a mail address are opened, whole; anything else that
// the grid draws as a link (a file path, another scheme, an address inside a
// sentence) is not, since the list comes from the network.
struct ClickCase {
  const char* name;
  const char* text;
  std::optional<std::string> opened;
  bool urlShow = true;
};

void PrintTo(const ClickCase& c, std::ostream* os) {
  *os << c.name;
}

class ClickTargetTest : public testing::TestWithParam<ClickCase> {};

TEST_P(ClickTargetTest, Opens) {
  const ClickCase& c = GetParam();
  TGridFixture f;
  f.Grid.URLShow = c.urlShow;
  f.Grid.SetCellEx(2, 3, c.text);
  EXPECT_EQ(ui::GridCellClickTarget(f.Grid, 2, 3), c.opened);
}

const ClickCase kClickCases[] = {
    {"Http", "http://example.com/news?id=1", "http://example.com/news?id=1"},
    {"HttpsAnyCase", "HTTPS://example.com/", "HTTPS://example.com/"},
    {"Ftp", "ftp://example.com/qd.zip", "ftp://example.com/qd.zip"},
    {"Mail", "mailto:support@example.com", "mailto:support@example.com"},
    {"FileSchemeRefused", "file:///C:/Windows/System32/calc.exe", std::nullopt},
    {"LocalPathWithMarkRefused", "C:\\tools\\run.exe ://", std::nullopt},
    {"OtherSchemeRefused", "javascript://alert(1)", std::nullopt},
    {"AddressInsideSentenceRefused", "See http://example.com/news", std::nullopt},
    {"QuoteRefused", "http://example.com/\"--flag", std::nullopt},
    {"BlankRefused", "http://example.com/ x.exe", std::nullopt},
    {"LineBreakRefused", "http://example.com/\r\nx", std::nullopt},
    {"SchemeAloneRefused", "http://", std::nullopt},
    {"CellReference", "CELL://B2", std::nullopt},
    {"CellReferenceLowerCase", "http://x/cell://b2", std::nullopt},
    {"MarkupCellNotALink", "<B>http://example.com</B>", std::nullopt},
    {"PlainText", "Bug fixes", std::nullopt},
    {"Empty", "", std::nullopt},
    {"URLShowOff", "http://example.com/", std::nullopt, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, ClickTargetTest, testing::ValuesIn(kClickCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ClickTargetOutside, CellOutsideGridOpensNothing) {
  TGridFixture f;
  EXPECT_EQ(ui::GridCellClickTarget(f.Grid, -1, 0), std::nullopt);
  EXPECT_EQ(ui::GridCellClickTarget(f.Grid, 7, 900), std::nullopt);
}

}  // namespace
