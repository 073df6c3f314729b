#pragma once
// A canvas with fixed metrics that records every text drawn. A byte is 6
// pixels wide (7 in bold, so that measuring in the wrong font shows); a text
// is as high as its font's character height plus 2, which makes the grid's
// 8-point font 13 pixels high.

#include <string>
#include <vector>

#include "ui/grid/canvas.h"

namespace grid_test {

struct TDrawn {
  int X, Y;
  std::string Text;
  ui::TFont Font;
  ui::TColor Background;
};

class TFakeCanvas : public ui::TGridCanvas {
 public:
  void SetFont(const ui::TFont& f) override { font = f; }
  const ui::TFont& Font() const override { return font; }
  int TextWidth(std::string_view text) override;
  int TextHeight(std::string_view text) override;
  void TextOut(int x, int y, std::string_view text) override;
  void SetBackground(ui::TColor color) override { background = color; }
  ui::TColor Background() const override { return background; }
  void SetClip(const ui::TRect& rect) override { Clip = rect; }

  std::vector<TDrawn> Drawn;
  ui::TRect Clip{-1, -1, -1, -1};

 private:
  ui::TFont font;
  ui::TColor background = ui::clNone;
};

// One drawn text as "X,Y STYLE COLOR 'TEXT'", STYLE being the letters B, I, U
// and S or "-", COLOR the raw colour value in hexadecimal; " [NAME SIZE]"
// follows when the font is not Tahoma 8, " bg=COLOR" when the background is
// not transparent.
std::string Describe(const TDrawn& d);
std::vector<std::string> DescribeAll(const TFakeCanvas& canvas);

}  // namespace grid_test
