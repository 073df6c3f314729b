#pragma once
// The install dialog: asks the user to close the product's modules.

#include "ui/application.h"

class TCopyForm {
 public:
  explicit TCopyForm(ui::TApplication& app);

  ui::TForm& Form;

  void Button1Click();

 private:
  ui::THandlers handlers();
};
