#include "platform/shell.h"

#include "platform/win32/windows_api.h"

// After windows.h, which it needs.
#include <shellapi.h>

namespace platform {

bool ShellOpen(const AnsiString& text) {
  const auto r = reinterpret_cast<INT_PTR>(
      ::ShellExecuteA(::GetActiveWindow(), "open", text.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return r > 32;
}

}  // namespace platform
