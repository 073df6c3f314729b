#include "ui/dialogs.h"

#include "ui/application.h"

namespace ui {

AnsiString MsgDlgTitle(TMsgDlgType type) {
  switch (type) {
    case TMsgDlgType::mtWarning:
      return "Warning";
    case TMsgDlgType::mtError:
      return "Error";
    case TMsgDlgType::mtInformation:
      return "Information";
    case TMsgDlgType::mtConfirmation:
      return "Confirm";
    case TMsgDlgType::mtCustom:
      break;
  }
  return TApplication::Current() ? TApplication::Current()->Title : "qdupdate";
}

const char* ButtonCaption(int result) {
  switch (result) {
    case mrOk:
      return "OK";
    case mrCancel:
      return "Cancel";
    case mrAbort:
      return "&Abort";
    case mrRetry:
      return "&Retry";
    case mrIgnore:
      return "&Ignore";
    case mrYes:
      return "&Yes";
    case mrNo:
      return "&No";
    case mrAll:
      return "&All";
    case mrNoToAll:
      return "N&o to All";
    case mrYesToAll:
      return "Yes to &All";
  }
  return "?";
}

int MessageDlg(const AnsiString& text, TMsgDlgType type, const std::vector<int>& buttons) {
  TApplication* app = TApplication::Current();
  if (!app) return mrCancel;
  const TBoxKind kind = type == TMsgDlgType::mtError          ? TBoxKind::Error
                        : type == TMsgDlgType::mtConfirmation ? TBoxKind::Confirm
                                                              : TBoxKind::Plain;
  return app->Backend().MessageBox(kind, MsgDlgTitle(type), text, buttons);
}

void ShowMessage(const AnsiString& text) {
  if (TApplication* app = TApplication::Current())
    app->Backend().MessageBox(TBoxKind::Plain, app->Title, text, {mrOk});
}

bool InputQuery(const AnsiString& caption, const AnsiString& prompt, AnsiString& value) {
  TApplication* app = TApplication::Current();
  return app && app->Backend().InputBox(caption, prompt, value);
}

}  // namespace ui
