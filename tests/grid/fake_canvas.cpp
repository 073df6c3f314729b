#include "fake_canvas.h"

#include <cstdio>

namespace grid_test {

using namespace ui;

int TFakeCanvas::TextWidth(std::string_view text) {
  return static_cast<int>(text.size()) * (font.Style.Bold ? 7 : 6);
}

int TFakeCanvas::TextHeight(std::string_view) {
  return PointsToPixels(font.Size) + 2;
}

void TFakeCanvas::TextOut(int x, int y, std::string_view text) {
  Drawn.push_back({x, y, std::string(text), font, background});
}

namespace {

std::string hex(TColor color) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%06X", color);
  return buf;
}

}  // namespace

std::string Describe(const TDrawn& d) {
  std::string style;
  if (d.Font.Style.Bold) style += 'B';
  if (d.Font.Style.Italic) style += 'I';
  if (d.Font.Style.Underline) style += 'U';
  if (d.Font.Style.StrikeOut) style += 'S';
  if (style.empty()) style = "-";
  std::string r = std::to_string(d.X) + "," + std::to_string(d.Y) + " " + style + " " +
                  hex(d.Font.Color) + " '" + d.Text + "'";
  if (d.Font.Name != "Tahoma" || d.Font.Size != 8)
    r += " [" + d.Font.Name + " " + std::to_string(d.Font.Size) + "]";
  if (d.Background != clNone) r += " bg=" + hex(d.Background);
  return r;
}

std::vector<std::string> DescribeAll(const TFakeCanvas& canvas) {
  std::vector<std::string> r;
  for (const auto& d : canvas.Drawn) r.push_back(Describe(d));
  return r;
}

}  // namespace grid_test
