#include <gtest/gtest.h>

#include <string>

#include "ui/dialogs.h"

namespace {

using namespace ui;

// The captions that both widget sets put on the buttons of a box.
TEST(ButtonCaption, EveryResultHasItsCaption) {
  struct Case {
    int result;
    std::string caption;
  } cases[] = {
      {mrOk, "OK"},
      {mrCancel, "Cancel"},
      {mrAbort, "&Abort"},
      {mrRetry, "&Retry"},
      {mrIgnore, "&Ignore"},
      {mrYes, "&Yes"},
      {mrNo, "&No"},
      {mrAll, "&All"},
      {mrNoToAll, "N&o to All"},
      {mrYesToAll, "Yes to &All"},
      {mrNone, "?"},
      {42, "?"},
  };
  for (const auto& c : cases) EXPECT_EQ(ButtonCaption(c.result), c.caption) << c.result;
}

}  // namespace
