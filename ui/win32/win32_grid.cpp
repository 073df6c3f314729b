#include "ui/win32/win32_grid.h"

#include <optional>
#include <utility>

#include "core/exceptions.h"
#include "platform/shell.h"
#include "ui/grid/cell_draw.h"
#include "ui/win32/win32_canvas.h"
#include "ui/win32/win32_gdi.h"
#include "ui/win32/win32_paint.h"

namespace ui::win32 {

namespace {

constexpr wchar_t kClassName[] = L"QdRichStringGrid";

void fill(HDC dc, const TRect& rect, TColor color) {
  const RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  TGdiObject brush(::CreateSolidBrush(ToColorRef(color)));
  ::FillRect(dc, &r, static_cast<HBRUSH>(brush.Get()));
}

std::optional<TGridScrollStep> stepOf(int request) {
  static constexpr std::pair<int, TGridScrollStep> kSteps[] = {
      {SB_LINEUP, TGridScrollStep::LineBack}, {SB_LINEDOWN, TGridScrollStep::LineForward},
      {SB_PAGEUP, TGridScrollStep::PageBack}, {SB_PAGEDOWN, TGridScrollStep::PageForward},
      {SB_TOP, TGridScrollStep::First},       {SB_BOTTOM, TGridScrollStep::Last},
  };
  for (const auto& [code, step] : kSteps)
    if (code == request) return step;
  return std::nullopt;
}

std::optional<TGridKey> keyOf(WPARAM key) {
  static constexpr std::pair<WPARAM, TGridKey> kKeys[] = {
      {VK_UP, TGridKey::Up},         {VK_DOWN, TGridKey::Down},   {VK_PRIOR, TGridKey::PageUp},
      {VK_NEXT, TGridKey::PageDown}, {VK_HOME, TGridKey::Home},   {VK_END, TGridKey::End},
      {VK_LEFT, TGridKey::Left},     {VK_RIGHT, TGridKey::Right},
  };
  for (const auto& [code, gridKey] : kKeys)
    if (code == key) return gridKey;
  return std::nullopt;
}

}  // namespace

TWin32Grid::TWin32Grid(TRichStringGrid& g, HWND parent) : grid(g) {
  RegisterWindowClass(kClassName, &WindowProc<TWin32Grid>, nullptr);
  const TRect& b = grid.Bounds;
  window = ::CreateWindowExW(
      WS_EX_CLIENTEDGE, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, b.Left,
      b.Top, b.Width(), b.Height(), parent, nullptr, ::GetModuleHandleW(nullptr), this);
  if (!window) throw Exception("Cannot create the grid");
  updateScrollBars();
}

TWin32Grid::~TWin32Grid() {
  DestroyOwnWindow();
}

void TWin32Grid::Refresh() {
  updateScrollBars();
  ::InvalidateRect(window, nullptr, FALSE);
}

TGridLayout TWin32Grid::layout() const {
  RECT client;
  ::GetClientRect(window, &client);
  return TGridLayout(grid, TRect{0, 0, client.right, client.bottom}, scroll);
}

void TWin32Grid::updateScrollBars() {
  // Showing or hiding a bar resizes the client area, which calls here again.
  if (updatingBars) return;
  updatingBars = true;
  // The room the cells have is the client area without either bar, less the
  // bars that the layout finds needed.
  RECT client;
  ::GetClientRect(window, &client);
  const LONG style = ::GetWindowLongW(window, GWL_STYLE);
  const int barWidth = ::GetSystemMetrics(SM_CXVSCROLL);
  const int barHeight = ::GetSystemMetrics(SM_CYHSCROLL);
  const int fullWidth = client.right + ((style & WS_VSCROLL) ? barWidth : 0);
  const int fullHeight = client.bottom + ((style & WS_HSCROLL) ? barHeight : 0);
  const TGridBars bars = GridScrollBars(grid, fullWidth, fullHeight, barWidth, barHeight);
  const TGridLayout room(
      grid, GridClient(TRect{0, 0, fullWidth, fullHeight}, bars, barWidth, barHeight), scroll);
  scroll = room.Scroll();

  ::ShowScrollBar(window, SB_VERT, bars.Vertical);
  ::ShowScrollBar(window, SB_HORZ, bars.Horizontal);
  if (bars.Vertical) {
    SCROLLINFO v = {sizeof v,
                    SIF_RANGE | SIF_PAGE | SIF_POS,
                    0,
                    room.DataRows() - 1,
                    static_cast<UINT>(room.PageRows()),
                    scroll.Rows,
                    0};
    ::SetScrollInfo(window, SB_VERT, &v, TRUE);
  }
  if (bars.Horizontal) {
    SCROLLINFO h = {sizeof h,
                    SIF_RANGE | SIF_PAGE | SIF_POS,
                    0,
                    room.ContentWidth() - 1,
                    static_cast<UINT>(room.Client().Width()),
                    scroll.Pixels,
                    0};
    ::SetScrollInfo(window, SB_HORZ, &h, TRUE);
  }
  updatingBars = false;
}

void TWin32Grid::scrollTo(TGridScroll position) {
  const TGridScroll before = scroll;
  scroll = position;
  updateScrollBars();
  if (scroll != before) ::InvalidateRect(window, nullptr, FALSE);
}

void TWin32Grid::scrollRows(int request) {
  if (request == SB_THUMBTRACK || request == SB_THUMBPOSITION) {
    SCROLLINFO info = {sizeof info, SIF_TRACKPOS};
    ::GetScrollInfo(window, SB_VERT, &info);
    scrollTo(layout().ScrollRowsTo(info.nTrackPos));
  } else if (const auto step = stepOf(request)) {
    scrollTo(layout().ScrollRows(*step));
  }
}

void TWin32Grid::scrollColumns(int request) {
  if (request == SB_THUMBTRACK || request == SB_THUMBPOSITION) {
    SCROLLINFO info = {sizeof info, SIF_TRACKPOS};
    ::GetScrollInfo(window, SB_HORZ, &info);
    scrollTo(layout().ScrollPixelsTo(info.nTrackPos));
  } else if (const auto step = stepOf(request)) {
    scrollTo(layout().ScrollColumns(*step));
  }
}

void TWin32Grid::paint(HDC dc, int width, int height) {
  const TGridPaint plan = TGridLayout(grid, TRect{0, 0, width, height}, scroll).Paint();
  for (const TGridFill& f : plan.Fills) fill(dc, f.Rect, f.Color);
  TGdiCanvas canvas(dc);
  for (const TGridCellPlace& place : plan.Cells)
    DrawGridCell(grid, canvas, place.Cell.Col, place.Cell.Row, place.Rect);
}

void TWin32Grid::click(int x, int y) {
  const auto cell = layout().CellAt(x, y);
  if (!cell) return;
  // The shared rule decides what may be opened: the list comes from the
  // network, and only plain web and mail addresses qualify.
  if (auto text = GridCellClickTarget(grid, cell->Col, cell->Row)) platform::ShellOpen(*text);
}

LRESULT TWin32Grid::HandleMessage(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      return PaintOffscreen(window, [this](HDC dc, int w, int h) { paint(dc, w, h); });
    case WM_SIZE:
      updateScrollBars();
      return 0;
    case WM_VSCROLL:
      scrollRows(LOWORD(w));
      return 0;
    case WM_HSCROLL:
      scrollColumns(LOWORD(w));
      return 0;
    case WM_MOUSEWHEEL:
      scrollTo(layout().ScrollWheel(-GET_WHEEL_DELTA_WPARAM(w) / WHEEL_DELTA));
      return 0;
    case WM_LBUTTONDOWN:
      ::SetFocus(window);
      click(static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l)));
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      if (const auto key = keyOf(w)) {
        scrollTo(layout().ScrollKey(*key));
        return 0;
      }
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, w, l);
}

}  // namespace ui::win32
