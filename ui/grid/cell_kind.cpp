#include "ui/grid/cell_kind.h"

namespace ui {

TCellKind CellKind(std::string_view text, bool enableHTML) {
  if (text.empty()) return TCellKind::Plain;
  if (text.starts_with("=") || text.starts_with("|\\") || text.starts_with("{\\"))
    return TCellKind::Other;
  const auto contains = [&](std::string_view part) {
    return text.find(part) != std::string_view::npos;
  };
  if (enableHTML && (contains("</") || contains("<B") || contains("<I"))) return TCellKind::Markup;
  return TCellKind::Plain;
}

}  // namespace ui
