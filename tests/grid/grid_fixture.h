#pragma once
// A grid made the way the update list's dialog makes it, for the tests.

#include <sstream>

#include "ui/application.h"
#include "ui/grid/rich_grid.h"

namespace grid_test {

// The description of a form with one grid "Sg" in the update list's fonts.
const ui::TFormDesc& GridFormDesc();

// An application on the headless back-end with that form created, so that a
// test gets a grid as the update list's dialog makes it.
struct TGridFixture {
  TGridFixture();
  std::ostringstream Out;
  ui::TApplication App;
  ui::TRichStringGrid& Grid;
};

}  // namespace grid_test
