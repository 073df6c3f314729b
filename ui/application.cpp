#include "ui/application.h"

namespace ui {

namespace {
TApplication* current = nullptr;
}

TApplication::TApplication(std::unique_ptr<TWidgetBackend> b) : backend(std::move(b)) {
  current = this;
}

TApplication::~TApplication() {
  forms.clear();
  if (current == this) current = nullptr;
}

TApplication* TApplication::Current() {
  return current;
}

TForm& TApplication::CreateForm(const TFormDesc& desc, const THandlers& handlers) {
  forms.push_back(std::make_unique<TForm>(*this, desc, handlers));
  TForm& form = *forms.back();
  if (!mainForm) mainForm = &form;
  backend->FormCreated(form);
  return form;
}

std::vector<TForm*> TApplication::Forms() const {
  std::vector<TForm*> r;
  for (const auto& f : forms) r.push_back(f.get());
  return r;
}

void TApplication::showForm(TForm& form) {
  // The form's OnShow runs before the window appears, as the form framework
  // raises it while the window is being made visible; changes it makes are
  // part of what the window first shows.
  if (form.OnShow) Dispatch(form.OnShow);
  form.visible = true;
  backend->ShowForm(form);
}

void TApplication::formClosed(TForm& form) {
  backend->HideForm(form);
  if (&form == mainForm) terminated = true;
}

void TApplication::Run() {
  if (!mainForm || terminated) return;
  showForm(*mainForm);
  backend->RunLoop(*mainForm, [this] { return terminated || !mainForm->Visible(); });
  terminated = true;
}

void TApplication::ProcessMessages() {
  backend->ProcessMessages();
}

AnsiString ExceptionBoxText(const AnsiString& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

void TApplication::ShowException(const std::exception& e) {
  backend->MessageBox(TBoxKind::Error, Title, ExceptionBoxText(e.what()), {mrOk});
}

void TApplication::Dispatch(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ShowException(e);
  }
}

}  // namespace ui
