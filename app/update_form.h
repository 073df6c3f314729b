#pragma once
// The main dialog: the update list, the date of the installed database and
// the download command.

#include "ui/application.h"
#include "ui/grid/rich_grid.h"

class TUpdateForm {
 public:
  explicit TUpdateForm(ui::TApplication& app);

  ui::TForm& Form;
  ui::TProgressGauge& ProgressBar;
  ui::TLabel& DateLabel;
  ui::TRichStringGrid& UpdateSg;

  // Reads lastupd.dat and newupd.dat from DataFolder into DateLabel and
  // UpdateSg. Never lets an exception out.
  void FormShow();
  void Button1Click();

 private:
  ui::THandlers handlers();
};
