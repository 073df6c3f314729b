#include "ui/win32/win32_paint.h"

namespace ui::win32 {

LRESULT PaintOffscreen(HWND window,
                       const std::function<void(HDC dc, int width, int height)>& draw) {
  PAINTSTRUCT ps;
  HDC target = ::BeginPaint(window, &ps);
  RECT client;
  ::GetClientRect(window, &client);
  const int w = client.right, h = client.bottom;
  if (w > 0 && h > 0) {
    HDC dc = ::CreateCompatibleDC(target);
    HBITMAP bitmap = ::CreateCompatibleBitmap(target, w, h);
    HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);
    // The bitmap, the memory context and the paint end also when the
    // drawing fails.
    const auto release = [&] {
      ::SelectObject(dc, oldBitmap);
      ::DeleteObject(bitmap);
      ::DeleteDC(dc);
    };
    try {
      draw(dc, w, h);
    } catch (...) {
      release();
      ::EndPaint(window, &ps);
      throw;
    }
    ::BitBlt(target, 0, 0, w, h, dc, 0, 0, SRCCOPY);
    release();
  }
  ::EndPaint(window, &ps);
  return 0;
}

}  // namespace ui::win32
