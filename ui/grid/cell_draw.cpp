#include "ui/grid/cell_draw.h"

namespace ui {

void DrawGridCell(const TRichStringGrid& grid, TGridCanvas& canvas, int col, int row,
                  const TRect& rect) {
  const AnsiString& text = grid.GetCellEx(col, row);
  if (text.empty()) return;
  // Plain text, one line, top-left in the cell text area.
  const TRect area{rect.Left + grid.XOffset, rect.Top + grid.YOffset, rect.Right - grid.XOffset,
                   rect.Bottom};
  canvas.SetClip(rect);
  canvas.SetFont(grid.CellFont(row));
  canvas.SetBackground(clNone);
  canvas.TextOut(area.Left, area.Top, text);
}

std::optional<AnsiString> GridCellClickTarget(const TRichStringGrid&, int, int) {
  return std::nullopt;
}

}  // namespace ui
