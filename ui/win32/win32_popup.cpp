#include "ui/win32/win32_popup.h"

#include "core/exceptions.h"
#include "ui/win32/win32_text.h"
#include "ui/win32/win32_window_class.h"

namespace ui::win32 {

namespace {

constexpr wchar_t kClassName[] = L"QdModalPopup";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

HFONT createMessageFont() {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    return ::CreateFontIndirectW(&metrics.lfMessageFont);
  return nullptr;
}

}  // namespace

TModalPopup::TModalPopup(HWND o, const AnsiString& caption, int clientWidth, int clientHeight)
    : owner(o), font(createMessageFont()) {
  RegisterWindowClass(kClassName, &WindowProc<TModalPopup>,
                      reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
  RECT frame{0, 0, clientWidth, clientHeight};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  // Centred over the owner, or over the screen without one.
  RECT over{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  if (owner && ::IsWindowVisible(owner)) ::GetWindowRect(owner, &over);
  const int x = over.left + (over.right - over.left - w) / 2;
  const int y = over.top + (over.bottom - over.top - h) / 2;
  window = ::CreateWindowExW(kExStyle, kClassName, Wide(caption).c_str(), kStyle, x, y, w, h, owner,
                             nullptr, ::GetModuleHandleW(nullptr), this);
  if (!window) {
    if (font) ::DeleteObject(font);
    throw Exception("Cannot create a message window");
  }
}

TModalPopup::~TModalPopup() {
  DestroyOwnWindow();
  if (font) ::DeleteObject(font);
}

HWND TModalPopup::AddControl(const wchar_t* windowClass, const std::wstring& text, DWORD style,
                             int x, int y, int w, int h, int id) {
  HWND control = ::CreateWindowExW(
      0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, w, h, window,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
  if (control && font) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

HWND TModalPopup::AddButton(const std::wstring& caption, int x, int y, int w, int h, int id,
                            int buttonResult) {
  if (results.empty()) firstButton = id;
  results[id] = buttonResult;
  return AddControl(L"BUTTON", caption, WS_TABSTOP | BS_PUSHBUTTON, x, y, w, h, id);
}

void TModalPopup::command(int id) {
  if (id == IDCANCEL) {
    result = cancelResult;
  } else if (const auto it = results.find(id); it != results.end()) {
    result = it->second;
  } else if (id == IDOK && firstButton) {
    result = results[firstButton];
  } else {
    return;
  }
  done = true;
}

int TModalPopup::Run(HWND focus, int cancel) {
  cancelResult = cancel;
  result = cancel;
  done = false;
  const bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
  if (ownerWasEnabled) ::EnableWindow(owner, FALSE);
  ::ShowWindow(window, SW_SHOW);
  ::SetForegroundWindow(window);
  if (focus) ::SetFocus(focus);
  MSG msg;
  while (!done) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // The loop above ours must see the request to quit as well.
      if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (!::IsDialogMessageW(window, &msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  // The owner is enabled before the box goes, so that it becomes the active
  // window again.
  if (ownerWasEnabled) ::EnableWindow(owner, TRUE);
  ::ShowWindow(window, SW_HIDE);
  return result;
}

LRESULT TModalPopup::HandleMessage(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(w) == BN_CLICKED || LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL) command(LOWORD(w));
      return 0;
    case WM_CLOSE:
      command(IDCANCEL);
      return 0;
    case WM_CTLCOLORSTATIC:
      ::SetBkColor(reinterpret_cast<HDC>(w), ::GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    default:
      return ::DefWindowProcW(window, message, w, l);
  }
}

}  // namespace ui::win32
