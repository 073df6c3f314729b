#include "ui/grid/grid_layout.h"

#include <algorithm>

namespace ui {

namespace {

// The width of a column that ColWidths does not list.
constexpr int kDefaultColWidth = 64;

int contentWidth(const TRichStringGrid& grid) {
  int width = 0;
  for (int c = 0; c < grid.ColCount; ++c) {
    const auto at = static_cast<size_t>(c);
    width +=
        (at < grid.ColWidths.size() ? grid.ColWidths[at] : kDefaultColWidth) + grid.GridLineWidth;
  }
  return width;
}

int contentHeight(const TRichStringGrid& grid) {
  int height = 0;
  for (int r = 0; r < grid.GetRowCountEx(); ++r) height += grid.RowHeight(r) + grid.GridLineWidth;
  return height;
}

// A position along one direction after a step: line and page are the sizes
// of the steps, last the furthest position.
int stepped(int position, TGridScrollStep step, int line, int page, int last) {
  switch (step) {
    case TGridScrollStep::LineBack:
      return position - line;
    case TGridScrollStep::LineForward:
      return position + line;
    case TGridScrollStep::PageBack:
      return position - page;
    case TGridScrollStep::PageForward:
      return position + page;
    case TGridScrollStep::First:
      return 0;
    case TGridScrollStep::Last:
      return last;
  }
  return position;
}

}  // namespace

TGridBars GridScrollBars(const TRichStringGrid& grid, int width, int height, int barWidth,
                         int barHeight) {
  const int cellsWidth = contentWidth(grid), cellsHeight = contentHeight(grid);
  TGridBars bars;
  bars.Vertical = cellsHeight > height;
  bars.Horizontal = cellsWidth > width - (bars.Vertical ? barWidth : 0);
  if (bars.Horizontal && !bars.Vertical) bars.Vertical = cellsHeight > height - barHeight;
  return bars;
}

TRect GridClient(const TRect& area, TGridBars bars, int barWidth, int barHeight) {
  TRect client = area;
  if (bars.Vertical) client.Right -= barWidth;
  if (bars.Horizontal) client.Bottom -= barHeight;
  return client;
}

TGridLayout::TGridLayout(const TRichStringGrid& g, const TRect& c, TGridScroll s)
    : grid(g), client(c) {
  scroll = clamped(s);
}

int TGridLayout::colWidth(int col) const {
  const auto at = static_cast<size_t>(col);
  return at < grid.ColWidths.size() ? grid.ColWidths[at] : kDefaultColWidth;
}

int TGridLayout::HeaderHeight() const {
  int height = 0;
  for (int r = 0; r < grid.FixedRows; ++r) height += grid.RowHeight(r) + grid.GridLineWidth;
  return height;
}

int TGridLayout::ContentWidth() const {
  return contentWidth(grid);
}

int TGridLayout::ContentHeight() const {
  return contentHeight(grid);
}

int TGridLayout::DataRows() const {
  return std::max(0, grid.GetRowCountEx() - grid.FixedRows);
}

int TGridLayout::PageRows() const {
  const int room = client.Height() - HeaderHeight();
  return std::max(1, room / (grid.DefaultRowHeight + grid.GridLineWidth));
}

TGridScroll TGridLayout::MaxScroll() const {
  return {std::max(0, DataRows() - PageRows()), std::max(0, ContentWidth() - client.Width())};
}

TGridScroll TGridLayout::clamped(TGridScroll s) const {
  const TGridScroll limit = MaxScroll();
  return {std::clamp(s.Rows, 0, limit.Rows), std::clamp(s.Pixels, 0, limit.Pixels)};
}

std::vector<int> TGridLayout::VisibleRows() const {
  std::vector<int> rows;
  const int count = grid.GetRowCountEx();
  for (int r = 0; r < grid.FixedRows && r < count; ++r) rows.push_back(r);
  int top = client.Top + HeaderHeight();
  for (int r = TopRow(); r < count && top < client.Bottom; ++r) {
    rows.push_back(r);
    top += grid.RowHeight(r) + grid.GridLineWidth;
  }
  return rows;
}

int TGridLayout::ColLeft(int col) const {
  int left = client.Left - scroll.Pixels;
  for (int c = 0; c < col; ++c) left += colWidth(c) + grid.GridLineWidth;
  return left;
}

int TGridLayout::RowTop(int row) const {
  int top = client.Top;
  if (row < grid.FixedRows) {
    for (int r = 0; r < row; ++r) top += grid.RowHeight(r) + grid.GridLineWidth;
    return top;
  }
  return top + HeaderHeight() + (row - TopRow()) * (grid.DefaultRowHeight + grid.GridLineWidth);
}

TRect TGridLayout::CellRect(int col, int row) const {
  const int left = ColLeft(col), top = RowTop(row);
  return {left, top, left + colWidth(col), top + grid.RowHeight(row)};
}

std::optional<TGridCell> TGridLayout::CellAt(int x, int y) const {
  if (x < client.Left || x >= client.Right || y < client.Top || y >= client.Bottom)
    return std::nullopt;
  for (const int row : VisibleRows()) {
    const int top = RowTop(row);
    if (y < top || y >= top + grid.RowHeight(row)) continue;
    for (int col = 0; col < grid.ColCount; ++col) {
      const int left = ColLeft(col);
      if (x >= left && x < left + colWidth(col)) return TGridCell{col, row};
    }
    return std::nullopt;
  }
  return std::nullopt;
}

TGridPaint TGridLayout::Paint() const {
  TGridPaint paint;
  paint.Fills.push_back({client, grid.Color});
  const int lw = grid.GridLineWidth;
  const auto line = [&](const TRect& r) {
    if (lw > 0) paint.Fills.push_back({r, grid.GridLineColor});
  };
  for (const int row : VisibleRows()) {
    for (int col = 0; col < grid.ColCount; ++col) {
      const TRect rect = CellRect(col, row);
      if (rect.Right > client.Left && rect.Left < client.Right) {
        if (row < grid.FixedRows) {
          paint.Fills.push_back({rect, kGridHeaderFace});
          paint.Fills.push_back(
              {{rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom}, kGridHeaderLine});
        }
        paint.Cells.push_back({{col, row}, rect});
      }
      line({rect.Right, rect.Top, rect.Right + lw, rect.Bottom + lw});
    }
    const int bottom = RowTop(row) + grid.RowHeight(row);
    line({ColLeft(0), bottom, ColLeft(grid.ColCount), bottom + lw});
  }
  return paint;
}

TGridScroll TGridLayout::ScrollRows(TGridScrollStep step) const {
  return clamped({stepped(scroll.Rows, step, 1, PageRows(), MaxScroll().Rows), scroll.Pixels});
}

TGridScroll TGridLayout::ScrollColumns(TGridScrollStep step) const {
  return clamped({scroll.Rows, stepped(scroll.Pixels, step, kGridLinePixels, client.Width(),
                                       MaxScroll().Pixels)});
}

TGridScroll TGridLayout::ScrollRowsTo(int rows) const {
  return clamped({rows, scroll.Pixels});
}

TGridScroll TGridLayout::ScrollPixelsTo(int pixels) const {
  return clamped({scroll.Rows, pixels});
}

TGridScroll TGridLayout::ScrollWheel(int notches) const {
  return clamped({scroll.Rows + kGridWheelRows * notches, scroll.Pixels});
}

TGridScroll TGridLayout::ScrollKey(TGridKey key) const {
  // The arrows up and down, the page keys, Home and End move the rows; the
  // arrows left and right the columns.
  static constexpr struct {
    TGridKey key;
    bool rows;
    TGridScrollStep step;
  } kKeySteps[] = {
      {TGridKey::Up, true, TGridScrollStep::LineBack},
      {TGridKey::Down, true, TGridScrollStep::LineForward},
      {TGridKey::PageUp, true, TGridScrollStep::PageBack},
      {TGridKey::PageDown, true, TGridScrollStep::PageForward},
      {TGridKey::Home, true, TGridScrollStep::First},
      {TGridKey::End, true, TGridScrollStep::Last},
      {TGridKey::Left, false, TGridScrollStep::LineBack},
      {TGridKey::Right, false, TGridScrollStep::LineForward},
  };
  for (const auto& k : kKeySteps)
    if (k.key == key) return k.rows ? ScrollRows(k.step) : ScrollColumns(k.step);
  return scroll;
}

}  // namespace ui
