#include "ui/fltk/fltk_gauge.h"

#include <FL/fl_draw.H>

#include <string>

#include "ui/fltk/fltk_canvas.h"

namespace ui::fltk {

void TFltkGauge::draw() {
  const int percent = gauge.PercentDone();
  const int ix = x() + 2, iy = y() + 2, iw = w() - 4, ih = h() - 4;
  const int filled = iw * percent / 100;
  fl_draw_box(FL_DOWN_BOX, x(), y(), w(), h(), ToFlColor(gauge.BackColor));
  fl_color(ToFlColor(gauge.ForeColor));
  fl_rectf(ix, iy, filled, ih);
  const std::string text = std::to_string(percent) + "%";
  SelectFont(gauge.Font);
  // The text is drawn twice, clipped: white over the filled part and black
  // over the rest, so that it stays readable where the bar passes it.
  fl_push_clip(ix, iy, filled, ih);
  fl_color(FL_WHITE);
  fl_draw(text.c_str(), ix, iy, iw, ih, FL_ALIGN_CENTER);
  fl_pop_clip();
  fl_push_clip(ix + filled, iy, iw - filled, ih);
  fl_color(FL_BLACK);
  fl_draw(text.c_str(), ix, iy, iw, ih, FL_ALIGN_CENTER);
  fl_pop_clip();
}

}  // namespace ui::fltk
