#pragma once
// The application object: creates forms, runs the loop until the main form
// closes, and shows exceptions that escape event handlers.

#include <exception>
#include <memory>
#include <vector>

#include "ui/backend.h"
#include "ui/form.h"

namespace ui {

class TApplication {
 public:
  explicit TApplication(std::unique_ptr<TWidgetBackend> backend);
  ~TApplication();

  // The running application, for the message boxes; null when none.
  static TApplication* Current();

  AnsiString Title = "qdupdate";
  TWidgetBackend& Backend() { return *backend; }

  // Creates a form from its description; the first one becomes the main form.
  TForm& CreateForm(const TFormDesc& desc, const THandlers& handlers);
  TForm* MainForm() const { return mainForm; }
  std::vector<TForm*> Forms() const;
  // The innermost form shown modally, or null.
  TForm* ModalForm() const { return modalForms.empty() ? nullptr : modalForms.back(); }
  // Shows the main form and runs the loop until it closes.
  void Run();
  void ProcessMessages();
  // Shows the exception in an error box titled with Title, adding a full stop
  // when the message ends in a character that sorts after ".".
  void ShowException(const std::exception& e);
  // Runs an event handler; an exception it lets out is shown and dropped.
  void Dispatch(const std::function<void()>& handler);
  bool Terminated() const { return terminated; }

 private:
  friend class TForm;
  void showForm(TForm& form);
  void formClosed(TForm& form);

  std::unique_ptr<TWidgetBackend> backend;
  std::vector<std::unique_ptr<TForm>> forms;
  TForm* mainForm = nullptr;
  std::vector<TForm*> modalForms;
  bool terminated = false;
};

// The message of an exception as the error box shows it.
AnsiString ExceptionBoxText(const AnsiString& message);

}  // namespace ui
