#include "ui/win32/win32_gauge.h"

#include <string>

#include "core/exceptions.h"
#include "ui/win32/win32_gdi.h"
#include "ui/win32/win32_paint.h"

namespace ui::win32 {

namespace {
constexpr wchar_t kClassName[] = L"QdProgressGauge";
}

TWin32Gauge::TWin32Gauge(const TProgressGauge& g, HWND parent, HFONT f) : gauge(g), font(f) {
  RegisterWindowClass(kClassName, &WindowProc<TWin32Gauge>, nullptr);
  const TRect& b = gauge.Bounds;
  window = ::CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, b.Left, b.Top, b.Width(),
                             b.Height(), parent, nullptr, ::GetModuleHandleW(nullptr), this);
  if (!window) throw Exception("Cannot create the progress gauge");
}

TWin32Gauge::~TWin32Gauge() {
  DestroyOwnWindow();
}

void TWin32Gauge::Changed() {
  if (gauge.PercentDone() != shownPercent) ::InvalidateRect(window, nullptr, FALSE);
}

void TWin32Gauge::paint(HDC dc, int width, int height) {
  const RECT client{0, 0, width, height};
  const int percent = gauge.PercentDone();
  shownPercent = percent;
  RECT inner = client;
  TGdiObject back(::CreateSolidBrush(ToColorRef(gauge.BackColor)));
  ::FillRect(dc, &inner, static_cast<HBRUSH>(back.Get()));
  ::DrawEdge(dc, &inner, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  RECT filled = inner;
  filled.right = inner.left + (inner.right - inner.left) * percent / 100;
  TGdiObject fore(::CreateSolidBrush(ToColorRef(gauge.ForeColor)));
  ::FillRect(dc, &filled, static_cast<HBRUSH>(fore.Get()));

  // The text is drawn twice, clipped: white over the filled part and black
  // over the rest, so that it stays readable where the bar passes it.
  std::wstring text = std::to_wstring(percent) + L"%";
  HGDIOBJ oldFont = ::SelectObject(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  RECT rest = inner;
  rest.left = filled.right;
  const struct {
    RECT clip;
    COLORREF color;
  } parts[] = {{filled, RGB(255, 255, 255)}, {rest, RGB(0, 0, 0)}};
  for (const auto& part : parts) {
    HRGN region = ::CreateRectRgn(part.clip.left, part.clip.top, part.clip.right, part.clip.bottom);
    ::SelectClipRgn(dc, region);
    ::DeleteObject(region);
    ::SetTextColor(dc, part.color);
    RECT box = inner;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  ::SelectClipRgn(dc, nullptr);
  ::SelectObject(dc, oldFont);
}

LRESULT TWin32Gauge::HandleMessage(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      // Drawn off screen first, so that the bar does not flicker while it
      // moves.
      return PaintOffscreen(window, [this](HDC dc, int w, int h) { paint(dc, w, h); });
    default:
      return ::DefWindowProcW(window, message, w, l);
  }
}

}  // namespace ui::win32
