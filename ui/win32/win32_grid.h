#pragma once
// The grid as a window of its own class: the header row, grid lines, scroll
// bars when the rows or columns do not fit, and cells drawn by the portable
// cell drawing on a GDI canvas, all placed by the grid's layout. A left click
// on a cell that holds a web address hands it to the shell.

#include "ui/grid/grid_layout.h"
#include "ui/grid/rich_grid.h"
#include "ui/win32/win32_headers.h"
#include "ui/win32/win32_window_class.h"

namespace ui::win32 {

class TWin32Grid : public TWindowObject {
 public:
  TWin32Grid(TRichStringGrid& grid, HWND parent);
  ~TWin32Grid();

  // The cells or the row count changed: the scroll ranges are set again and
  // the grid repaints when the loop next lets it.
  void Refresh();

 private:
  template <typename T>
  friend LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT HandleMessage(UINT message, WPARAM w, LPARAM l);
  // The layout of the cells in the client area at the current position.
  TGridLayout layout() const;
  void paint(HDC dc, int width, int height);
  void updateScrollBars();
  // Moves to a new position, clamped, and repaints when it differs.
  void scrollTo(TGridScroll position);
  void scrollRows(int request);
  void scrollColumns(int request);
  void click(int x, int y);

  TRichStringGrid& grid;
  TGridScroll scroll;
  bool updatingBars = false;
};

}  // namespace ui::win32
