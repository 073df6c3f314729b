#pragma once
// The main dialog: the update list, the date of the installed database and
// the download command.

#include <cstdint>

#include "app/trusted_keys.h"
#include "http/http_client.h"
#include "ui/application.h"
#include "ui/grid/rich_grid.h"
#include "zip/zip_archiver.h"

class TCopyForm;

class TUpdateForm {
 public:
  explicit TUpdateForm(ui::TApplication& app);

  ui::TForm& Form;
  ui::TProgressGauge& ProgressBar;
  ui::TLabel& DateLabel;
  ui::TRichStringGrid& UpdateSg;
  TNetHTTP http;
  TZipArchiver zf;
  // The install dialog that the download command shows. It is created after
  // this dialog (the first dialog becomes the main window), so the program
  // hands it over once both exist.
  TCopyForm* CopyForm = nullptr;
  // The publisher's keys. With any key the download takes the signed road:
  // the manifest and its signature first, and nothing is written or
  // unpacked unless the package and the list match it.
  TTrustedKeys TrustedKeys;

  // Reads lastupd.dat and newupd.dat from DataFolder into DateLabel and
  // UpdateSg. Never lets an exception out.
  void FormShow();
  void Button1Click();
  // The download command: fetches the package and the update list, unpacks
  // the package into the working directory and shows the install dialog.
  // A click while it runs is ignored; closing the dialog while it runs stops
  // it at the next progress event, without a message and without unpacking.
  void Button2Click();
  void httpWork(TNetComponent* Sender, TWorkMode AWorkMode, int64_t AWorkCount);
  void httpStatus(TNetComponent* ASender, TNetStatus AStatus, const AnsiString& AStatusText);

 private:
  ui::THandlers handlers();
  void setUpHttp();
  void setUpArchiver();
  // Steps that may fail as a failed connection; false when they did.
  bool download();
  bool downloadUnsigned();
  bool downloadSigned();
  // The body of a GET of the URL, at most limit bytes (EBodyTooLong past it).
  AnsiString fetchBounded(const AnsiString& url, uint64_t limit);

  ui::TApplication& app;
  bool downloading = false;
};
