#include "ui/headless/headless_canvas.h"

#include <cstdio>
#include <ostream>

#include "ui/headless/headless_backend.h"

namespace ui {

int THeadlessCanvas::TextWidth(std::string_view text) {
  return static_cast<int>(text.size()) * kCharWidth;
}

int THeadlessCanvas::TextHeight(std::string_view) {
  return kTextHeight;
}

void THeadlessCanvas::TextOut(int x, int y, std::string_view text) {
  std::string style;
  if (font.Style.Bold) style += 'B';
  if (font.Style.Italic) style += 'I';
  if (font.Style.Underline) style += 'U';
  if (font.Style.StrikeOut) style += 'S';
  char color[8];
  std::snprintf(color, sizeof color, "%06X", ColorToRGB(font.Color));
  out << "draw " << col << ' ' << row << " x=" << x << " y=" << y
      << " font=" << QuoteProgramText(font.Name) << " size=" << font.Size << " style=" << style
      << " color=" << color << ' ' << QuoteProgramText(text) << '\n'
      << std::flush;
}

}  // namespace ui
