#include "ui/win32/win32_form.h"

#include "core/exceptions.h"
#include "ui/anchors.h"
#include "ui/application.h"
#include "ui/grid/rich_grid.h"
#include "ui/win32/win32_text.h"
#include "ui/win32/win32_window_class.h"

namespace ui::win32 {

namespace {

constexpr wchar_t kClassName[] = L"QdForm";
// A dialog frame that cannot be resized, with the close box only.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
// Command ids of the controls start above those of the dialog keys (IDOK,
// IDCANCEL), which the keyboard handling sends to the form.
constexpr int kFirstControlId = 100;

}  // namespace

TWin32Form::TWin32Form(TForm& form, HWND owner)
    : Form(form), background(::CreateSolidBrush(ToColorRef(form.Desc.Color))) {
  RegisterWindowClass(kClassName, &WindowProc<TWin32Form>, nullptr);
  const TFormDesc& d = form.Desc;
  RECT frame{0, 0, d.ClientWidth, d.ClientHeight};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  window = ::CreateWindowExW(kExStyle, kClassName, Wide(d.Caption).c_str(), kStyle, CW_USEDEFAULT,
                             CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                             owner, nullptr, ::GetModuleHandleW(nullptr), this);
  if (!window) throw Exception("Cannot create the window of " + AnsiString(d.Name));
  int id = kFirstControlId;
  for (const auto& c : form.Controls()) build(*c, id++);
}

TWin32Form::~TWin32Form() {
  gauges.clear();
  grids.clear();
  DestroyOwnWindow();
}

HFONT TWin32Form::fontFor(const TFont& font) {
  fonts.emplace_back(CreateGdiFont(font));
  return static_cast<HFONT>(fonts.back().Get());
}

void TWin32Form::build(TControl& c, int id) {
  const TRect& b = c.Bounds;
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  HMENU menuId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
  HWND child = nullptr;
  switch (c.Kind) {
    case TControlClass::Label: {
      const auto& label = static_cast<TLabel&>(c);
      const DWORD wrap = label.WordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
      child = ::CreateWindowExW(0, L"STATIC", Wide(label.Caption()).c_str(),
                                WS_CHILD | WS_VISIBLE | wrap | SS_NOPREFIX, b.Left, b.Top,
                                b.Width(), b.Height(), window, menuId, instance, nullptr);
      labels[child] = &c;
      labelBrushes.emplace(&c, TGdiObject(::CreateSolidBrush(ToColorRef(c.Color))));
      break;
    }
    case TControlClass::PushButton: {
      const auto& button = static_cast<TPushButton&>(c);
      const DWORD tab = c.TabStop ? WS_TABSTOP : 0;
      child = ::CreateWindowExW(0, L"BUTTON", Wide(button.Caption).c_str(),
                                WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | tab, b.Left, b.Top,
                                b.Width(), b.Height(), window, menuId, instance, nullptr);
      buttons[id] = &c;
      break;
    }
    case TControlClass::ProgressGauge: {
      auto gauge =
          std::make_unique<TWin32Gauge>(static_cast<TProgressGauge&>(c), window, fontFor(c.Font));
      child = gauge->Handle();
      gauges[&c] = std::move(gauge);
      break;
    }
    case TControlClass::RichStringGrid: {
      auto grid = std::make_unique<TWin32Grid>(static_cast<TRichStringGrid&>(c), window);
      child = grid->Handle();
      grids[&c] = std::move(grid);
      break;
    }
  }
  if (!child) throw Exception("Cannot create the control " + c.Name);
  if (c.Kind == TControlClass::Label || c.Kind == TControlClass::PushButton)
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(c.Font)), FALSE);
  windows[&c] = child;
}

void TWin32Form::ControlChanged(TControl& control) {
  switch (control.Kind) {
    case TControlClass::Label:
      ::SetWindowTextW(windows[&control], Wide(static_cast<TLabel&>(control).Caption()).c_str());
      break;
    case TControlClass::ProgressGauge:
      gauges[&control]->Changed();
      break;
    case TControlClass::RichStringGrid:
      grids[&control]->Refresh();
      break;
    case TControlClass::PushButton:
      break;
  }
}

void TWin32Form::Place(HWND mainWindow) {
  RECT own;
  ::GetWindowRect(window, &own);
  const int w = own.right - own.left, h = own.bottom - own.top;
  RECT over;
  if (Form.Desc.Position == TPosition::MainFormCenter && mainWindow && mainWindow != window) {
    ::GetWindowRect(mainWindow, &over);
  } else if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0)) {
    over = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  }
  ::SetWindowPos(window, nullptr, over.left + (over.right - over.left - w) / 2,
                 over.top + (over.bottom - over.top - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32Form::applyAnchors(int width, int height) {
  // The frame is fixed, so the client area keeps the size of the form's
  // description; the anchors matter should the system give it another one.
  const int dx = width - Form.Desc.ClientWidth, dy = height - Form.Desc.ClientHeight;
  for (const auto& [control, child] : windows) {
    const TRect r = AnchoredBounds(control->Bounds, control->Anchors, dx, dy);
    ::MoveWindow(child, r.Left, r.Top, r.Width(), r.Height(), TRUE);
  }
}

LRESULT TWin32Form::HandleMessage(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND: {
      const auto it = buttons.find(LOWORD(w));
      if (it != buttons.end() && HIWORD(w) == BN_CLICKED && it->second->OnClick)
        Form.Application.Dispatch(it->second->OnClick);
      return 0;
    }
    case WM_CLOSE:
      // The close box closes the form as its Cancel button does; the window
      // itself stays until the process ends.
      Form.Application.Dispatch([this] { Form.Close(); });
      return 0;
    case WM_ERASEBKGND: {
      RECT r;
      ::GetClientRect(window, &r);
      ::FillRect(reinterpret_cast<HDC>(w), &r, static_cast<HBRUSH>(background.Get()));
      return 1;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(w);
      const auto it = labels.find(reinterpret_cast<HWND>(l));
      if (it == labels.end()) {
        ::SetBkColor(dc, ToColorRef(Form.Desc.Color));
        return reinterpret_cast<LRESULT>(background.Get());
      }
      // A label in its font's colour over its own colour.
      ::SetTextColor(dc, ToColorRef(it->second->Font.Color));
      ::SetBkColor(dc, ToColorRef(it->second->Color));
      return reinterpret_cast<LRESULT>(labelBrushes.at(it->second).Get());
    }
    case WM_CTLCOLORBTN:
      return reinterpret_cast<LRESULT>(background.Get());
    case WM_SIZE:
      if (w != SIZE_MINIMIZED) applyAnchors(LOWORD(l), HIWORD(l));
      return 0;
    default:
      return ::DefWindowProcW(window, message, w, l);
  }
}

}  // namespace ui::win32
