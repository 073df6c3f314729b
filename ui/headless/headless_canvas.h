#pragma once
// A canvas with fixed metrics (every byte 6 pixels wide, every text 13 pixels
// high) that prints each text drawn as a "draw" record.

#include <iosfwd>

#include "ui/grid/canvas.h"

namespace ui {

class THeadlessCanvas : public TGridCanvas {
 public:
  static constexpr int kCharWidth = 6;
  static constexpr int kTextHeight = 13;

  explicit THeadlessCanvas(std::ostream& out) : out(out) {}
  // The cell whose texts the following records belong to.
  void BeginCell(int col, int row) {
    this->col = col;
    this->row = row;
  }

  void SetFont(const TFont& f) override { font = f; }
  const TFont& Font() const override { return font; }
  int TextWidth(std::string_view text) override;
  int TextHeight(std::string_view text) override;
  void TextOut(int x, int y, std::string_view text) override;
  void SetBackground(TColor color) override { background = color; }
  TColor Background() const override { return background; }
  void SetClip(const TRect&) override {}

 private:
  std::ostream& out;
  TFont font;
  TColor background = clNone;
  int col = 0, row = 0;
};

}  // namespace ui
