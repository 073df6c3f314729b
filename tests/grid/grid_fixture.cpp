#include "grid_fixture.h"

#include "ui/headless/headless_backend.h"

namespace grid_test {

using namespace ui;

const TFormDesc& GridFormDesc() {
  static const TFormDesc desc{
      .Name = "Form",
      .Caption = "Grid",
      .ClientWidth = 600,
      .ClientHeight = 300,
      .Controls = {{.Class = TControlClass::RichStringGrid,
                    .Name = "Sg",
                    .Bounds = {0, 0, 580, 280},
                    .Font = TFont{"Tahoma", 8, clWindowText, {}}}},
  };
  return desc;
}

TGridFixture::TGridFixture()
    : App(std::make_unique<THeadlessBackend>(Out, "", false)),
      Grid(App.CreateForm(GridFormDesc(), {}).Get<TRichStringGrid>("Sg")) {}

}  // namespace grid_test
