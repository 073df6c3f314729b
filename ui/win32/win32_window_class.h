#pragma once
// Window classes of the back-end's own windows, and the object that each
// window of such a class belongs to.

#include "ui/win32/win32_headers.h"

namespace ui::win32 {

// Registers the class once per process; later calls do nothing. Raises
// Exception when the class cannot be registered.
void RegisterWindowClass(const wchar_t* name, WNDPROC proc, HBRUSH background);

// The object given as the creation parameter of CreateWindowExW: stored with
// the window on WM_NCCREATE and returned for every later message; null
// before that and after the object has detached itself.
template <typename T>
T* WindowData(HWND window, UINT message, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(l);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  return reinterpret_cast<T*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace ui::win32
