#pragma once
// Message boxes and the text-input box, shown through the application's
// widget back-end.

#include <vector>

#include "core/ansistring.h"

namespace ui {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TModalResult {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrRetry = 4,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7,
  mrAll = 8,
  mrNoToAll = 9,
  mrYesToAll = 10,
};

// A box of the given kind; buttons are the results of its buttons in the
// order shown. The result is the button pressed, or mrCancel when the box
// was closed another way.
int MessageDlg(const AnsiString& text, TMsgDlgType type, const std::vector<int>& buttons);
// A plain box with an OK button and no icon, titled with the application's
// title.
void ShowMessage(const AnsiString& text);
// A text-input box editing value in place; false when the user cancelled.
bool InputQuery(const AnsiString& caption, const AnsiString& prompt, AnsiString& value);

// The title a message box of this type carries.
AnsiString MsgDlgTitle(TMsgDlgType type);

// The caption of the box button that gives this result, "&" before the
// letter that presses it with Alt; "?" for a value that is no button's.
const char* ButtonCaption(int result);

}  // namespace ui
