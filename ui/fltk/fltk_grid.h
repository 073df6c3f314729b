#pragma once
// The grid widget: header row, grid lines, scroll bars when the rows or the
// columns do not fit, and cells drawn by the portable cell drawing, all
// placed by the grid's layout. It scrolls with its bars, the mouse wheel and
// the keys; a left click on a cell that holds a web address hands it to the
// shell.

#include <FL/Fl_Group.H>
#include <FL/Fl_Scrollbar.H>

#include "ui/grid/grid_layout.h"
#include "ui/grid/rich_grid.h"

namespace ui::fltk {

class TFltkGrid : public Fl_Group {
 public:
  TFltkGrid(TRichStringGrid& grid, int x, int y, int w, int h);
  // The cells or the row count changed: the bars are set again and the grid
  // redraws.
  void Refresh();
  void resize(int x, int y, int w, int h) override;

 protected:
  void draw() override;
  int handle(int event) override;

 private:
  static constexpr int kScrollBarWidth = 17;
  // The area inside the frame, scroll bars included.
  TRect inner() const;
  // The layout of the cells in the area that the bars leave.
  TGridLayout layout() const;
  void updateScrollBars();
  // Moves to a new position, clamped, and redraws when it differs.
  void scrollTo(TGridScroll position);
  bool onScrollBar() const;

  TRichStringGrid& grid;
  Fl_Scrollbar vbar, hbar;
  TGridBars bars;
  TGridScroll scroll;
};

}  // namespace ui::fltk
