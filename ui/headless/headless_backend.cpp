#include "ui/headless/headless_backend.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "core/cp1251.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/grid/cell_draw.h"
#include "ui/grid/grid_layout.h"
#include "ui/grid/rich_grid.h"
#include "ui/headless/headless_canvas.h"

namespace ui {

namespace {

struct AnswerWord {
  const char* word;
  int result;
};

constexpr AnswerWord kAnswers[] = {
    {"ok", mrOk},       {"cancel", mrCancel},     {"yes", mrYes},
    {"no", mrNo},       {"yestoall", mrYesToAll}, {"notoall", mrNoToAll},
    {"abort", mrAbort}, {"retry", mrRetry},       {"ignore", mrIgnore},
    {"all", mrAll},
};

const char* answerWord(int result) {
  for (const auto& a : kAnswers)
    if (a.result == result) return a.word;
  return "cancel";
}

std::string trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return std::string(s);
}

const char* kindWord(TBoxKind kind) {
  switch (kind) {
    case TBoxKind::Plain:
      return "plain";
    case TBoxKind::Error:
      return "error";
    case TBoxKind::Confirm:
      return "confirm";
  }
  return "plain";
}

}  // namespace

class THeadlessBackend::Peer : public TFormPeer {
 public:
  Peer(THeadlessBackend& backend, TForm& form) : backend(backend), form(form) {}
  void ControlChanged(TControl& control) override { backend.controlChanged(control); }
  THeadlessBackend& backend;
  TForm& form;
};

THeadlessBackend::THeadlessBackend(std::ostream& out, std::string_view text, bool traceDraw)
    : out(out), traceDraw(traceDraw) {
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = std::min(text.find(';', start), text.size());
    std::string action = trim(text.substr(start, end - start));
    if (!action.empty()) script.push_back(std::move(action));
    start = end + 1;
  }
}

THeadlessBackend::~THeadlessBackend() = default;

void THeadlessBackend::line(const std::string& text) {
  out << text << '\n' << std::flush;
}

void THeadlessBackend::FormCreated(TForm& form) {
  peers.push_back(std::make_unique<Peer>(*this, form));
  form.Peer = peers.back().get();
}

void THeadlessBackend::printLabel(const TControl& control) {
  const auto& label = static_cast<const TLabel&>(control);
  line("label " + std::string(control.Owner.Desc.Name) + "." + control.Name + " " +
       QuoteProgramText(label.Caption()));
}

void THeadlessBackend::printGrid(const TRichStringGrid& grid) {
  dirtyGrids.erase(&grid);
  const int rows = grid.GetRowCountEx();
  line("grid " + std::string(grid.Owner.Desc.Name) + "." + grid.Name + " rows " +
       std::to_string(rows));
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < grid.ColCount; ++c) {
      const AnsiString& text = grid.GetCellEx(c, r);
      if (!text.empty())
        line("cell " + std::to_string(c) + " " + std::to_string(r) + " " + QuoteProgramText(text));
    }
  if (!traceDraw) return;
  // The whole grid is painted, every row and the header included, so that a
  // trace shows what any scroll position would show.
  // Each cell is drawn at the origin, in its size by the grid's layout.
  THeadlessCanvas canvas(out);
  const TGridLayout layout(grid, TRect{}, TGridScroll{});
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < grid.ColCount; ++c) {
      canvas.BeginCell(c, r);
      const TRect cell = layout.CellRect(c, r);
      DrawGridCell(grid, canvas, c, r, TRect{0, 0, cell.Width(), cell.Height()});
    }
}

void THeadlessBackend::flushGrids() {
  while (!dirtyGrids.empty()) printGrid(**dirtyGrids.begin());
}

void THeadlessBackend::controlChanged(TControl& control) {
  if (!control.Owner.Visible()) return;
  switch (control.Kind) {
    case TControlClass::Label:
      printLabel(control);
      break;
    case TControlClass::ProgressGauge:
      line("gauge " + std::string(control.Owner.Desc.Name) + "." + control.Name + " " +
           std::to_string(static_cast<TProgressGauge&>(control).PercentDone()));
      break;
    case TControlClass::RichStringGrid:
      // Grid changes are painted at the next point where the program would
      // let the window repaint, as a real window coalesces invalidations.
      dirtyGrids.insert(static_cast<TRichStringGrid*>(&control));
      break;
    case TControlClass::PushButton:
      break;
  }
}

void THeadlessBackend::ShowForm(TForm& form) {
  line("form " + std::string(form.Desc.Name) + " shown " + QuoteProgramText(form.Desc.Caption));
  for (const auto& c : form.Controls())
    if (c->Kind == TControlClass::Label) printLabel(*c);
  for (const auto& c : form.Controls())
    if (c->Kind == TControlClass::RichStringGrid) printGrid(static_cast<TRichStringGrid&>(*c));
}

void THeadlessBackend::HideForm(TForm& form) {
  flushGrids();
  line("form " + std::string(form.Desc.Name) + " closed");
}

