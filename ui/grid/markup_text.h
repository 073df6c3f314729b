#pragma once
// The text of a markup cell: its preprocessing, and how it falls apart into
// runs of words and tags.

#include <string_view>

#include "core/ansistring.h"

namespace ui {

// Replaces the named character references that stand for single characters
// ("&quot;", "&copy;" ...; "&nbsp;", "&lt;", "&gt;" and "&amp;" are left for
// DecodeMarkupRun), turns "<#" + name + ">" into "#" + name, turns every CR
// into the line-break tag "<BR>" and removes every LF.
AnsiString PreprocessMarkup(std::string_view text);

// The characters a run shows: "&nbsp;" becomes a blank, "&lt;" "<", "&gt;"
// ">" and "&amp;" "&", letter case ignored, each decoded once.
AnsiString DecodeMarkupRun(std::string_view run);

enum class TMarkupTokenKind {
  Run,      // words to draw
  Tag,      // a tag, from "<" to the next ">" or the end of the text
  Dropped,  // a "<" with fewer than three characters left
};

struct TMarkupToken {
  TMarkupTokenKind Kind;
  size_t End;  // where the text after the token starts
};

// The token at text[pos], pos < text.size(). A run reaches up to and
// including the first blank or up to the first "<", whichever comes first.
TMarkupToken NextMarkupToken(std::string_view text, size_t pos);

}  // namespace ui
