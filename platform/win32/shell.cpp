#include "platform/shell.h"

#include <shellapi.h>
#include <windows.h>

namespace platform {

bool ShellOpen(const AnsiString& text) {
  const auto r = reinterpret_cast<INT_PTR>(
      ::ShellExecuteA(::GetActiveWindow(), "open", text.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return r > 32;
}

}  // namespace platform
