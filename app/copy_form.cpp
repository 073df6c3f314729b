#include "app/copy_form.h"

#include "app/form_descs.h"

TCopyForm::TCopyForm(ui::TApplication& app) : Form(app.CreateForm(CopyFormDesc(), handlers())) {}

ui::THandlers TCopyForm::handlers() {
  return {{"Button1Click", [this] { Button1Click(); }}};
}

void TCopyForm::Button1Click() {
  Form.Close();
}
