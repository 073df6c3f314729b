#pragma once
// The install dialog: asks the user to close the product's modules, then
// installs the unpacked database and records the installed update.

#include "core/ansistring.h"
#include "ui/application.h"

class TCopyForm {
 public:
  explicit TCopyForm(ui::TApplication& app);

  ui::TForm& Form;

  void Button1Click();
  // The install command: copies "qd.upd" from the working directory to
  // "qdztempl.dll" in the system folder, writes the update's identifier as
  // CurrentUpdate in HKEY_LOCAL_MACHINE\SOFTWARE\Talvesk and closes the
  // dialog. A failed copy is reported in a box and leaves the dialog open; a
  // failed registry write raises the accessor's error.
  void Button2Click();

 private:
  ui::THandlers handlers();
};

// The identifier of a downloaded update list: its text before the first CR
// LF, or the empty text when it holds none.
AnsiString UpdateIdentifier(std::string_view updateList);
