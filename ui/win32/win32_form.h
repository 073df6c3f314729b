#pragma once
// A form's window: a fixed dialog frame with the close box only, sized to the
// form's client area, with the labels, push buttons, gauge and grid that its
// description lists.

#include <map>
#include <memory>
#include <vector>

#include "ui/form.h"
#include "ui/win32/win32_gauge.h"
#include "ui/win32/win32_gdi.h"
#include "ui/win32/win32_grid.h"
#include "ui/win32/win32_headers.h"
#include "ui/win32/win32_window_class.h"

namespace ui::win32 {

class TWin32Form : public TFormPeer, public TWindowObject {
 public:
  // owner: the window that this one stays above (the main form's), or null.
  TWin32Form(TForm& form, HWND owner);
  ~TWin32Form() override;

  void ControlChanged(TControl& control) override;

  TForm& Form;
  // Places the window: centred on the screen or over the main form.
  void Place(HWND mainWindow);

 private:
  template <typename T>
  friend LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT HandleMessage(UINT message, WPARAM w, LPARAM l);
  void build(TControl& control, int id);
  HFONT fontFor(const TFont& font);
  void applyAnchors(int width, int height);

  TGdiObject background;
  std::vector<TGdiObject> fonts;
  std::map<int, TControl*> buttons;        // push buttons by command id
  std::map<HWND, const TControl*> labels;  // labels by window, for their colours
  std::map<const TControl*, TGdiObject> labelBrushes;
  std::map<const TControl*, HWND> windows;  // every control's window
  std::map<const TControl*, std::unique_ptr<TWin32Gauge>> gauges;
  std::map<const TControl*, std::unique_ptr<TWin32Grid>> grids;
};

}  // namespace ui::win32
