#pragma once
// What the tags of a markup cell do to the font and background.

#include <string_view>

#include "ui/types.h"

namespace ui {

// The drawing state of one markup cell.
struct TMarkupState {
  TFont Font;
  TColor Background = clNone;
  // The background before the last BGCOLOR, which "</FONT>" brings back.
  TColor RememberedBackground = clNone;
};

// A line is laid out twice: once to measure it, once to paint it. Background
// colours and the colour that "</FONT>" restores only matter when painting.
enum class TMarkupPass { Measure, Paint };

// Applies the tag that rest starts with (rest runs to the end of the cell's
// text; its first character is "<" and it has at least three characters).
// Recognised: <B>, </B>, <I>, </I>, <U>, </U>, <S>, </S>, <BR> and
// <FONT FACE COLOR BGCOLOR SIZE> with </FONT>. There is no stack of open tags:
// a closing tag clears its style flag or restores the base font's value.
// Returns true when the tag ends the line.
bool ApplyMarkupTag(std::string_view rest, const TFont& base, TMarkupPass pass,
                    TMarkupState& state);

}  // namespace ui
