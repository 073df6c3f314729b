#include "ui/fltk/fltk_boxes.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <memory>

#include "platform/codepage.h"
#include "ui/dialogs.h"

namespace ui::fltk {

namespace {

// Runs a window modally until one of its buttons sets the result or it is
// closed (the result stays mrCancel then).
int runModal(Fl_Window& window, int& result) {
  window.set_modal();
  window.callback([](Fl_Widget* w, void*) { w->hide(); });
  window.show();
  while (window.shown()) Fl::wait();
  return result;
}

struct ButtonTarget {
  int* result;
  int value;
  Fl_Window* window;
};

}  // namespace

int RunMessageBox(TBoxKind kind, const AnsiString& title, const AnsiString& text,
                  const std::vector<int>& buttons) {
  const std::string utf8Title = platform::AnsiToUtf8(title);
  std::string utf8Text = platform::AnsiToUtf8(text);
  const int buttonWidth = 90, gap = 8, margin = 12;
  fl_font(FL_HELVETICA, 13);
  int tw = 0, th = 0;
  fl_measure(utf8Text.c_str(), tw, th, 0);
  const int icon = kind == TBoxKind::Plain ? 0 : 40;
  const int rowWidth = static_cast<int>(buttons.size()) * (buttonWidth + gap) - gap;
  const int w = std::max({tw + icon + 2 * margin, rowWidth + 2 * margin, 200});
  const int h = std::max(th, icon ? 32 : 0) + 3 * margin + 26;
  Fl_Window window(w, h, utf8Title.c_str());
  if (icon) {
    auto* sign = new Fl_Box(margin, margin, 32, 32, kind == TBoxKind::Error ? "X" : "?");
    sign->box(FL_OVAL_BOX);
    sign->color(kind == TBoxKind::Error ? FL_RED : FL_BLUE);
    sign->labelcolor(FL_WHITE);
    sign->labelfont(FL_HELVETICA_BOLD);
    sign->labelsize(20);
  }
  auto* message = new Fl_Box(margin + icon, margin, w - 2 * margin - icon, th, utf8Text.c_str());
  message->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_TOP);
  message->labelsize(13);
  int result = mrCancel;
  std::vector<std::unique_ptr<ButtonTarget>> targets;
  int bx = (w - rowWidth) / 2;
  for (const int b : buttons) {
    auto* button = new Fl_Button(bx, h - margin - 26, buttonWidth, 26, ButtonCaption(b));
    targets.push_back(std::make_unique<ButtonTarget>(ButtonTarget{&result, b, &window}));
    button->callback(
        [](Fl_Widget*, void* data) {
          auto* t = static_cast<ButtonTarget*>(data);
          *t->result = t->value;
          t->window->hide();
        },
        targets.back().get());
    bx += buttonWidth + gap;
  }
  window.end();
  window.position((Fl::w() - w) / 2, (Fl::h() - h) / 2);
  return runModal(window, result);
}

bool RunInputBox(const AnsiString& caption, const AnsiString& prompt, AnsiString& value) {
  const std::string utf8Caption = platform::AnsiToUtf8(caption);
  const std::string utf8Prompt = platform::AnsiToUtf8(prompt);
  Fl_Window window(320, 120, utf8Caption.c_str());
  auto* label = new Fl_Box(10, 8, 300, 20, utf8Prompt.c_str());
  label->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
  auto* input = new Fl_Input(10, 32, 300, 24);
  input->value(platform::AnsiToUtf8(value).c_str());
  int result = mrCancel;
  ButtonTarget ok{&result, mrOk, &window}, cancel{&result, mrCancel, &window};
  auto onButton = [](Fl_Widget*, void* data) {
    auto* t = static_cast<ButtonTarget*>(data);
    *t->result = t->value;
    t->window->hide();
  };
  (new Fl_Return_Button(140, 80, 80, 26, ButtonCaption(mrOk)))->callback(onButton, &ok);
  (new Fl_Button(230, 80, 80, 26, ButtonCaption(mrCancel)))->callback(onButton, &cancel);
  window.end();
  window.position((Fl::w() - 320) / 2, (Fl::h() - 120) / 2);
  if (runModal(window, result) != mrOk) return false;
  value = platform::Utf8ToAnsi(input->value());
  return true;
}

}  // namespace ui::fltk
