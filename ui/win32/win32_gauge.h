#pragma once
// The progress gauge as a window of its own class: a sunken bar filled in the
// fore colour up to the percentage, with "N%" in its centre.

#include "ui/controls.h"
#include "ui/win32/win32_headers.h"
#include "ui/win32/win32_window_class.h"

namespace ui::win32 {

class TWin32Gauge : public TWindowObject {
 public:
  TWin32Gauge(const TProgressGauge& gauge, HWND parent, HFONT font);
  ~TWin32Gauge();

  // Repaints when the whole percentage differs from the one shown.
  void Changed();

 private:
  template <typename T>
  friend LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT HandleMessage(UINT message, WPARAM w, LPARAM l);
  void paint(HDC dc, int width, int height);

  const TProgressGauge& gauge;
  HFONT font;
  int shownPercent = -1;
};

}  // namespace ui::win32
