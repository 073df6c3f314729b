#include "ui/fltk/fltk_grid.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <optional>
#include <utility>

#include "platform/shell.h"
#include "ui/fltk/fltk_canvas.h"
#include "ui/grid/cell_draw.h"

namespace ui::fltk {

namespace {

std::optional<TGridKey> keyOf(int key) {
  static constexpr std::pair<int, TGridKey> kKeys[] = {
      {FL_Up, TGridKey::Up},          {FL_Down, TGridKey::Down},
      {FL_Page_Up, TGridKey::PageUp}, {FL_Page_Down, TGridKey::PageDown},
      {FL_Home, TGridKey::Home},      {FL_End, TGridKey::End},
      {FL_Left, TGridKey::Left},      {FL_Right, TGridKey::Right},
  };
  for (const auto& [code, gridKey] : kKeys)
    if (code == key) return gridKey;
  return std::nullopt;
}

}  // namespace

TFltkGrid::TFltkGrid(TRichStringGrid& g, int x, int y, int w, int h)
    : Fl_Group(x, y, w, h), grid(g), vbar(x, y, 1, 1), hbar(x, y, 1, 1) {
  end();
  box(FL_DOWN_FRAME);
  vbar.type(FL_VERTICAL);
  hbar.type(FL_HORIZONTAL);
  // The bars move by one row and by the layout's line step; the keyboard
  // focus stays with the grid, which scrolls by the keys itself.
  vbar.linesize(1);
  hbar.linesize(kGridLinePixels);
  for (Fl_Scrollbar* bar : {&vbar, &hbar}) bar->visible_focus(0);
  vbar.callback(
      [](Fl_Widget* bar, void* self) {
        auto* me = static_cast<TFltkGrid*>(self);
        me->scrollTo(
            me->layout().ScrollRowsTo(static_cast<int>(static_cast<Fl_Scrollbar*>(bar)->value())));
      },
      this);
  hbar.callback(
      [](Fl_Widget* bar, void* self) {
        auto* me = static_cast<TFltkGrid*>(self);
        me->scrollTo(me->layout().ScrollPixelsTo(
            static_cast<int>(static_cast<Fl_Scrollbar*>(bar)->value())));
      },
      this);
  updateScrollBars();
}

TRect TFltkGrid::inner() const {
  const int left = x() + Fl::box_dx(box()), top = y() + Fl::box_dy(box());
  return {left, top, left + w() - Fl::box_dw(box()), top + h() - Fl::box_dh(box())};
}

TGridLayout TFltkGrid::layout() const {
  return TGridLayout(grid, GridClient(inner(), bars, kScrollBarWidth, kScrollBarWidth), scroll);
}

void TFltkGrid::updateScrollBars() {
  const TRect area = inner();
  bars = GridScrollBars(grid, area.Width(), area.Height(), kScrollBarWidth, kScrollBarWidth);
  const TGridLayout l = layout();
  scroll = l.Scroll();
  const TRect& client = l.Client();
  if (bars.Vertical) {
    vbar.resize(client.Right, client.Top, kScrollBarWidth, client.Height());
    vbar.value(scroll.Rows, l.PageRows(), 0, l.DataRows());
    vbar.show();
  } else {
    vbar.hide();
  }
  if (bars.Horizontal) {
    hbar.resize(client.Left, client.Bottom, client.Width(), kScrollBarWidth);
    hbar.value(scroll.Pixels, client.Width(), 0, l.ContentWidth());
    hbar.show();
  } else {
    hbar.hide();
  }
}

void TFltkGrid::resize(int x, int y, int w, int h) {
  Fl_Group::resize(x, y, w, h);
  updateScrollBars();
}

void TFltkGrid::Refresh() {
  updateScrollBars();
  redraw();
}

void TFltkGrid::scrollTo(TGridScroll position) {
  const TGridScroll before = scroll;
  scroll = position;
  updateScrollBars();
  if (scroll != before) redraw();
}

void TFltkGrid::draw() {
  const TGridLayout l = layout();
  const TGridPaint plan = l.Paint();
  const TRect& client = l.Client();
  fl_push_clip(client.Left, client.Top, client.Width(), client.Height());
  for (const TGridFill& f : plan.Fills) {
    fl_color(ToFlColor(f.Color));
    fl_rectf(f.Rect.Left, f.Rect.Top, f.Rect.Width(), f.Rect.Height());
  }
  {
    TFltkCanvas canvas;
    for (const TGridCellPlace& place : plan.Cells)
      DrawGridCell(grid, canvas, place.Cell.Col, place.Cell.Row, place.Rect);
  }
  fl_pop_clip();
  draw_box(box(), x(), y(), w(), h(), FL_BLACK);
  if (bars.Vertical && bars.Horizontal) {
    // The corner between the two bars.
    fl_color(FL_BACKGROUND_COLOR);
    fl_rectf(client.Right, client.Bottom, kScrollBarWidth, kScrollBarWidth);
  }
  if (vbar.visible()) draw_child(vbar);
  if (hbar.visible()) draw_child(hbar);
}

bool TFltkGrid::onScrollBar() const {
  return (vbar.visible() && Fl::event_inside(&vbar)) || (hbar.visible() && Fl::event_inside(&hbar));
}

int TFltkGrid::handle(int event) {
  switch (event) {
    case FL_PUSH:
      if (onScrollBar()) return Fl_Group::handle(event);
      if (grid.TabStop) take_focus();
      if (Fl::event_button() == FL_LEFT_MOUSE)
        if (const auto cell = layout().CellAt(Fl::event_x(), Fl::event_y()))
          if (auto text = GridCellClickTarget(grid, cell->Col, cell->Row))
            platform::ShellOpen(*text);
      return 1;
    case FL_MOUSEWHEEL:
      if (!Fl::event_dy()) return 0;
      scrollTo(layout().ScrollWheel(Fl::event_dy()));
      return 1;
    case FL_FOCUS:
    case FL_UNFOCUS:
      return grid.TabStop ? 1 : 0;
    case FL_KEYBOARD:
      if (const auto key = keyOf(Fl::event_key())) {
        scrollTo(layout().ScrollKey(*key));
        return 1;
      }
      return Fl_Group::handle(event);
    default:
      return Fl_Group::handle(event);
  }
}

}  // namespace ui::fltk
