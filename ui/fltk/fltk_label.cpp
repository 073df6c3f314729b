#include "ui/fltk/fltk_label.h"

#include <FL/fl_draw.H>

#include "ui/fltk/fltk_canvas.h"
#include "ui/grid/plain_draw.h"

namespace ui::fltk {

void TFltkLabel::draw() {
  const TRect area{x(), y(), x() + w(), y() + h()};
  fl_color(ToFlColor(label.Color));
  fl_rectf(x(), y(), w(), h());
  TFltkCanvas canvas;
  canvas.SetClip(area);
  canvas.SetFont(label.Font);
  DrawPlainCell(canvas, label.Caption(), area, label.WordWrap);
}

}  // namespace ui::fltk
