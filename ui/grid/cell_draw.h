#pragma once
// Drawing of one grid cell's text, and what a click on a cell opens.

#include <optional>

#include "ui/grid/canvas.h"
#include "ui/grid/rich_grid.h"

namespace ui {

// Draws the text of cell (col, row) into rect, whose background the caller
// has already painted.
void DrawGridCell(const TRichStringGrid& grid, TGridCanvas& canvas, int col, int row,
                  const TRect& rect);

// The text that a left click on the cell hands to the shell, if any.
std::optional<AnsiString> GridCellClickTarget(const TRichStringGrid& grid, int col, int row);

}  // namespace ui
