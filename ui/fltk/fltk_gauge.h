#pragma once
// The progress gauge: a sunken bar filled in the fore colour up to the
// percentage, with "N%" in its centre.

#include <FL/Fl_Widget.H>

#include "ui/controls.h"

namespace ui::fltk {

class TFltkGauge : public Fl_Widget {
 public:
  TFltkGauge(const TProgressGauge& gauge, int x, int y, int w, int h)
      : Fl_Widget(x, y, w, h), gauge(gauge) {}

 protected:
  void draw() override;

 private:
  const TProgressGauge& gauge;
};

}  // namespace ui::fltk
