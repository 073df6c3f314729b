#pragma once
// The grid canvas over a GDI device context, for one paint of the grid. It
// creates the fonts the cells ask for and deletes them when the paint ends.

#include <map>
#include <string>

#include "ui/grid/canvas.h"
#include "ui/win32/win32_headers.h"

namespace ui::win32 {

class TGdiCanvas : public TGridCanvas {
 public:
  explicit TGdiCanvas(HDC dc);
  ~TGdiCanvas() override;
  TGdiCanvas(const TGdiCanvas&) = delete;
  TGdiCanvas& operator=(const TGdiCanvas&) = delete;

  void SetFont(const TFont& font) override;
  const TFont& Font() const override { return font; }
  int TextWidth(std::string_view text) override;
  int TextHeight(std::string_view text) override;
  void TextOut(int x, int y, std::string_view text) override;
  void SetBackground(TColor color) override { background = color; }
  TColor Background() const override { return background; }
  void SetClip(const TRect& rect) override;

 private:
  HDC dc;
  int savedState;
  TFont font;
  TColor background = clNone;
  // Fonts by name, size and style, alive until the paint ends.
  std::map<std::string, HFONT> fonts;
};

}  // namespace ui::win32
