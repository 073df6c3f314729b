#include <gtest/gtest.h>

#include <sstream>

#include "grid_fixture.h"
#include "ui/application.h"
#include "ui/headless/headless_backend.h"

namespace {

// The headless back-end paints every cell through the grid's drawing and
// prints what a click on a cell opens.
TEST(HeadlessTrace, DrawsMarkupAndPrintsOpen) {
  std::ostringstream out;
  {
    ui::TApplication app(std::make_unique<ui::THeadlessBackend>(
        out, "click Form.Sg 2 1;click Form.Sg 2 2;click Form.Sg 0 1", true));
    auto& grid = app.CreateForm(grid_test::GridFormDesc(), {}).Get<ui::TRichStringGrid>("Sg");
    grid.SetRowCountEx(3);
    grid.SetCellEx(0, 1, R"(<FONT color="clRed"><B><I>critical</I></B></FONT>)");
    grid.SetCellEx(2, 1, "http://example.com/news");
    grid.SetCellEx(2, 2, "file:///usr/bin/xterm");
    app.Run();
  }
  const std::string trace = out.str();
  const char* expected[] = {
      "draw 0 0 x=2 y=2 font=\"Tahoma\" size=8 style=B color=000000 \"\xD0\xA2\xD0\xB8\xD0\xBF\"\n",
      "draw 0 1 x=3 y=2 font=\"Tahoma\" size=8 style=BI color=FF0000 \"critical\"\n",
      "draw 2 1 x=2 y=2 font=\"Tahoma\" size=8 style=U color=0000FF \"example.com/news\"\n",
      "draw 2 2 x=2 y=2 font=\"Tahoma\" size=8 style=U color=0000FF \"/usr/bin/xterm\"\n",
      "open \"http://example.com/news\"\n",
  };
  for (const char* line : expected) EXPECT_NE(trace.find(line), std::string::npos) << line;
  EXPECT_EQ(trace.find("open \"file:"), std::string::npos);
  EXPECT_EQ(trace.find("open \"<FONT"), std::string::npos);
}

}  // namespace
