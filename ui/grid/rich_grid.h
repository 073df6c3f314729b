#pragma once
// The update list's grid: a cell store addressed column first, row second, and
// the configuration that its drawing follows.

#include <map>
#include <vector>

#include "ui/controls.h"

namespace ui {

class TRichStringGrid : public TControl {
 public:
  explicit TRichStringGrid(TForm& owner);

  int ColCount = 3;
  int FixedRows = 1, FixedCols = 0;
  std::vector<int> ColWidths{90, 107, 357};
  int DefaultRowHeight = 21, FixedRowHeight = 21;
  TFont FixedFont;
  int GridLineWidth = 1;
  TColor GridLineColor = clSilver;
  bool EnableHTML = true;
  bool WordWrap = true;
  bool URLShow = true;
  TColor URLColor = clBlue;
  bool URLFull = false;
  int XOffset = 2, YOffset = 2;  // cell text offset, left/right and top

  // The number of rows, the header row included. Texts of the remaining rows
  // stay.
  void SetRowCountEx(int rows);
  int GetRowCountEx() const { return rowCount; }
  // Stores a cell's text exactly; the cell is redrawn.
  void SetCellEx(int col, int row, const AnsiString& text);
  const AnsiString& GetCellEx(int col, int row) const;

  int RowHeight(int row) const { return row < FixedRows ? FixedRowHeight : DefaultRowHeight; }
  // The font a cell is drawn in: FixedFont for the header row, Font otherwise.
  const TFont& CellFont(int row) const { return row < FixedRows ? FixedFont : Font; }

  // Every change bumps this, so that a back-end can tell that it must redraw.
  unsigned Generation() const { return generation; }

 private:
  int rowCount = 50;
  std::map<std::pair<int, int>, AnsiString> cells;  // (row, col) -> text
  unsigned generation = 0;
};

}  // namespace ui
