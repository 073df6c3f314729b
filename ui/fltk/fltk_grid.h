#pragma once
// The grid widget: header row, grid lines, a vertical scroll bar when the rows
// do not fit, and cells drawn by the portable cell drawing.

#include <FL/Fl_Group.H>
#include <FL/Fl_Scrollbar.H>

#include "ui/grid/rich_grid.h"

namespace ui::fltk {

class TFltkGrid : public Fl_Group {
 public:
  TFltkGrid(TRichStringGrid& grid, int x, int y, int w, int h);
  void Refresh();

 protected:
  void draw() override;
  int handle(int event) override;

 private:
  static constexpr int kScrollBarWidth = 17;
  int visibleDataRows() const;
  void updateScrollBar();
  // The cell under a point, or false.
  bool cellAt(int px, int py, int& col, int& row) const;

  TRichStringGrid& grid;
  Fl_Scrollbar vbar;
  int topRow = 1;  // the first data row shown below the header
};

}  // namespace ui::fltk
