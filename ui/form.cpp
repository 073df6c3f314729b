#include "ui/form.h"

#include <stdexcept>

#include "ui/application.h"
#include "ui/grid/rich_grid.h"

namespace ui {

namespace {

std::unique_ptr<TControl> makeControl(TForm& form, const TControlDesc& d) {
  std::unique_ptr<TControl> c;
  switch (d.Class) {
    case TControlClass::Label: {
      auto label = std::make_unique<TLabel>(form);
      label->SetCaption(d.Caption);
      c = std::move(label);
      break;
    }
    case TControlClass::PushButton: {
      auto button = std::make_unique<TPushButton>(form);
      button->Caption = d.Caption;
      c = std::move(button);
      break;
    }
    case TControlClass::ProgressGauge: {
      auto gauge = std::make_unique<TProgressGauge>(form);
      gauge->ForeColor = d.ForeColor;
      c = std::move(gauge);
      break;
    }
    case TControlClass::RichStringGrid:
      c = std::make_unique<TRichStringGrid>(form);
      break;
  }
  c->Name = d.Name;
  c->Bounds = {d.Bounds.Left, d.Bounds.Top, d.Bounds.Left + d.Bounds.Right,
               d.Bounds.Top + d.Bounds.Bottom};
  c->Anchors = d.Anchors;
  c->Font = d.Font;
  c->TabStop = d.TabStop;
  return c;
}

std::function<void()> bind(const THandlers& handlers, const char* event) {
  if (!event || !*event) return {};
  const auto it = handlers.find(event);
  if (it == handlers.end()) throw std::logic_error(std::string("no handler for event ") + event);
  return it->second;
}

}  // namespace

TForm::TForm(TApplication& app, const TFormDesc& desc, const THandlers& handlers)
    : Application(app), Desc(desc) {
  OnShow = bind(handlers, desc.OnShow);
  for (const auto& d : desc.Controls) {
    auto c = makeControl(*this, d);
    c->OnClick = bind(handlers, d.OnClick);
    controls.push_back(std::move(c));
  }
}

TForm::~TForm() = default;

TControl* TForm::FindControl(std::string_view name) const {
  for (const auto& c : controls)
    if (c->Name == name) return c.get();
  throw std::logic_error("no control " + std::string(name) + " on " + Desc.Name);
}

void TForm::ShowModal() {
  Application.modalForms.push_back(this);
  Application.showForm(*this);
  Application.Backend().RunLoop(*this, [this] { return !visible || Application.Terminated(); });
  Application.modalForms.pop_back();
  if (visible) Close();
}

void TForm::Close() {
  if (!visible) return;
  visible = false;
  Application.formClosed(*this);
}

}  // namespace ui
