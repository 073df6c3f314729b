#pragma once
// The grid as a window of its own class: the header row, grid lines, scroll
// bars when the rows or columns do not fit, and cells drawn by the portable
// cell drawing on a GDI canvas. A left click on a cell that holds a web
// address hands it to the shell.

#include "ui/grid/rich_grid.h"
#include "ui/win32/win32_headers.h"

namespace ui::win32 {

class TWin32Grid {
 public:
  TWin32Grid(TRichStringGrid& grid, HWND parent);
  ~TWin32Grid();
  TWin32Grid(const TWin32Grid&) = delete;
  TWin32Grid& operator=(const TWin32Grid&) = delete;

  HWND Handle() const { return window; }
  // The cells or the row count changed: the scroll ranges are set again and
  // the grid repaints when the loop next lets it.
  void Refresh();

 private:
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  void paint(HDC dc);
  int visibleDataRows() const;
  int contentWidth() const;
  int contentHeight() const;
  void updateScrollBars();
  void scrollRows(int request, int wheelRows);
  void scrollColumns(int request);
  // The cell under a client point, or false.
  bool cellAt(int x, int y, int& col, int& row) const;
  void click(int x, int y);

  TRichStringGrid& grid;
  HWND window = nullptr;
  int topRow;         // the first data row shown below the header
  int leftPixel = 0;  // how far the columns are scrolled to the left
  bool updatingBars = false;
};

}  // namespace ui::win32
