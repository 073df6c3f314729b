// The download command of the main dialog and the handlers of its HTTP
// client's events.

#include "app/copy_form.h"
#include "app/proxy_settings.h"
#include "app/shared_state.h"
#include "app/update_form.h"
#include "app/update_server.h"
#include "app/updater_client.h"
#include "core/scoped_value.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "ui/dialogs.h"

namespace {

// The size the gauge measures the package against; the server's length is
// not used.
constexpr long double expectedPackageSize = 430000;

// Raised from the progress handler when the user closed the dialog during a
// download: it ends the transfer at once.
class EDownloadAbandoned : public Exception {
 public:
  EDownloadAbandoned() : Exception("The update was abandoned") {}
};

}  // namespace

void TUpdateForm::setUpHttp() {
  http.OnWork = [this](TNetComponent* s, TWorkMode m, int64_t c) { httpWork(s, m, c); };
  http.OnStatus = [this](TNetComponent* s, TNetStatus st, const AnsiString& t) {
    httpStatus(s, st, t);
  };
  SetUpUpdaterClient(http);
  // Without limits a server that stops sending, or one whose packets are
  // dropped before it accepts, would leave the dialog waiting for ever (or
  // for as long as the system keeps trying to connect); either ends as a
  // failed connection instead.
  http.ReadTimeout = UpdateServerReadTimeout();
  http.ConnectTimeout = UpdateServerConnectTimeout();
}

void TUpdateForm::setUpArchiver() {
  zf.ExtractCorruptedFiles = false;
  zf.Options.CreateDirs = false;
  zf.Options.FlushBuffers = true;
  zf.InMemory = false;
  zf.SpanningMode = smNone;
}

bool TUpdateForm::download() {
  const AnsiString base = UpdateServerBaseURL();
  try {
    platform::DeleteFile("qd.zip");
    ApplyProxySettings(http.ProxyParams);
    const AnsiString package = http.GetString(base + "/qd.zip");
    // A failed write is not a failed connection: without a package file
    // the archiver opens a new, empty archive and the install reports the
    // missing database.
    platform::WriteFile("qd.zip", package);
    NewUpdateText.clear();
    // The gauge shows the package only; the list and every later attempt
    // leave it where it is.
    http.OnWork = nullptr;
    NewUpdateText = http.GetString(base + "/newupd.dat");
  } catch (const std::exception&) {
    if (Form.Visible()) ui::ShowMessage("Can't connect to server");
    return false;
  }
  return Form.Visible();
}

void TUpdateForm::Button2Click() {
  // The buttons stay enabled during a download, and the handlers let clicks
  // through; a second command on the busy client would corrupt its records.
  if (downloading) return;
  {
    TScopedValue<bool> busy(downloading, true);
    if (!download()) return;
  }
  platform::DeleteFile("qd.upd");
  const AnsiString folder = platform::GetCurrentDirectory();
  zf.FileName = folder + "\\qd.zip";
  zf.BaseDir = folder;
  zf.OpenArchive();
  zf.ExtractFiles("*.*", 63, "");
  zf.CloseArchive();
  if (CopyForm != nullptr) CopyForm->Form.ShowModal();
  Form.Close();
}

void TUpdateForm::httpWork(TNetComponent*, TWorkMode, int64_t AWorkCount) {
  const auto percent = static_cast<long>(static_cast<long double>(AWorkCount) *
                                         (1.0L / expectedPackageSize) * 100.0L);
  ProgressBar.SetProgress(percent);
  app.ProcessMessages();
  if (downloading && !Form.Visible()) throw EDownloadAbandoned();
}

void TUpdateForm::httpStatus(TNetComponent*, TNetStatus, const AnsiString&) {
  app.ProcessMessages();
}
