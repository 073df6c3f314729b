#include "app/updater.h"

#include "app/copy_form.h"
#include "app/shared_state.h"
#include "app/update_form.h"

int RunUpdater(std::unique_ptr<ui::TWidgetBackend> backend, const TTrustedKeys& keys) {
  NewUpdateText.clear();
  NewUpdateSerial = 0;
  ui::TApplication app(std::move(backend));
  try {
    TUpdateForm updateForm(app);
    TCopyForm copyForm(app);
    updateForm.CopyForm = &copyForm;
    updateForm.TrustedKeys = keys;
    app.Run();
  } catch (const std::exception& e) {
    app.ShowException(e);
  }
  NewUpdateText.clear();
  app.Backend().Exiting(0);
  return 0;
}
