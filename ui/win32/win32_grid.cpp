#include "ui/win32/win32_grid.h"

#include <algorithm>

#include "core/exceptions.h"
#include "platform/shell.h"
#include "ui/grid/cell_draw.h"
#include "ui/win32/win32_canvas.h"
#include "ui/win32/win32_gdi.h"
#include "ui/win32/win32_window_class.h"

namespace ui::win32 {

namespace {

constexpr wchar_t kClassName[] = L"QdRichStringGrid";
constexpr int kLinePixels = 20;  // a click on a horizontal scroll arrow
// The header row's face and the darker line under it.
constexpr COLORREF kHeaderFace = RGB(0xF5, 0xF4, 0xEA);
constexpr COLORREF kHeaderLine = RGB(0xE2, 0xDE, 0xCD);

void fill(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
  const RECT r{left, top, right, bottom};
  TGdiObject brush(::CreateSolidBrush(color));
  ::FillRect(dc, &r, static_cast<HBRUSH>(brush.Get()));
}

}  // namespace

TWin32Grid::TWin32Grid(TRichStringGrid& g, HWND parent) : grid(g), topRow(g.FixedRows) {
  RegisterWindowClass(kClassName, &TWin32Grid::windowProc, nullptr);
  const TRect& b = grid.Bounds;
  window = ::CreateWindowExW(
      WS_EX_CLIENTEDGE, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, b.Left,
      b.Top, b.Width(), b.Height(), parent, nullptr, ::GetModuleHandleW(nullptr), this);
  if (!window) throw Exception("Cannot create the grid");
  updateScrollBars();
}

TWin32Grid::~TWin32Grid() {
  if (window) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    ::DestroyWindow(window);
  }
}

void TWin32Grid::Refresh() {
  updateScrollBars();
  ::InvalidateRect(window, nullptr, FALSE);
}

int TWin32Grid::visibleDataRows() const {
  RECT client;
  ::GetClientRect(window, &client);
  int header = 0;
  for (int r = 0; r < grid.FixedRows; ++r) header += grid.RowHeight(r) + grid.GridLineWidth;
  const int inner = client.bottom - header;
  return std::max(1, inner / (grid.DefaultRowHeight + grid.GridLineWidth));
}

int TWin32Grid::contentWidth() const {
  int width = 0;
  for (int c = 0; c < grid.ColCount; ++c)
    width += grid.ColWidths[static_cast<size_t>(c)] + grid.GridLineWidth;
  return width;
}

int TWin32Grid::contentHeight() const {
  int height = 0;
  for (int r = 0; r < grid.GetRowCountEx(); ++r) height += grid.RowHeight(r) + grid.GridLineWidth;
  return height;
}

void TWin32Grid::updateScrollBars() {
  // Showing or hiding a bar resizes the client area, which calls here again.
  if (updatingBars) return;
  updatingBars = true;
  // A bar is shown only when the cells do not fit; the room they have is the
  // client area without either bar, less the other bar when that one is
  // needed.
  RECT client;
  ::GetClientRect(window, &client);
  const LONG style = ::GetWindowLongW(window, GWL_STYLE);
  const int barWidth = ::GetSystemMetrics(SM_CXVSCROLL);
  const int barHeight = ::GetSystemMetrics(SM_CYHSCROLL);
  const int fullWidth = client.right + ((style & WS_VSCROLL) ? barWidth : 0);
  const int fullHeight = client.bottom + ((style & WS_HSCROLL) ? barHeight : 0);
  const int width = contentWidth(), height = contentHeight();
  bool vertical = height > fullHeight;
  const bool horizontal = width > fullWidth - (vertical ? barWidth : 0);
  if (horizontal && !vertical) vertical = height > fullHeight - barHeight;
  const int roomWidth = fullWidth - (vertical ? barWidth : 0);
  const int roomHeight = fullHeight - (horizontal ? barHeight : 0);

  int header = 0;
  for (int r = 0; r < grid.FixedRows; ++r) header += grid.RowHeight(r) + grid.GridLineWidth;
  const int dataRows = std::max(0, grid.GetRowCountEx() - grid.FixedRows);
  const int shown =
      std::max(1, (roomHeight - header) / (grid.DefaultRowHeight + grid.GridLineWidth));
  topRow = vertical ? std::clamp(topRow, grid.FixedRows, grid.FixedRows + dataRows - shown)
                    : grid.FixedRows;
  leftPixel = horizontal ? std::clamp(leftPixel, 0, width - roomWidth) : 0;

  ::ShowScrollBar(window, SB_VERT, vertical);
  ::ShowScrollBar(window, SB_HORZ, horizontal);
  if (vertical) {
    SCROLLINFO v = {sizeof v,
                    SIF_RANGE | SIF_PAGE | SIF_POS,
                    0,
                    dataRows - 1,
                    static_cast<UINT>(shown),
                    topRow - grid.FixedRows,
                    0};
    ::SetScrollInfo(window, SB_VERT, &v, TRUE);
  }
  if (horizontal) {
    SCROLLINFO h = {sizeof h,  SIF_RANGE | SIF_PAGE | SIF_POS, 0,
                    width - 1, static_cast<UINT>(roomWidth),   leftPixel,
                    0};
    ::SetScrollInfo(window, SB_HORZ, &h, TRUE);
  }
  updatingBars = false;
}

