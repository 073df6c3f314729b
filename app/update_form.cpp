#include "app/update_form.h"

#include "app/form_descs.h"
#include "app/shared_state.h"
#include "app/text_ops.h"
#include "core/stringlist.h"

TUpdateForm::TUpdateForm(ui::TApplication& application)
    : Form(application.CreateForm(UpdateFormDesc(), handlers())),
      ProgressBar(Form.Get<ui::TProgressGauge>("ProgressBar")),
      DateLabel(Form.Get<ui::TLabel>("DateLabel")),
      UpdateSg(Form.Get<ui::TRichStringGrid>("UpdateSg")),
      app(application) {
  setUpHttp();
  setUpArchiver();
}

ui::THandlers TUpdateForm::handlers() {
  return {{"FormShow", [this] { FormShow(); }},
          {"Button1Click", [this] { Button1Click(); }},
          {"Button2Click", [this] { Button2Click(); }}};
}

void TUpdateForm::FormShow() {
  TStringList list;
  const AnsiString folder = DataFolder();
  // Any failure stops the reading silently; what was already shown stays.
  try {
    list.LoadFromFile(folder + "\\lastupd.dat");
    const AnsiString l0 = list[0];
    DateLabel.SetCaption(SliceText(l0, FindText(l0, "#") + 1, 100));

    list.LoadFromFile(folder + "\\newupd.dat");
    const int n = list.Count();
    UpdateSg.SetRowCountEx(n + 3);
    for (int j = 3; j <= n - 1; ++j) {
      AnsiString s = list[j];
      const int r = j - 2;
      UpdateSg.SetCellEx(0, r, SliceText(s, 1, FindText(s, "#") - 1));
      CutText(s, 1, FindText(s, "#"));
      UpdateSg.SetCellEx(1, r, SliceText(s, 1, FindText(s, "#") - 1));
      CutText(s, 1, FindText(s, "#"));
      UpdateSg.SetCellEx(2, r, s);
    }
    for (int i = 0; i <= UpdateSg.GetRowCountEx() - 1; ++i) {
      if (UpdateSg.GetCellEx(0, i) == "critical")
        UpdateSg.SetCellEx(
            0, i, "<FONT color=\"clRed\"><B><I>" + UpdateSg.GetCellEx(0, i) + "</I></B></FONT>");
      if (UpdateSg.GetCellEx(0, i) == "NEW VERSION")
        UpdateSg.SetCellEx(0, i,
                           "<FONT color=\"clRed\"><B>" + UpdateSg.GetCellEx(0, i) + "</B></FONT>");
    }
  } catch (...) {
  }
}

void TUpdateForm::Button1Click() {
  Form.Close();
}
