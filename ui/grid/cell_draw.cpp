#include "ui/grid/cell_draw.h"

#include "ui/grid/cell_kind.h"
#include "ui/grid/markup_draw.h"
#include "ui/grid/plain_draw.h"
#include "ui/grid/web_address.h"

namespace ui {

namespace {

bool showsWebAddress(const TRichStringGrid& grid, const AnsiString& text) {
  return grid.URLShow && CellKind(text, grid.EnableHTML) != TCellKind::Markup &&
         IsWebAddressText(text);
}

}  // namespace

void DrawGridCell(const TRichStringGrid& grid, TGridCanvas& canvas, int col, int row,
                  const TRect& rect) {
  const AnsiString& text = grid.GetCellEx(col, row);
  if (text.empty()) return;
  // The text area: the cell less the text offset on the left, right and top.
  const TRect area{rect.Left + grid.XOffset, rect.Top + grid.YOffset, rect.Right - grid.XOffset,
                   rect.Bottom};
  canvas.SetClip(rect);
  const TFont& font = grid.CellFont(row);
  if (CellKind(text, grid.EnableHTML) == TCellKind::Markup) {
    canvas.SetFont(font);
    DrawMarkupCell(canvas, text, area);
    return;
  }
  if (showsWebAddress(grid, text)) {
    TFont link = font;
    link.Style.Underline = true;
    link.Color = grid.URLColor;
    canvas.SetFont(link);
    DrawPlainCell(canvas, grid.URLFull ? std::string_view(text) : WebAddressShownPart(text), area,
                  grid.WordWrap);
    canvas.SetFont(font);
    return;
  }
  canvas.SetFont(font);
  DrawPlainCell(canvas, text, area, grid.WordWrap);
}

std::optional<AnsiString> GridCellClickTarget(const TRichStringGrid& grid, int col, int row) {
  const AnsiString& text = grid.GetCellEx(col, row);
  if (!showsWebAddress(grid, text) || !IsOpenableAddress(text)) return std::nullopt;
  return text;
}

}  // namespace ui
