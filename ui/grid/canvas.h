#pragma once
// The drawing surface that the grid's cell drawing uses. Each back-end
// supplies one; tests use a fake with fixed metrics. Coordinates are pixels
// relative to the surface's origin; texts are in the ANSI code page.

#include <string_view>

#include "ui/types.h"

namespace ui {

class TGridCanvas {
 public:
  virtual ~TGridCanvas() = default;
  virtual void SetFont(const TFont& font) = 0;
  virtual const TFont& Font() const = 0;
  // Width and height in pixels of text drawn on one line in the current font.
  virtual int TextWidth(std::string_view text) = 0;
  virtual int TextHeight(std::string_view text) = 0;
  // Draws text on one line with its top-left corner at (x, y) in the current
  // font and colour, "&" literal and tabs expanded; a background colour of
  // clNone draws transparently.
  virtual void TextOut(int x, int y, std::string_view text) = 0;
  virtual void SetBackground(TColor color) = 0;
  virtual TColor Background() const = 0;
  // Limits drawing to rect until the next SetClip.
  virtual void SetClip(const TRect& rect) = 0;
};

}  // namespace ui
