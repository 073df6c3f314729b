#include "ui/anchors.h"

#include "ui/controls.h"

namespace ui {

namespace {

// One direction: the start and end of the control along it.
void anchor(int& start, int& end, bool toStart, bool toEnd, int grown) {
  if (toStart && toEnd) {
    end += grown;
  } else if (toEnd) {
    start += grown;
    end += grown;
  } else if (!toStart) {
    start += grown / 2;
    end += grown / 2;
  }
}

}  // namespace

TRect AnchoredBounds(const TRect& bounds, unsigned anchors, int dx, int dy) {
  TRect r = bounds;
  anchor(r.Left, r.Right, anchors & akLeft, anchors & akRight, dx);
  anchor(r.Top, r.Bottom, anchors & akTop, anchors & akBottom, dy);
  return r;
}

}  // namespace ui
