#pragma once
// Drawing of a markup cell: text with B, I, BR and FONT tags laid out in
// lines that break at blanks.

#include <string_view>

#include "ui/grid/canvas.h"

namespace ui {

// Draws the markup text into area (the cell's text area), starting from the
// canvas's current font, transparently over the background that is already
// there. Lines are drawn from the top down while they fit above the bottom of
// area. The canvas's font and background are the same afterwards.
void DrawMarkupCell(TGridCanvas& canvas, std::string_view text, const TRect& area);

}  // namespace ui
