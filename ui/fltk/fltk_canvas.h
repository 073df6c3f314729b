#pragma once
// The grid canvas over FLTK's drawing calls, valid while a widget draws.

#include "ui/grid/canvas.h"

namespace ui::fltk {

// FLTK's colour for a colour value.
unsigned ToFlColor(TColor color);
// The FLTK face for a font's name and style.
int FaceOf(const TFont& font);
// Selects the FLTK font face and pixel size for a font.
void SelectFont(const TFont& font);

class TFltkCanvas : public TGridCanvas {
 public:
  TFltkCanvas();
  ~TFltkCanvas() override;

  void SetFont(const TFont& font) override;
  const TFont& Font() const override { return font; }
  int TextWidth(std::string_view text) override;
  int TextHeight(std::string_view text) override;
  void TextOut(int x, int y, std::string_view text) override;
  void SetBackground(TColor color) override { background = color; }
  TColor Background() const override { return background; }
  void SetClip(const TRect& rect) override;

 private:
  TFont font;
  TColor background = clNone;
  bool clipped = false;
};

}  // namespace ui::fltk
