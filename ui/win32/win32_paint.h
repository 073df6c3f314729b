#pragma once
// Painting a window off screen: the picture is drawn into a bitmap first and
// copied to the window at once, so that repaints do not flicker.

#include <functional>

#include "ui/win32/win32_headers.h"

namespace ui::win32 {

// Answers WM_PAINT for the window: draw paints the whole client area, width
// by height pixels, into dc, a memory device context over a bitmap of that
// size.
LRESULT PaintOffscreen(HWND window, const std::function<void(HDC dc, int width, int height)>& draw);

}  // namespace ui::win32
