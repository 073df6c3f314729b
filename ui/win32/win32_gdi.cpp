#include "ui/win32/win32_gdi.h"

#include <cwchar>

#include "ui/win32/win32_text.h"

namespace ui::win32 {

COLORREF ToColorRef(TColor color) {
  if (color & 0x80000000u) return ::GetSysColor(static_cast<int>(color & 0xFF));
  // Other values are already 0x00BBGGRR, the layout of a COLORREF.
  return color & 0xFFFFFF;
}

HFONT CreateGdiFont(const TFont& font) {
  LOGFONTW lf = {};
  // A negative height asks for the character height, without the internal
  // leading, which is how the dialogs give their font sizes.
  lf.lfHeight = -PointsToPixels(font.Size);
  lf.lfWeight = font.Style.Bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = font.Style.Italic;
  lf.lfUnderline = font.Style.Underline;
  lf.lfStrikeOut = font.Style.StrikeOut;
  lf.lfCharSet = RUSSIAN_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  const std::wstring face = Wide(font.Name);
  std::wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  return ::CreateFontIndirectW(&lf);
}

}  // namespace ui::win32
