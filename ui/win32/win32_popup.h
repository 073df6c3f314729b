#pragma once
// A small modal window of the back-end's own, for the boxes that the system's
// message box cannot show (four buttons, text input): child controls in the
// system's message font, buttons that end the run with their result, and a
// run that disables the owner meanwhile.

#include <map>
#include <string>

#include "core/ansistring.h"
#include "ui/win32/win32_headers.h"
#include "ui/win32/win32_window_class.h"

namespace ui::win32 {

class TModalPopup : public TWindowObject {
 public:
  TModalPopup(HWND owner, const AnsiString& caption, int clientWidth, int clientHeight);
  ~TModalPopup();

  HFONT MessageFont() const { return font; }
  // A child control in the message font.
  HWND AddControl(const wchar_t* windowClass, const std::wstring& text, DWORD style, int x, int y,
                  int w, int h, int id);
  // A push button whose click ends the run with result; the first button
  // added is also what the Enter key presses when no button has the focus.
  HWND AddButton(const std::wstring& caption, int x, int y, int w, int h, int id, int result);
  // Shows the window until a button ends the run; closing it or Escape gives
  // cancelResult. focus is the control that has the keyboard focus first.
  int Run(HWND focus, int cancelResult);

 private:
  template <typename T>
  friend LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT HandleMessage(UINT message, WPARAM w, LPARAM l);
  void command(int id);

  HWND owner;
  HFONT font = nullptr;
  std::map<int, int> results;  // button id -> result
  int firstButton = 0;
  int cancelResult = 0;
  int result = 0;
  bool done = false;
};

}  // namespace ui::win32
