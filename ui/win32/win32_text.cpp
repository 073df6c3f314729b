#include "ui/win32/win32_text.h"

#include "core/cp1251.h"

namespace ui::win32 {

// wchar_t is a UTF-16 code unit on Windows.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring Wide(std::string_view cp1251) {
  const std::u16string units = Cp1251ToUtf16(cp1251);
  return std::wstring(units.begin(), units.end());
}

AnsiString Narrow(std::wstring_view text) {
  return Utf16ToCp1251(std::u16string(text.begin(), text.end()));
}

}  // namespace ui::win32
