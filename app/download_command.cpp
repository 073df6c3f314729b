// The download command of the main dialog and the handlers of its HTTP
// client's events.

#include "app/bounded_body.h"
#include "app/copy_form.h"
#include "app/proxy_settings.h"
#include "app/shared_state.h"
#include "app/signed_update.h"
#include "app/update_form.h"
#include "app/update_serial.h"
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
  return TrustedKeys.empty() ? downloadUnsigned() : downloadSigned();
}

bool TUpdateForm::downloadUnsigned() {
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

AnsiString TUpdateForm::fetchBounded(const AnsiString& url, uint64_t limit) {
  TBoundedBody body(limit);
  http.Get(url, body);
  return body.Take();
}

bool TUpdateForm::downloadSigned() {
  const AnsiString base = UpdateServerBaseURL();
  AnsiString package, list;
  TUpdateManifest manifest;
  // Nothing in the working folder changes before every check has passed:
  // the old package stays until the new one replaces it.
  try {
    ApplyProxySettings(http.ProxyParams);
    // The manifest and its signature are too small to show on the gauge; the
    // progress handler comes back for the package whatever happens, so that
    // a refused attempt leaves the gauge to the next one as a failed
    // connection does.
    const auto progress = http.OnWork;
    http.OnWork = nullptr;
    try {
      const AnsiString manifestText = fetchBounded(base + "/qd.manifest", MaxManifestSize);
      const AnsiString signature =
          fetchBounded(base + "/qd.manifest.sig", MaxManifestSignatureSize);
      manifest = VerifyManifest(TrustedKeys, manifestText, signature);
      if (manifest.Serial < InstalledUpdateSerial()) throw EUpdateRefused(OlderUpdateMessage);
    } catch (...) {
      http.OnWork = progress;
      throw;
    }
    http.OnWork = progress;
    package = fetchBounded(base + "/qd.zip", manifest.Package.Size);
    CheckManifestFile(manifest.Package, package);
    http.OnWork = nullptr;
    list = fetchBounded(base + "/newupd.dat", manifest.UpdateList.Size);
    CheckManifestFile(manifest.UpdateList, list);
  } catch (const std::exception& e) {
    if (!Form.Visible()) return false;
    const auto* refused = dynamic_cast<const EUpdateRefused*>(&e);
    const auto* status = dynamic_cast<const ENetHTTPProtocolException*>(&e);
    // A file that is missing, or longer than its bound, is as unsigned as
    // one whose bytes differ; any other failure is the connection's.
    if (refused != nullptr) {
      ui::MessageDlg(refused->Message, ui::TMsgDlgType::mtError, {ui::mrOk});
    } else if (dynamic_cast<const EBodyTooLong*>(&e) != nullptr ||
               (status != nullptr && status->ReplyCode == 404)) {
      ui::MessageDlg(NotSignedMessage, ui::TMsgDlgType::mtError, {ui::mrOk});
    } else {
      ui::ShowMessage("Can't connect to server");
    }
    return false;
  }
  // A failed write leaves the command with the platform's error, which the
  // application shows: unpacking whatever old package is still there would
  // install bytes that were never checked.
  platform::WriteFile("qd.zip", package);
  NewUpdateText = list;
  NewUpdateSerial = manifest.Serial;
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
