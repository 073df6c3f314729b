#include "platform/shell.h"

#include "core/cp1251.h"
#include "platform/win32/windows_api.h"

// After windows.h, which it needs.
#include <shellapi.h>

namespace platform {

bool ShellOpen(const AnsiString& text) {
  // What is opened is a text of the program (an address from the update
  // list), which is Windows-1251 whatever the system's code page; the wide
  // call gets it unchanged on any Windows.
  const std::u16string units = Cp1251ToUtf16(text);
  const std::wstring wide(units.begin(), units.end());
  const auto r = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(::GetActiveWindow(), L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return r > 32;
}

}  // namespace platform
