#pragma once
// Drawing of a plain cell's text: top-left, one line under the other, broken
// at CR LF and, with word wrap, at blanks.

#include <string_view>

#include "ui/grid/canvas.h"

namespace ui {

// Draws text into area in the canvas's current font, transparently over the
// background that is already there. Lines that start at or below the bottom of
// area are not drawn; the canvas's clip cuts off the rest of a line that only
// partly fits. The canvas background is the same afterwards.
void DrawPlainCell(TGridCanvas& canvas, std::string_view text, const TRect& area, bool wordWrap);

}  // namespace ui
