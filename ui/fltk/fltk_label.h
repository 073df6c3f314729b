#pragma once
// A label: its caption in its font's colour over its own colour, from the
// top-left corner, broken at CR LF and, with word wrap, at blanks, cut off at
// its bounds. The lines are laid out by the portable plain-text drawing that
// the grid's cells use, so that they break as they do there.

#include <FL/Fl_Widget.H>

#include "ui/controls.h"

namespace ui::fltk {

class TFltkLabel : public Fl_Widget {
 public:
  TFltkLabel(const TLabel& label, int x, int y, int w, int h)
      : Fl_Widget(x, y, w, h), label(label) {}

 protected:
  void draw() override;

 private:
  const TLabel& label;
};

}  // namespace ui::fltk
