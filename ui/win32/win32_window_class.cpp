#include "ui/win32/win32_window_class.h"

#include <set>
#include <string>

#include "core/exceptions.h"

namespace ui::win32 {

void RegisterWindowClass(const wchar_t* name, WNDPROC proc, HBRUSH background) {
  static std::set<std::wstring> registered;
  if (registered.count(name)) return;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hIcon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  if (!::RegisterClassExW(&wc)) throw Exception("Cannot register a window class");
  registered.insert(name);
}

void TWindowObject::DestroyOwnWindow() {
  if (!window) return;
  ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  ::DestroyWindow(window);
  window = nullptr;
}

}  // namespace ui::win32
