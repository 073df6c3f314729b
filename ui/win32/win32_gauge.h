#pragma once
// The progress gauge as a window of its own class: a sunken bar filled in the
// fore colour up to the percentage, with "N%" in its centre.

#include "ui/controls.h"
#include "ui/win32/win32_headers.h"

namespace ui::win32 {

class TWin32Gauge {
 public:
  TWin32Gauge(const TProgressGauge& gauge, HWND parent, HFONT font);
  ~TWin32Gauge();
  TWin32Gauge(const TWin32Gauge&) = delete;
  TWin32Gauge& operator=(const TWin32Gauge&) = delete;

  HWND Handle() const { return window; }
  // Repaints when the whole percentage differs from the one shown.
  void Changed();

 private:
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  void paint(HDC dc);

  const TProgressGauge& gauge;
  HFONT font;
  HWND window = nullptr;
  int shownPercent = -1;
};

}  // namespace ui::win32
