#include "ui/fltk/fltk_grid.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "platform/shell.h"
#include "ui/fltk/fltk_canvas.h"
#include "ui/grid/cell_draw.h"

namespace ui::fltk {

TFltkGrid::TFltkGrid(TRichStringGrid& g, int x, int y, int w, int h)
    : Fl_Group(x, y, w, h),
      grid(g),
      vbar(x + w - 1 - kScrollBarWidth, y + 1, kScrollBarWidth, h - 2) {
  end();
  box(FL_DOWN_FRAME);
  vbar.type(FL_VERTICAL);
  vbar.callback(
      [](Fl_Widget* bar, void* self) {
        auto* me = static_cast<TFltkGrid*>(self);
        me->topRow = static_cast<int>(static_cast<Fl_Scrollbar*>(bar)->value());
        me->redraw();
      },
      this);
  updateScrollBar();
}

int TFltkGrid::visibleDataRows() const {
  const int inner = h() - 2 - grid.RowHeight(0) - grid.GridLineWidth;
  return std::max(1, inner / (grid.DefaultRowHeight + grid.GridLineWidth));
}

void TFltkGrid::updateScrollBar() {
  const int dataRows = grid.GetRowCountEx() - grid.FixedRows;
  const int shown = visibleDataRows();
  if (dataRows > shown) {
    const int last = grid.FixedRows + dataRows - shown;
    topRow = std::clamp(topRow, grid.FixedRows, last);
    vbar.value(topRow, shown, grid.FixedRows, dataRows);
    vbar.show();
  } else {
    topRow = grid.FixedRows;
    vbar.hide();
  }
}

void TFltkGrid::Refresh() {
  updateScrollBar();
  redraw();
}

void TFltkGrid::draw() {
  fl_push_clip(x(), y(), w(), h());
  fl_color(ToFlColor(grid.Color));
  fl_rectf(x(), y(), w(), h());
  const int right = vbar.visible() ? vbar.x() : x() + w() - 1;
  int top = y() + 1;
  auto drawRow = [&](int row) {
    const int height = grid.RowHeight(row);
    int left = x() + 1;
    for (int col = 0; col < grid.ColCount; ++col) {
      const int width = grid.ColWidths[static_cast<size_t>(col)];
      const TRect rect{left, top, left + width, top + height};
      if (row < grid.FixedRows) {
        // The header row: a light face with a darker line under it.
        fl_color(fl_rgb_color(0xF5, 0xF4, 0xEA));
        fl_rectf(rect.Left, rect.Top, width, height);
        fl_color(fl_rgb_color(0xE2, 0xDE, 0xCD));
        fl_line(rect.Left, rect.Bottom - 1, rect.Right - 1, rect.Bottom - 1);
      }
      {
        TFltkCanvas canvas;
        fl_push_clip(rect.Left, rect.Top, std::max(0, std::min(rect.Right, right) - rect.Left),
                     height);
        DrawGridCell(grid, canvas, col, row, rect);
        fl_pop_clip();
      }
      fl_color(ToFlColor(grid.GridLineColor));
      fl_line(rect.Right, rect.Top, rect.Right, rect.Bottom);
      left = rect.Right + grid.GridLineWidth;
    }
    fl_color(ToFlColor(grid.GridLineColor));
    fl_line(x() + 1, top + height, left - 1, top + height);
    top += height + grid.GridLineWidth;
  };
  for (int row = 0; row < grid.FixedRows && row < grid.GetRowCountEx(); ++row) drawRow(row);
  for (int row = topRow; row < grid.GetRowCountEx() && top < y() + h(); ++row) drawRow(row);
  fl_pop_clip();
  draw_box(box(), x(), y(), w(), h(), FL_BLACK);
  if (vbar.visible()) draw_child(vbar);
}

bool TFltkGrid::cellAt(int px, int py, int& col, int& row) const {
  int top = y() + 1;
  row = -1;
  for (int r = 0; r < grid.FixedRows && row < 0; ++r) {
    if (py >= top && py < top + grid.RowHeight(r)) row = r;
    top += grid.RowHeight(r) + grid.GridLineWidth;
  }
  for (int r = topRow; r < grid.GetRowCountEx() && row < 0 && top < y() + h(); ++r) {
    if (py >= top && py < top + grid.RowHeight(r)) row = r;
    top += grid.RowHeight(r) + grid.GridLineWidth;
  }
  int left = x() + 1;
  col = -1;
  for (int c = 0; c < grid.ColCount && col < 0; ++c) {
    const int width = grid.ColWidths[static_cast<size_t>(c)];
    if (px >= left && px < left + width) col = c;
    left += width + grid.GridLineWidth;
  }
  return row >= 0 && col >= 0;
}

int TFltkGrid::handle(int event) {
  if (vbar.visible() && Fl::event_inside(&vbar)) return Fl_Group::handle(event);
  switch (event) {
    case FL_PUSH: {
      int col, row;
      if (Fl::event_button() == FL_LEFT_MOUSE && cellAt(Fl::event_x(), Fl::event_y(), col, row))
        if (auto text = GridCellClickTarget(grid, col, row)) platform::ShellOpen(*text);
      return 1;
    }
    case FL_MOUSEWHEEL:
      if (vbar.visible()) {
        vbar.value(std::clamp(static_cast<int>(vbar.value()) + 3 * Fl::event_dy(),
                              static_cast<int>(vbar.minimum()), static_cast<int>(vbar.maximum())));
        vbar.do_callback();
        return 1;
      }
      return 0;
    default:
      return Fl_Group::handle(event);
  }
}

}  // namespace ui::fltk
