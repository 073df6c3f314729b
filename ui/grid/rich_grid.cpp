#include "ui/grid/rich_grid.h"

namespace ui {

TRichStringGrid::TRichStringGrid(TForm& owner) : TControl(owner, TControlClass::RichStringGrid) {
  Font = TFont{"Tahoma", 8, clWindowText, {}};
  FixedFont = TFont{"Tahoma", 8, clWindowText, {.Bold = true}};
  Color = clWindow;
  // The header row: type, date, description.
  cells[{0, 0}] = "\xD2\xE8\xEF";
  cells[{0, 1}] = "\xC4\xE0\xF2\xE0";
  cells[{0, 2}] = "\xCE\xEF\xE8\xF1\xE0\xED\xE8\xE5";
}

void TRichStringGrid::SetRowCountEx(int rows) {
  if (rows < 0) rows = 0;
  if (rows == rowCount) return;
  rowCount = rows;
  ++generation;
  Changed();
}

void TRichStringGrid::SetCellEx(int col, int row, const AnsiString& text) {
  if (col < 0 || row < 0) return;
  AnsiString& cell = cells[{row, col}];
  if (cell == text) return;
  cell = text;
  ++generation;
  Changed();
}

const AnsiString& TRichStringGrid::GetCellEx(int col, int row) const {
  static const AnsiString empty;
  const auto it = cells.find({row, col});
  return it == cells.end() ? empty : it->second;
}

}  // namespace ui
