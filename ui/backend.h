#pragma once
// The interface every widget back-end (FLTK, Win32, headless) implements.

#include <functional>
#include <vector>

#include "core/ansistring.h"
#include "ui/dialogs.h"

namespace ui {

class TForm;
class TControl;

enum class TBoxKind { Plain, Error, Confirm };

class TWidgetBackend {
 public:
  virtual ~TWidgetBackend() = default;
  // Builds the real widgets of a newly created form and attaches its peer.
  virtual void FormCreated(TForm& form) = 0;
  virtual void ShowForm(TForm& form) = 0;
  virtual void HideForm(TForm& form) = 0;
  // Waits for and handles the user's actions until done() holds.
  virtual void RunLoop(TForm& waitingFor, const std::function<bool()>& done) = 0;
  // Handles what is pending now without waiting.
  virtual void ProcessMessages() = 0;
  virtual int MessageBox(TBoxKind kind, const AnsiString& title, const AnsiString& text,
                         const std::vector<int>& buttons) = 0;
  virtual bool InputBox(const AnsiString& caption, const AnsiString& prompt, AnsiString& value) = 0;
  // The process is about to end with this exit code.
  virtual void Exiting(int code) { (void)code; }
};

}  // namespace ui