void TWin32Grid::scrollRows(int request, int wheelRows) {
  SCROLLINFO info = {sizeof info, SIF_ALL};
  ::GetScrollInfo(window, SB_VERT, &info);
  const int shown = visibleDataRows();
  int first = topRow - grid.FixedRows;
  switch (request) {
    case SB_LINEUP:
      --first;
      break;
    case SB_LINEDOWN:
      ++first;
      break;
    case SB_PAGEUP:
      first -= shown;
      break;
    case SB_PAGEDOWN:
      first += shown;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      first = info.nTrackPos;
      break;
    case SB_TOP:
      first = 0;
      break;
    case SB_BOTTOM:
      first = info.nMax;
      break;
    case -1:
      first += wheelRows;
      break;
    default:
      return;
  }
  const int before = topRow;
  topRow = grid.FixedRows + first;
  updateScrollBars();
  if (topRow != before) ::InvalidateRect(window, nullptr, FALSE);
}

void TWin32Grid::scrollColumns(int request) {
  SCROLLINFO info = {sizeof info, SIF_ALL};
  ::GetScrollInfo(window, SB_HORZ, &info);
  int left = leftPixel;
  switch (request) {
    case SB_LINELEFT:
      left -= kLinePixels;
      break;
    case SB_LINERIGHT:
      left += kLinePixels;
      break;
    case SB_PAGELEFT:
      left -= static_cast<int>(info.nPage);
      break;
    case SB_PAGERIGHT:
      left += static_cast<int>(info.nPage);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      left = info.nTrackPos;
      break;
    default:
      return;
  }
  const int before = leftPixel;
  leftPixel = left;
  updateScrollBars();
  if (leftPixel != before) ::InvalidateRect(window, nullptr, FALSE);
}

void TWin32Grid::paint(HDC target) {
  RECT client;
  ::GetClientRect(window, &client);
  const int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0) return;
  // Drawn off screen first, so that scrolling does not flicker.
  HDC dc = ::CreateCompatibleDC(target);
  HBITMAP bitmap = ::CreateCompatibleBitmap(target, w, h);
  HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);
  fill(dc, 0, 0, w, h, ToColorRef(grid.Color));
  const COLORREF lineColor = ToColorRef(grid.GridLineColor);
  const int lw = grid.GridLineWidth;

  int top = 0;
  auto drawRow = [&](int row) {
    const int height = grid.RowHeight(row);
    int left = -leftPixel;
    for (int col = 0; col < grid.ColCount; ++col) {
      const int width = grid.ColWidths[static_cast<size_t>(col)];
      const TRect rect{left, top, left + width, top + height};
      if (rect.Right >= 0 && rect.Left < w) {
        if (row < grid.FixedRows) {
          fill(dc, rect.Left, rect.Top, rect.Right, rect.Bottom, kHeaderFace);
          fill(dc, rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom, kHeaderLine);
        }
        TGdiCanvas canvas(dc);
        DrawGridCell(grid, canvas, col, row, rect);
      }
      fill(dc, rect.Right, rect.Top, rect.Right + lw, rect.Bottom + lw, lineColor);
      left = rect.Right + lw;
    }
    fill(dc, -leftPixel, top + height, left, top + height + lw, lineColor);
    top += height + lw;
  };
  for (int row = 0; row < grid.FixedRows && row < grid.GetRowCountEx(); ++row) drawRow(row);
  for (int row = topRow; row < grid.GetRowCountEx() && top < h; ++row) drawRow(row);

  ::BitBlt(target, 0, 0, w, h, dc, 0, 0, SRCCOPY);
  ::SelectObject(dc, oldBitmap);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
}

