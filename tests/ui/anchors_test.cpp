#include <gtest/gtest.h>

#include "ui/anchors.h"
#include "ui/controls.h"

namespace {

using namespace ui;

// A control at 10,20 to 110,70 (100 by 50) in a client area grown by 40 and
// 30 pixels, or shrunk by 20 and 10.
TEST(Anchors, KeepAnchoredSidesAtTheirEdges) {
  const TRect bounds{10, 20, 110, 70};
  struct Case {
    const char* name;
    unsigned anchors;
    int dx, dy;
    TRect expected;
  } cases[] = {
      {"LeftTopStays", akLeft | akTop, 40, 30, {10, 20, 110, 70}},
      {"RightMoves", akTop | akRight, 40, 30, {50, 20, 150, 70}},
      {"LeftRightStretches", akLeft | akTop | akRight, 40, 30, {10, 20, 150, 70}},
      {"BottomMoves", akLeft | akBottom, 40, 30, {10, 50, 110, 100}},
      {"TopBottomStretches", akLeft | akTop | akBottom, 40, 30, {10, 20, 110, 100}},
      {"AllSidesStretch", akLeft | akTop | akRight | akBottom, 40, 30, {10, 20, 150, 100}},
      {"NoneKeepsCentre", 0, 40, 30, {30, 35, 130, 85}},
      {"RightShrinking", akTop | akRight, -20, -10, {-10, 20, 90, 70}},
      {"StretchShrinking", akLeft | akTop | akRight | akBottom, -20, -10, {10, 20, 90, 60}},
      {"UnchangedSize", akTop | akRight | akBottom, 0, 0, {10, 20, 110, 70}},
  };
  for (const auto& c : cases) {
    const TRect r = AnchoredBounds(bounds, c.anchors, c.dx, c.dy);
    EXPECT_EQ(
        (std::vector<int>{r.Left, r.Top, r.Right, r.Bottom}),
        (std::vector<int>{c.expected.Left, c.expected.Top, c.expected.Right, c.expected.Bottom}))
        << c.name;
  }
}

}  // namespace
