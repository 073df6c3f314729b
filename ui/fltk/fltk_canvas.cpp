#include "ui/fltk/fltk_canvas.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include "platform/codepage.h"

namespace ui::fltk {

namespace {

// Tabs expand to the next multiple of eight blanks, as the platform's text
// drawing does.
std::string expandTabs(std::string_view ansi) {
  std::string r;
  for (char c : ansi) {
    if (c == '\t') {
      r.append(8 - r.size() % 8, ' ');
    } else {
      r += c;
    }
  }
  return platform::AnsiToUtf8(r);
}

}  // namespace

unsigned ToFlColor(TColor color) {
  const uint32_t rgb = ColorToRGB(color);
  return fl_rgb_color(static_cast<uchar>(rgb >> 16), static_cast<uchar>(rgb >> 8),
                      static_cast<uchar>(rgb));
}

int FaceOf(const TFont& font) {
  // Every face of the dialogs is a sans-serif one; FLTK's Helvetica family is
  // the desktop's sans-serif font.
  if (font.Style.Bold && font.Style.Italic) return FL_HELVETICA_BOLD_ITALIC;
  if (font.Style.Bold) return FL_HELVETICA_BOLD;
  if (font.Style.Italic) return FL_HELVETICA_ITALIC;
  return FL_HELVETICA;
}

void SelectFont(const TFont& font) {
  fl_font(FaceOf(font), PointsToPixels(font.Size));
}

TFltkCanvas::TFltkCanvas() {
  SelectFont(font);
}

TFltkCanvas::~TFltkCanvas() {
  if (clipped) fl_pop_clip();
}

void TFltkCanvas::SetFont(const TFont& f) {
  font = f;
  SelectFont(font);
}

int TFltkCanvas::TextWidth(std::string_view text) {
  return static_cast<int>(fl_width(expandTabs(text).c_str()) + 0.5);
}

int TFltkCanvas::TextHeight(std::string_view) {
  return fl_height();
}

void TFltkCanvas::TextOut(int x, int y, std::string_view text) {
  const std::string utf8 = expandTabs(text);
  const int w = static_cast<int>(fl_width(utf8.c_str()) + 0.5);
  if (background != clNone) {
    fl_color(ToFlColor(background));
    fl_rectf(x, y, w, fl_height());
  }
  fl_color(ToFlColor(font.Color));
  const int baseline = y + fl_height() - fl_descent();
  fl_draw(utf8.c_str(), x, baseline);
  if (font.Style.Underline) fl_line(x, baseline + 1, x + w - 1, baseline + 1);
  if (font.Style.StrikeOut) {
    const int mid = baseline - fl_height() / 3;
    fl_line(x, mid, x + w - 1, mid);
  }
}

void TFltkCanvas::SetClip(const TRect& rect) {
  if (clipped) fl_pop_clip();
  fl_push_clip(rect.Left, rect.Top, rect.Width(), rect.Height());
  clipped = true;
}

}  // namespace ui::fltk
