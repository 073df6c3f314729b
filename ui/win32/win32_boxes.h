#pragma once
// Message boxes with any set of buttons and the text-input box. Button sets
// that the system's message box offers are shown by it; others, such as Yes /
// No / No to All / Yes to All, by a small window of the back-end's own.

#include <vector>

#include "core/ansistring.h"
#include "ui/backend.h"
#include "ui/win32/win32_headers.h"

namespace ui::win32 {

int RunMessageBox(HWND owner, TBoxKind kind, const AnsiString& title, const AnsiString& text,
                  const std::vector<int>& buttons);
bool RunInputBox(HWND owner, const AnsiString& caption, const AnsiString& prompt,
                 AnsiString& value);

}  // namespace ui::win32
