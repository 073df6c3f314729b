#pragma once
// Where a control lies once its form's client area has another size than
// the form's description gives.

#include "ui/types.h"

namespace ui {

// The bounds (left, top, right, bottom) of a control with the given anchors
// (akLeft | akTop ...) after the client area has grown by dx and dy (shrunk
// when negative). A side anchored to the form's edge keeps its distance to
// that edge: anchored left and right the control stretches, right only it
// moves, neither it keeps its place relative to the centre; the same
// vertically.
TRect AnchoredBounds(const TRect& bounds, unsigned anchors, int dx, int dy);

}  // namespace ui
