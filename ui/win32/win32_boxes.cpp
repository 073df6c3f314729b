#include "ui/win32/win32_boxes.h"

#include <algorithm>

#include "ui/dialogs.h"
#include "ui/win32/win32_popup.h"
#include "ui/win32/win32_text.h"

namespace ui::win32 {

namespace {

struct TButtonSet {
  std::vector<int> buttons;
  UINT type;
};

// The button sets of the system's message box, in the order it shows them.
const TButtonSet kSystemSets[] = {
    {{mrOk}, MB_OK},
    {{mrOk, mrCancel}, MB_OKCANCEL},
    {{mrYes, mrNo}, MB_YESNO},
    {{mrYes, mrNo, mrCancel}, MB_YESNOCANCEL},
    {{mrAbort, mrRetry, mrIgnore}, MB_ABORTRETRYIGNORE},
    {{mrRetry, mrCancel}, MB_RETRYCANCEL},
};

int resultOf(int id) {
  switch (id) {
    case IDOK:
      return mrOk;
    case IDABORT:
      return mrAbort;
    case IDRETRY:
      return mrRetry;
    case IDIGNORE:
      return mrIgnore;
    case IDYES:
      return mrYes;
    case IDNO:
      return mrNo;
    default:
      return mrCancel;
  }
}

// The size the text takes in the font, wrapped at maxWidth.
SIZE measure(HFONT font, const std::wstring& text, int maxWidth) {
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, font);
  RECT r{0, 0, maxWidth, 0};
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  return {r.right, r.bottom};
}

int ownBox(HWND owner, TBoxKind kind, const AnsiString& title, const AnsiString& text,
           const std::vector<int>& buttons) {
  constexpr int margin = 12, gap = 8, buttonWidth = 88, buttonHeight = 26, iconSize = 32;
  const std::wstring message = Wide(text);
  const bool icon = kind != TBoxKind::Plain;
  // Measured with a throw-away window's font first: the popup's size depends
  // on it.
  HFONT probe = nullptr;
  {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
      probe = ::CreateFontIndirectW(&metrics.lfMessageFont);
  }
  const SIZE textSize =
      measure(probe ? probe : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)), message, 440);
  if (probe) ::DeleteObject(probe);
  const int textLeft = margin + (icon ? iconSize + margin : 0);
  const int rowWidth = static_cast<int>(buttons.size()) * (buttonWidth + gap) - gap;
  const int width =
      std::max({textLeft + static_cast<int>(textSize.cx) + margin, rowWidth + 2 * margin, 240});
  const int body = std::max(static_cast<int>(textSize.cy), icon ? iconSize : 0);
  const int height = margin + body + margin + buttonHeight + margin;

  TModalPopup popup(owner, title, width, height);
  if (icon) {
    HWND sign = popup.AddControl(L"STATIC", L"", SS_ICON, margin, margin, iconSize, iconSize, -1);
    const auto which = kind == TBoxKind::Error ? IDI_ERROR : IDI_QUESTION;
    ::SendMessageW(sign, STM_SETICON,
                   reinterpret_cast<WPARAM>(::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(which))),
                   0);
  }
  popup.AddControl(L"STATIC", message, SS_LEFT | SS_NOPREFIX, textLeft,
                   margin + (body - static_cast<int>(textSize.cy)) / 2, textSize.cx, textSize.cy,
                   -1);
  HWND first = nullptr;
  int x = (width - rowWidth) / 2;
  int id = 100;
  for (const int b : buttons) {
    HWND button = popup.AddButton(Wide(ButtonCaption(b)), x, height - margin - buttonHeight,
                                  buttonWidth, buttonHeight, id++, b);
    if (!first) first = button;
    x += buttonWidth + gap;
  }
  return popup.Run(first, mrCancel);
}

}  // namespace

int RunMessageBox(HWND owner, TBoxKind kind, const AnsiString& title, const AnsiString& text,
                  const std::vector<int>& buttons) {
  for (const auto& set : kSystemSets) {
    if (set.buttons != buttons) continue;
    const UINT icon = kind == TBoxKind::Error     ? MB_ICONERROR
                      : kind == TBoxKind::Confirm ? MB_ICONQUESTION
                                                  : 0;
    const int id = ::MessageBoxW(owner, Wide(text).c_str(), Wide(title).c_str(),
                                 set.type | icon | (owner ? MB_APPLMODAL : MB_TASKMODAL));
    return resultOf(id);
  }
  return ownBox(owner, kind, title, text, buttons);
}

bool RunInputBox(HWND owner, const AnsiString& caption, const AnsiString& prompt,
                 AnsiString& value) {
  constexpr int okId = 100, cancelId = 101;
  TModalPopup popup(owner, caption, 320, 100);
  popup.AddControl(L"STATIC", Wide(prompt), SS_LEFT | SS_NOPREFIX, 10, 10, 300, 16, -1);
  HWND edit = popup.AddControl(L"EDIT", Wide(value), WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 10,
                               30, 300, 22, -1);
  popup.AddButton(Wide(ButtonCaption(mrOk)), 140, 64, 80, 26, okId, mrOk);
  popup.AddButton(Wide(ButtonCaption(mrCancel)), 230, 64, 80, 26, cancelId, mrCancel);
  ::SendMessageW(edit, EM_SETSEL, 0, -1);
  if (popup.Run(edit, mrCancel) != mrOk) return false;
  const int length = ::GetWindowTextLengthW(edit);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(edit, text.data(), length + 1)));
  value = Narrow(text);
  return true;
}

}  // namespace ui::win32