void THeadlessBackend::ProcessMessages() {
  flushGrids();
  // An action written "pending ACTION" stands for what a user does while the
  // program is busy (a click during a download): it is taken the next time
  // the program lets pending messages run, one action each time.
  if (!script.empty() && script.front().rfind("pending ", 0) == 0) {
    const std::string action = trim(script.front().substr(8));
    script.pop_front();
    perform(action);
  }
}

void THeadlessBackend::perform(const std::string& action) {
  TApplication& app = *TApplication::Current();
  const size_t space = action.find(' ');
  const std::string verb = action.substr(0, space);
  const std::string rest = space == std::string::npos ? "" : trim(action.substr(space + 1));
  auto findForm = [&](const std::string& name) -> TForm* {
    for (TForm* f : app.Forms())
      if (name == f->Desc.Name) return f;
    return nullptr;
  };
  auto complain = [&](const std::string& why) {
    std::cerr << "qdupdate: script action '" << action << "' " << why << '\n';
  };
  if (verb == "close") {
    TForm* form = findForm(rest);
    if (!form || !form->Visible()) return complain("names no shown form");
    form->Close();
    return;
  }
  if (verb == "click") {
    const std::string target = rest.substr(0, rest.find(' '));
    const size_t dot = target.find('.');
    TForm* form = dot == std::string::npos ? nullptr : findForm(target.substr(0, dot));
    if (!form || !form->Visible()) return complain("names no shown form");
    if (app.ModalForm() && app.ModalForm() != form)
      return complain("hits a form behind a modal one");
    TControl* control = nullptr;
    for (const auto& c : form->Controls())
      if (c->Name == target.substr(dot + 1)) control = c.get();
    if (!control) return complain("names no control");
    if (control->Kind == TControlClass::RichStringGrid) {
      int col = -1, row = -1;
      if (std::sscanf(rest.c_str() + target.size(), "%d %d", &col, &row) != 2)
        return complain("needs a column and a row");
      const auto& grid = static_cast<TRichStringGrid&>(*control);
      if (auto text = GridCellClickTarget(grid, col, row)) line("open " + QuoteProgramText(*text));
      return;
    }
    if (control->OnClick) app.Dispatch(control->OnClick);
    return;
  }
  complain("is not understood here");
}

void THeadlessBackend::RunLoop(TForm& waitingFor, const std::function<bool()>& done) {
  TApplication& app = *TApplication::Current();
  while (!done()) {
    flushGrids();
    if (script.empty()) {
      // Nothing more to do: close what the loop waits for, and the program.
      if (waitingFor.Visible()) waitingFor.Close();
      if (app.MainForm() && app.MainForm()->Visible()) app.MainForm()->Close();
      continue;
    }
    std::string action = script.front();
    script.pop_front();
    // A pending action that found the program idle is taken like any other.
    if (action.rfind("pending ", 0) == 0) action = trim(action.substr(8));
    perform(action);
  }
  flushGrids();
}

int THeadlessBackend::MessageBox(TBoxKind kind, const AnsiString& title, const AnsiString& text,
                                 const std::vector<int>& buttons) {
  flushGrids();
  auto has = [&](int r) { return std::find(buttons.begin(), buttons.end(), r) != buttons.end(); };
  // Without an answer the box gets the button that cancels it.
  int result = has(mrCancel) ? mrCancel : has(mrNo) ? mrNo : has(mrOk) ? mrOk : mrCancel;
  if (!script.empty() && script.front().rfind("answer ", 0) == 0) {
    const std::string word = trim(script.front().substr(7));
    script.pop_front();
    bool known = false;
    for (const auto& a : kAnswers)
      if (word == a.word && (has(a.result) || a.result == mrCancel)) {
        result = a.result;
        known = true;
      }
    if (!known) std::cerr << "qdupdate: the box has no answer '" << word << "'\n";
  }
  line(std::string("box ") + kindWord(kind) + " " + QuoteProgramText(title) + " " +
       QuoteProgramText(text) + " -> " + answerWord(result));
  return result;
}

bool THeadlessBackend::InputBox(const AnsiString& caption, const AnsiString& prompt,
                                AnsiString& value) {
  flushGrids();
  bool ok = false;
  if (!script.empty() && script.front().rfind("answer ", 0) == 0) {
    const std::string word = trim(script.front().substr(7));
    script.pop_front();
    if (word.rfind("text:", 0) == 0) {
      value = Cp1251(word.substr(5));
      ok = true;
    } else if (word != "cancel") {
      std::cerr << "qdupdate: the input box has no answer '" << word << "'\n";
    }
  }
  line("box input " + QuoteProgramText(caption) + " " + QuoteProgramText(prompt) + " -> " +
       (ok ? "text:" + Cp1251ToUtf8(value) : std::string("cancel")));
  return ok;
}

void THeadlessBackend::Exiting(int code) {
  flushGrids();
  line("exit " + std::to_string(code));
}

std::unique_ptr<TWidgetBackend> MakeHeadlessBackendFromEnvironment() {
  const char* script = std::getenv("QD_UI_SCRIPT");
  const char* trace = std::getenv("QD_UI_TRACE");
  return std::make_unique<THeadlessBackend>(std::cout, script ? script : "",
                                            trace && std::string_view(trace) == "draw");
}

}  // namespace ui
