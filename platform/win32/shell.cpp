#include "platform/shell.h"

#include "platform/win32/windows_api.h"

// After windows.h, which it needs.
#include <shellapi.h>

namespace platform {

bool ShellOpen(const AnsiString& text) {
  // What is opened is a text of the program (an address from the update
  // list), which is Windows-1251 whatever the system's code page; the wide
  // call gets it unchanged on any Windows.
  std::wstring wide(text.size(), L'\0');
  const int n = text.empty()
                    ? 0
                    : ::MultiByteToWideChar(1251, 0, text.data(), static_cast<int>(text.size()),
                                            wide.data(), static_cast<int>(wide.size()));
  wide.resize(static_cast<size_t>(n > 0 ? n : 0));
  const auto r = reinterpret_cast<INT_PTR>(
      ::ShellExecuteW(::GetActiveWindow(), L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return r > 32;
}

}  // namespace platform
