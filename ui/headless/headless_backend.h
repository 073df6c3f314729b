#pragma once
// A widget back-end without a display. It prints one record per line for
// everything a user would see, and takes the user's actions from a script.

#include <deque>
#include <iosfwd>
#include <memory>
#include <set>
#include <string>

#include "core/record_text.h"
#include "ui/backend.h"

namespace ui {

class TRichStringGrid;

class THeadlessBackend : public TWidgetBackend {
 public:
  // script: actions separated by ";"; traceDraw: also print every text that a
  // grid cell draws.
  THeadlessBackend(std::ostream& out, std::string_view script, bool traceDraw);
  ~THeadlessBackend() override;

  void FormCreated(TForm& form) override;
  void ShowForm(TForm& form) override;
  void HideForm(TForm& form) override;
  void RunLoop(TForm& waitingFor, const std::function<bool()>& done) override;
  void ProcessMessages() override;
  int MessageBox(TBoxKind kind, const AnsiString& title, const AnsiString& text,
                 const std::vector<int>& buttons) override;
  bool InputBox(const AnsiString& caption, const AnsiString& prompt, AnsiString& value) override;
  void Exiting(int code) override;

 private:
  class Peer;
  friend class Peer;

  void controlChanged(TControl& control);
  void printLabel(const TControl& control);
  void printGrid(const TRichStringGrid& grid);
  void flushGrids();
  void perform(const std::string& action);
  void line(const std::string& text);

  std::ostream& out;
  bool traceDraw;
  std::deque<std::string> script;
  std::vector<std::unique_ptr<Peer>> peers;
  std::set<const TRichStringGrid*> dirtyGrids;
};

// The back-end that QD_UI=headless selects, reading QD_UI_SCRIPT and
// QD_UI_TRACE from the environment and printing on standard output.
std::unique_ptr<TWidgetBackend> MakeHeadlessBackendFromEnvironment();

}  // namespace ui
