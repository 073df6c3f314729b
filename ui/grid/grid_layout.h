#pragma once
// Where the grid's rows and columns lie in its client area: the cell
// rectangles for a scroll position, the cell under a point, the rows shown,
// the scroll bars the grid needs, how far it scrolls and what each scrolling
// request does, and the rectangles a paint fills. Pure arithmetic over the
// grid's configuration, so that every back-end draws and hit-tests the same
// way; the back-ends only fill rectangles and draw the cells' texts.

#include <optional>
#include <vector>

#include "ui/grid/rich_grid.h"

namespace ui {

// The header row's face and the darker line under it.
constexpr TColor kGridHeaderFace = 0xEAF4F5;
constexpr TColor kGridHeaderLine = 0xCDDEE2;

// Rows the mouse wheel scrolls per notch, pixels a horizontal line step
// scrolls.
constexpr int kGridWheelRows = 3;
constexpr int kGridLinePixels = 20;

struct TGridCell {
  int Col = 0, Row = 0;
  bool operator==(const TGridCell&) const = default;
};

// How far the grid is scrolled: data rows hidden above the first one shown
// below the fixed rows, and pixels of the columns hidden on the left.
struct TGridScroll {
  int Rows = 0;
  int Pixels = 0;
  bool operator==(const TGridScroll&) const = default;
};

// The scroll bars a grid shows.
struct TGridBars {
  bool Vertical = false, Horizontal = false;
  bool operator==(const TGridBars&) const = default;
};

// A scrolling request of a scroll bar or a key, along one direction.
enum class TGridScrollStep { LineBack, LineForward, PageBack, PageForward, First, Last };

// The keys that scroll the grid.
enum class TGridKey { Up, Down, PageUp, PageDown, Home, End, Left, Right };

// A rectangle that a paint fills in one colour.
struct TGridFill {
  TRect Rect;
  TColor Color;
};

// A cell that a paint draws the text of, with its rectangle.
struct TGridCellPlace {
  TGridCell Cell;
  TRect Rect;
};

// What one paint of the grid does, in order: fill the rectangles (the
// background, the header faces and lines, the grid lines), then draw the
// text of each cell with DrawGridCell.
struct TGridPaint {
  std::vector<TGridFill> Fills;
  std::vector<TGridCellPlace> Cells;
};

// The scroll bars that the grid needs in an area of width by height pixels
// without bars, where a vertical bar takes barWidth and a horizontal one
// barHeight: a bar only when the cells do not fit, counting the room the
// other bar takes when that one is needed.
TGridBars GridScrollBars(const TRichStringGrid& grid, int width, int height, int barWidth,
                         int barHeight);

// The part of an area that the cells have once the bars shown take their
// room along its right and bottom edges.
TRect GridClient(const TRect& area, TGridBars bars, int barWidth, int barHeight);

class TGridLayout {
 public:
  // client: the area the cells are drawn in, scroll bars excluded, in the
  // back-end's coordinates; the first column starts at its left edge and the
  // header at its top. The scroll position is clamped to the limits.
  TGridLayout(const TRichStringGrid& grid, const TRect& client, TGridScroll scroll);

  const TRect& Client() const { return client; }
  TGridScroll Scroll() const { return scroll; }
  // The fixed rows with their grid lines.
  int HeaderHeight() const;
  // Every column, or every row, with its grid line.
  int ContentWidth() const;
  int ContentHeight() const;
  int DataRows() const;
  // Data rows that fit wholly below the header, at least one.
  int PageRows() const;
  // The furthest scroll position: the last data rows fill the page, the last
  // column ends at the client's right edge.
  TGridScroll MaxScroll() const;
  // The first data row shown below the header.
  int TopRow() const { return grid.FixedRows + scroll.Rows; }

  // The rows drawn, from the top: the fixed rows, then the data rows from
  // TopRow while they start above the client's bottom edge.
  std::vector<int> VisibleRows() const;
  int ColLeft(int col) const;
  int RowTop(int row) const;
  // The cell's rectangle, grid lines excluded.
  TRect CellRect(int col, int row) const;
  // The shown cell under a point; points on grid lines, right of the last
  // column or below the last row lie in none.
  std::optional<TGridCell> CellAt(int x, int y) const;
  // Everything one paint draws.
  TGridPaint Paint() const;

  // Scroll positions after a request, clamped to the limits.
  TGridScroll ScrollRows(TGridScrollStep step) const;
  TGridScroll ScrollColumns(TGridScrollStep step) const;
  TGridScroll ScrollRowsTo(int rows) const;
  TGridScroll ScrollPixelsTo(int pixels) const;
  // notches: positive towards the end of the list.
  TGridScroll ScrollWheel(int notches) const;
  TGridScroll ScrollKey(TGridKey key) const;

 private:
  int colWidth(int col) const;
  TGridScroll clamped(TGridScroll s) const;

  const TRichStringGrid& grid;
  TRect client;
  TGridScroll scroll;
};

}  // namespace ui
