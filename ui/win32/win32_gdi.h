#pragma once
// Colours and fonts of the widget model as GDI values.

#include "ui/types.h"
#include "ui/win32/win32_headers.h"

namespace ui::win32 {

// A colour value as a COLORREF; system colours are the running system's.
COLORREF ToColorRef(TColor color);

// A new GDI font for a font description, the caller's to delete. The
// character set is Cyrillic, because every text of the program is
// Windows-1251: the font mapper then picks a face that holds the Russian
// letters also where the system's own code page has none.
HFONT CreateGdiFont(const TFont& font);

// A GDI object deleted when the owner goes.
class TGdiObject {
 public:
  explicit TGdiObject(HGDIOBJ object = nullptr) : object(object) {}
  ~TGdiObject() {
    if (object) ::DeleteObject(object);
  }
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;
  TGdiObject(TGdiObject&& other) noexcept : object(other.object) { other.object = nullptr; }
  HGDIOBJ Get() const { return object; }

 private:
  HGDIOBJ object;
};

}  // namespace ui::win32
