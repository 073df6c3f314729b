#include "app/copy_form.h"

#include "app/form_descs.h"
#include "app/shared_state.h"
#include "core/reg_ini_file.h"
#include "platform/atomic_copy.h"
#include "platform/folders.h"
#include "ui/dialogs.h"

TCopyForm::TCopyForm(ui::TApplication& app) : Form(app.CreateForm(CopyFormDesc(), handlers())) {}

ui::THandlers TCopyForm::handlers() {
  return {{"Button1Click", [this] { Button1Click(); }},
          {"Button2Click", [this] { Button2Click(); }}};
}

void TCopyForm::Button1Click() {
  Form.Close();
}

AnsiString UpdateIdentifier(std::string_view updateList) {
  const size_t end = updateList.find("\r\n");
  return end == std::string_view::npos ? AnsiString() : AnsiString(updateList.substr(0, end));
}

void TCopyForm::Button2Click() {
  const AnsiString target = platform::GetSystemDirectory() + "\\qdztempl.dll";
  const AnsiString source = platform::GetCurrentDirectory() + "\\qd.upd";
  // The copy replaces the installed database in one step, so a copy that
  // stops half-way leaves the old database whole rather than a broken one.
  if (!platform::CopyFileAtomic(source, target)) {
    ui::ShowMessage("Can't continue with update. Please close all @Quorvane modules before.");
    return;
  }
  const AnsiString identifier = UpdateIdentifier(NewUpdateText);
  {
    TRegIniFile registry("SOFTWARE\\Talvesk");
    registry.SetRootKey(platform::HkeyLocalMachine);
    // The machine-wide key is made by the product's installer; when it is
    // missing the write below reports it.
    registry.OpenKey("SOFTWARE\\Talvesk", false);
    registry.WriteString("", "CurrentUpdate", identifier);
    // A signed update records its serial, so that an older one is refused
    // later; an unsigned road writes nothing more.
    if (NewUpdateSerial != 0)
      registry.WriteString("", "UpdateSerial", IntToStr(static_cast<int64_t>(NewUpdateSerial)));
  }
  ui::ShowMessage("Database update has been successfully completed");
  Form.Close();
}
