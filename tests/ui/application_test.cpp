// The application object, forms and controls on the headless back-end.

#include <gtest/gtest.h>

#include <sstream>

#include "core/exceptions.h"
#include "ui/application.h"
#include "ui/grid/rich_grid.h"
#include "ui/headless/headless_backend.h"

namespace {

using namespace ui;

const TFormDesc kMain{
    "Main",
    "Main form",
    200,
    100,
    TPosition::ScreenCenter,
    clBtnFace,
    {},
    "",
    {{TControlClass::PushButton, "Fail", {0, 0, 10, 10}, "Fail", {}, akLeft, true, "FailClick"},
     {TControlClass::PushButton, "Modal", {0, 0, 10, 10}, "Modal", {}, akLeft, true, "ModalClick"},
     {TControlClass::ProgressGauge, "Gauge", {0, 0, 10, 10}},
     {TControlClass::Label, "Status", {0, 0, 10, 10}, "idle"}}};

const TFormDesc kDialog{"Dialog",  "A dialog", 100,          50, TPosition::MainFormCenter,
                        clBtnFace, {},         "DialogShow", {}};

struct Harness {
  explicit Harness(const std::string& script)
      : app(std::make_unique<THeadlessBackend>(out, script, false)) {
    main = &app.CreateForm(kMain, {{"FailClick", [] { throw EConvertError("Bad number"); }},
                                   {"ModalClick", [this] {
                                      dialog->ShowModal();
                                      main->Get<TLabel>("Status").SetCaption("back");
                                    }}});
    dialog = &app.CreateForm(kDialog, {{"DialogShow", [this] { ++dialogShows; }}});
  }
  std::ostringstream out;
  TApplication app;
  TForm* main;
  TForm* dialog;
  int dialogShows = 0;
};

TEST(Application, HandlerExceptionsAreShownAndTheLoopGoesOn) {
  Harness h("click Main.Fail; click Main.Fail; answer ok; close Main");
  h.app.Run();
  EXPECT_EQ(h.out.str(),
            "form Main shown \"Main form\"\n"
            "label Main.Status \"idle\"\n"
            "box error \"qdupdate\" \"Bad number.\" -> ok\n"
            "box error \"qdupdate\" \"Bad number.\" -> ok\n"
            "form Main closed\n");
}

TEST(Application, ModalFormReturnsWhenClosedAnyWay) {
  for (const char* closing : {"close Dialog", ""}) {
    Harness h(std::string("click Main.Modal; ") + closing);
    h.app.Run();
    const std::string out = h.out.str();
    EXPECT_NE(out.find("form Dialog shown \"A dialog\"\nform Dialog closed\n"), std::string::npos)
        << out;
    EXPECT_EQ(h.dialogShows, 1);
    // A used-up script closes the waiting dialog, then the program.
    EXPECT_NE(out.find("form Main closed"), std::string::npos);
  }
  Harness h("click Main.Modal; click Main.Fail; close Dialog; close Main");
  h.app.Run();
  // While the dialog is modal the main form takes no clicks.
  EXPECT_EQ(h.out.str().find("box error"), std::string::npos) << h.out.str();
  EXPECT_NE(h.out.str().find("label Main.Status \"back\""), std::string::npos);
}

TEST(Controls, GaugeClampsAndRepaintsOnWholePercentChanges) {
  std::ostringstream out;
  TApplication app(std::make_unique<THeadlessBackend>(out, "click Main.Modal", false));
  TForm* form = nullptr;
  struct Step {
    long set, progress;
  } steps[] = {{5, 5}, {9, 9}, {10, 10}, {19, 19}, {-3, 0}, {0, 0}, {5000, 1000}, {999, 999}};
  form = &app.CreateForm(kMain, {{"FailClick", [] {}}, {"ModalClick", [&] {
                                                          auto& gauge =
                                                              form->Get<TProgressGauge>("Gauge");
                                                          gauge.MaxValue = 1000;
                                                          for (const auto& s : steps) {
                                                            gauge.SetProgress(s.set);
                                                            EXPECT_EQ(gauge.Progress(), s.progress);
                                                          }
                                                        }}});
  app.Run();
  // Only changes of the whole percentage repaint: 0 -> 1 -> 0 -> 100 -> 99.
  EXPECT_EQ(out.str(),
            "form Main shown \"Main form\"\n"
            "label Main.Status \"idle\"\n"
            "gauge Main.Gauge 1\n"
            "gauge Main.Gauge 0\n"
            "gauge Main.Gauge 100\n"
            "gauge Main.Gauge 99\n"
            "form Main closed\n");
}

TEST(Controls, GridKeepsTextsAcrossRowCountChanges) {
  Harness h("");
  TRichStringGrid grid(*h.main);
  EXPECT_EQ(grid.GetRowCountEx(), 50);
  EXPECT_EQ(grid.GetCellEx(2, 0), "\xCE\xEF\xE8\xF1\xE0\xED\xE8\xE5");
  grid.SetCellEx(1, 7, "seven");
  grid.SetRowCountEx(3);
  grid.SetRowCountEx(10);
  EXPECT_EQ(grid.GetCellEx(1, 7), "seven");
  EXPECT_EQ(grid.GetCellEx(5, 70), "");
}

}  // namespace
