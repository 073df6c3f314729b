#include "ui/grid/markup_draw.h"

#include <algorithm>

#include "ui/grid/markup_tags.h"
#include "ui/grid/markup_text.h"

namespace ui {

namespace {

// Lays out and paints one markup text. Each line is found by a measuring
// pass over a copy of the state, then painted by a second pass over exactly
// the same part of the text with the real state, so that tags act once.
class TMarkupPainter {
 public:
  TMarkupPainter(TGridCanvas& canvas, std::string_view text, const TFont& base, int left, int right)
      : canvas(canvas), text(text), base(base), left(left), right(right) {}

  void Draw(int top, int bottom) {
    TMarkupState state{base, clNone, clNone};
    size_t pos = 0;
    while (pos < text.size()) {
      canvas.SetFont(state.Font);
      const int minHeight = canvas.TextHeight("gh");
      TMarkupState measured = state;
      const auto [end, height] = measureLine(pos, minHeight, measured);
      paintLine(pos, end, top + height, state);
      pos = end;
      top += height;
      // The next line is only started when a line of the height this one
      // started with fits completely.
      if (top + minHeight > bottom) break;
    }
  }

 private:
  struct TLineExtent {
    size_t End;
    int Height;
  };

  // Takes runs and tags from pos until the line is full, a line break is met
  // or the text ends.
  TLineExtent measureLine(size_t pos, int minHeight, TMarkupState& state) {
    const int width = right - left;
    int x = left;
    int height = minHeight;
    bool hasRun = false;
    bool endsWithBlank = false;
    while (pos < text.size()) {
      const TMarkupToken token = NextMarkupToken(text, pos);
      if (token.Kind == TMarkupTokenKind::Tag) {
        const bool lineBreak = ApplyMarkupTag(text.substr(pos), base, TMarkupPass::Measure, state);
        pos = token.End;
        if (lineBreak) break;
        continue;
      }
      if (token.Kind == TMarkupTokenKind::Dropped) {
        pos = token.End;
        continue;
      }
      const std::string_view raw = text.substr(pos, token.End - pos);
      const AnsiString shown = DecodeMarkupRun(raw);
      canvas.SetFont(state.Font);
      const int runWidth = canvas.TextWidth(shown);
      // A run goes to the next line when it would reach the right edge, unless
      // it is the line's first, is wider than any line, or continues a word
      // that a tag interrupted.
      const bool fits = x + runWidth < right;
      if (hasRun && !fits && runWidth < width && endsWithBlank) break;
      height = std::max(height, canvas.TextHeight(shown));
      x += runWidth;
      hasRun = true;
      endsWithBlank = raw.back() == ' ';
      pos = token.End;
    }
    return {pos, height};
  }

  // Draws the runs of text[pos, end) bottom-aligned on the line that ends at
  // bottom.
  void paintLine(size_t pos, size_t end, int bottom, TMarkupState& state) {
    int x = left;
    while (pos < end) {
      const TMarkupToken token = NextMarkupToken(text, pos);
      if (token.Kind == TMarkupTokenKind::Tag) {
        ApplyMarkupTag(text.substr(pos), base, TMarkupPass::Paint, state);
      } else if (token.Kind == TMarkupTokenKind::Run) {
        const AnsiString shown = DecodeMarkupRun(text.substr(pos, token.End - pos));
        canvas.SetFont(state.Font);
        canvas.SetBackground(state.Background);
        canvas.TextOut(x, bottom - canvas.TextHeight(shown), shown);
        x += canvas.TextWidth(shown);
      }
      pos = token.End;
    }
  }

  TGridCanvas& canvas;
  std::string_view text;
  const TFont base;
  int left, right;
};

}  // namespace

void DrawMarkupCell(TGridCanvas& canvas, std::string_view text, const TRect& area) {
  const TFont base = canvas.Font();
  const TColor savedBackground = canvas.Background();
  canvas.SetBackground(clNone);
  const AnsiString prepared = PreprocessMarkup(text);
  // Markup text starts one pixel further right than plain text.
  TMarkupPainter(canvas, prepared, base, area.Left + 1, area.Right).Draw(area.Top, area.Bottom);
  canvas.SetFont(base);
  canvas.SetBackground(savedBackground);
}

}  // namespace ui
