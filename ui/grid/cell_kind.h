#pragma once
// How a grid cell's text is drawn, decided afresh each time the cell is drawn.

#include <string_view>

namespace ui {

enum class TCellKind {
  Plain,   // wrapped text, or an underlined web address
  Markup,  // the small tag language: B, I, BR, FONT
  // Texts starting with "=", "|\" or "{\" (formula, wide text, rich text).
  // The grid has no such cells; it shows their text as plain text rather than
  // hide it.
  Other,
};

// Empty texts are plain. With markup enabled, a text that contains "</", "<B"
// or "<I" (exactly, letter case significant) is markup.
TCellKind CellKind(std::string_view text, bool enableHTML);

}  // namespace ui
