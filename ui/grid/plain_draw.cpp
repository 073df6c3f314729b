#include "ui/grid/plain_draw.h"

namespace ui {

namespace {

// Splits one paragraph (a text without line breaks) into lines no wider than
// width where blanks allow it, handing each line to emit until emit returns
// false. A word wider than the line is not split; it stands on a line of its
// own and the canvas's clip cuts it. The blanks at a break are not drawn.
template <typename Emit>
bool wrapParagraph(TGridCanvas& canvas, std::string_view para, int width, bool wordWrap,
                   Emit&& emit) {
  if (!wordWrap) return emit(para);
  size_t start = 0;
  do {
    // The first word of a line always stays on it, with any blanks that lead
    // the paragraph.
    size_t end = para.find_first_not_of(' ', start);
    end = end == std::string_view::npos ? para.size() : para.find(' ', end);
    if (end == std::string_view::npos) end = para.size();
    while (end < para.size()) {
      const size_t wordStart = para.find_first_not_of(' ', end);
      if (wordStart == std::string_view::npos) break;
      size_t wordEnd = para.find(' ', wordStart);
      if (wordEnd == std::string_view::npos) wordEnd = para.size();
      if (canvas.TextWidth(para.substr(start, wordEnd - start)) > width) break;
      end = wordEnd;
    }
    if (!emit(para.substr(start, end - start))) return false;
    start = para.find_first_not_of(' ', end);
  } while (start != std::string_view::npos);
  return true;
}

}  // namespace

void DrawPlainCell(TGridCanvas& canvas, std::string_view text, const TRect& area, bool wordWrap) {
  const TColor savedBackground = canvas.Background();
  canvas.SetBackground(clNone);
  const int lineHeight = canvas.TextHeight("gh");
  int y = area.Top;
  auto emit = [&](std::string_view line) {
    if (y >= area.Bottom) return false;
    if (!line.empty()) canvas.TextOut(area.Left, y, line);
    y += lineHeight;
    return true;
  };
  size_t start = 0;
  while (true) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    if (!wrapParagraph(canvas, text.substr(start, end - start), area.Width(), wordWrap, emit))
      break;
    if (end == text.size()) break;
    // CR LF, a lone CR and a lone LF each end one line.
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    if (start == text.size()) break;
  }
  canvas.SetBackground(savedBackground);
}

}  // namespace ui
