#pragma once
// Modal message boxes with any set of buttons, and the text-input box.

#include <vector>

#include "core/ansistring.h"
#include "ui/backend.h"

namespace ui::fltk {

int RunMessageBox(TBoxKind kind, const AnsiString& title, const AnsiString& text,
                  const std::vector<int>& buttons);
bool RunInputBox(const AnsiString& caption, const AnsiString& prompt, AnsiString& value);

}  // namespace ui::fltk