bool TWin32Grid::cellAt(int x, int y, int& col, int& row) const {
  const int lw = grid.GridLineWidth;
  int top = 0;
  row = -1;
  for (int r = 0; r < grid.FixedRows && row < 0; ++r) {
    if (y >= top && y < top + grid.RowHeight(r)) row = r;
    top += grid.RowHeight(r) + lw;
  }
  for (int r = topRow; r < grid.GetRowCountEx() && row < 0; ++r) {
    if (y >= top && y < top + grid.RowHeight(r)) row = r;
    top += grid.RowHeight(r) + lw;
  }
  int left = -leftPixel;
  col = -1;
  for (int c = 0; c < grid.ColCount && col < 0; ++c) {
    const int width = grid.ColWidths[static_cast<size_t>(c)];
    if (x >= left && x < left + width) col = c;
    left += width + lw;
  }
  return row >= 0 && col >= 0;
}

void TWin32Grid::click(int x, int y) {
  int col, row;
  if (!cellAt(x, y, col, row)) return;
  // The shared rule decides what may be opened: the list comes from the
  // network, and only plain web and mail addresses qualify.
  if (auto text = GridCellClickTarget(grid, col, row)) platform::ShellOpen(*text);
}

LRESULT CALLBACK TWin32Grid::windowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  // No exception may leave a window procedure: the system's frames between
  // it and the message loop cannot be unwound.
  try {
    auto* self = WindowData<TWin32Grid>(window, message, l);
    if (self) {
      // Messages sent while CreateWindowExW runs come before it returns the
      // handle.
      if (!self->window) self->window = window;
      switch (message) {
        case WM_ERASEBKGND:
          return 1;
        case WM_PAINT: {
          PAINTSTRUCT ps;
          HDC dc = ::BeginPaint(window, &ps);
          self->paint(dc);
          ::EndPaint(window, &ps);
          return 0;
        }
        case WM_SIZE:
          self->updateScrollBars();
          return 0;
        case WM_VSCROLL:
          self->scrollRows(LOWORD(w), 0);
          return 0;
        case WM_HSCROLL:
          self->scrollColumns(LOWORD(w));
          return 0;
        case WM_MOUSEWHEEL:
          self->scrollRows(-1, -3 * GET_WHEEL_DELTA_WPARAM(w) / WHEEL_DELTA);
          return 0;
        case WM_LBUTTONDOWN:
          ::SetFocus(window);
          self->click(static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l)));
          return 0;
        case WM_GETDLGCODE:
          return DLGC_WANTARROWS;
        case WM_KEYDOWN:
          if (w == VK_UP || w == VK_DOWN || w == VK_PRIOR || w == VK_NEXT) {
            self->scrollRows(w == VK_UP      ? SB_LINEUP
                             : w == VK_DOWN  ? SB_LINEDOWN
                             : w == VK_PRIOR ? SB_PAGEUP
                                             : SB_PAGEDOWN,
                             0);
            return 0;
          }
          break;
        default:
          break;
      }
    }
    return ::DefWindowProcW(window, message, w, l);
  } catch (...) {
    return 0;
  }
}

}  // namespace ui::win32
