#pragma once
// Window classes of the back-end's own windows, the object that each window
// of such a class belongs to, and the one window procedure that hands the
// window's messages to that object.

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

// The base of an object that owns one window of its own class.
class TWindowObject {
 public:
  HWND Handle() const { return window; }

 protected:
  TWindowObject() = default;
  ~TWindowObject() = default;
  TWindowObject(const TWindowObject&) = delete;
  TWindowObject& operator=(const TWindowObject&) = delete;

  // Detaches the object from its window, so that the messages that
  // destroying it sends reach no object being destroyed, and destroys it.
  void DestroyOwnWindow();

  HWND window = nullptr;

  template <typename T>
  friend LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
};

// The window procedure of the windows of T's class: every message goes to
// the T that the window belongs to, T::HandleMessage(message, w, l), and to
// the default procedure while there is none. The window's handle is stored
// in the object by the first message, which comes while CreateWindowExW
// runs, before it returns the handle.
template <typename T>
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  // No exception may leave a window procedure: the system's frames between
  // it and the message loop cannot be unwound.
  try {
    T* self = WindowData<T>(window, message, l);
    if (!self) return ::DefWindowProcW(window, message, w, l);
    if (!self->window) self->window = window;
    return self->HandleMessage(message, w, l);
  } catch (...) {
    return 0;
  }
}

}  // namespace ui::win32
