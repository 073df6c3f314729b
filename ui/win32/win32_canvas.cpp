#include "ui/win32/win32_canvas.h"

#include "ui/win32/win32_gdi.h"
#include "ui/win32/win32_text.h"

namespace ui::win32 {

namespace {

// Tabs expand to the next multiple of eight blanks, as on the other
// back-ends, so that measuring and drawing agree.
std::wstring expandTabs(std::string_view cp1251) {
  const std::wstring wide = Wide(cp1251);
  std::wstring r;
  for (const wchar_t c : wide) {
    if (c == L'\t')
      r.append(8 - r.size() % 8, L' ');
    else
      r += c;
  }
  return r;
}

std::string fontKey(const TFont& f) {
  return f.Name + '\0' + std::to_string(f.Size) + (f.Style.Bold ? "B" : "") +
         (f.Style.Italic ? "I" : "") + (f.Style.Underline ? "U" : "") +
         (f.Style.StrikeOut ? "S" : "");
}

}  // namespace

TGdiCanvas::TGdiCanvas(HDC dc) : dc(dc), savedState(::SaveDC(dc)) {
  ::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  SetFont(font);
}

TGdiCanvas::~TGdiCanvas() {
  // Restoring the state selects the original font back, so that the cached
  // ones can be deleted.
  ::RestoreDC(dc, savedState);
  for (const auto& [key, handle] : fonts) ::DeleteObject(handle);
}

void TGdiCanvas::SetFont(const TFont& f) {
  font = f;
  HFONT& handle = fonts[fontKey(f)];
  if (!handle) handle = CreateGdiFont(f);
  ::SelectObject(dc, handle);
}

int TGdiCanvas::TextWidth(std::string_view text) {
  const std::wstring wide = expandTabs(text);
  SIZE size = {};
  ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  return size.cx;
}

int TGdiCanvas::TextHeight(std::string_view) {
  TEXTMETRICW tm = {};
  ::GetTextMetricsW(dc, &tm);
  return tm.tmHeight;
}

void TGdiCanvas::TextOut(int x, int y, std::string_view text) {
  const std::wstring wide = expandTabs(text);
  ::SetTextColor(dc, ToColorRef(font.Color));
  if (background == clNone) {
    ::SetBkMode(dc, TRANSPARENT);
  } else {
    ::SetBkMode(dc, OPAQUE);
    ::SetBkColor(dc, ToColorRef(background));
  }
  ::TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

void TGdiCanvas::SetClip(const TRect& rect) {
  HRGN region = ::CreateRectRgn(rect.Left, rect.Top, rect.Right, rect.Bottom);
  ::SelectClipRgn(dc, region);
  ::DeleteObject(region);
}

}  // namespace ui::win32
