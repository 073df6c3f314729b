#include <algorithm>

#include "core/format.h"
#include "ui/dialogs.h"
#include "zip/zip_archiver.h"
#include "zip/zipconst.h"

void TZipBaseArchiver::DoOnConfirmProcessFile(const AnsiString& FileName,
                                              TZipProcessOperation Operation, bool& Confirm) {
  Confirm = true;
  if (OnConfirmProcessFile) OnConfirmProcessFile(this, FileName, Operation, Confirm);
}

void TZipBaseArchiver::DoOnConfirmOverwrite(const AnsiString& SourceFileName,
                                            AnsiString& DestFileName, bool& Confirm) {
  Confirm = false;
  if (OnConfirmOverwrite) {
    OnConfirmOverwrite(this, SourceFileName, DestFileName, Confirm);
    return;
  }
  const int answer = ui::MessageDlg(Format(SConfirmOverwrite, {DestFileName, SourceFileName}),
                                    ui::TMsgDlgType::mtConfirmation,
                                    {ui::mrYes, ui::mrNo, ui::mrNoToAll, ui::mrYesToAll});
  switch (answer) {
    case ui::mrYes:
      Confirm = true;
      break;
    case ui::mrYesToAll:
      Confirm = true;
      Options.OverwriteMode = omAlways;
      break;
    case ui::mrNoToAll:
      Options.OverwriteMode = omNever;
      break;
    default:
      break;
  }
}

void TZipBaseArchiver::DoOnPassword(const AnsiString& FileName, AnsiString& NewPassword,
                                    bool& Skip) {
  if (OnPassword) {
    OnPassword(this, FileName, NewPassword, Skip);
    return;
  }
  Skip = !ui::InputQuery(Format(SPasswordTitle, {FileName}), SPasswordPrompt, NewPassword);
}

void TZipBaseArchiver::DoOnProcessFileFailure(const AnsiString& FileName,
                                              TZipProcessOperation Operation, int32_t NativeError,
                                              int32_t ErrorCode, const AnsiString& ErrorMessage,
                                              TZipAction& Action) {
  Action = fxaIgnore;
  if (OnProcessFileFailure) {
    OnProcessFileFailure(this, FileName, Operation, NativeError, ErrorCode, ErrorMessage, Action);
    return;
  }
  const int answer =
      ui::MessageDlg(Format(SOnProcessFileFailure, {ErrorMessage}), ui::TMsgDlgType::mtConfirmation,
                     {ui::mrAbort, ui::mrRetry, ui::mrIgnore});
  Action = answer == ui::mrRetry ? fxaRetry : answer == ui::mrIgnore ? fxaIgnore : fxaAbort;
}

void TZipBaseArchiver::DoOnFileProgress(const AnsiString& FileName, double Progress,
                                        TZipProcessOperation Operation,
                                        TZipProgressPhase ProgressPhase, bool& Cancel) {
  if (!OnFileProgress) {
    Cancel = false;
    return;
  }
  AnsiString name = FileName;
  std::replace(name.begin(), name.end(), '/', '\\');
  OnFileProgress(this, name, Progress, Operation, ProgressPhase, Cancel);
}

void TZipBaseArchiver::DoOnOverallProgress(double Progress, TZipProcessOperation Operation,
                                           TZipProgressPhase ProgressPhase, bool& Cancel) {
  if (!OnOverallProgress) {
    Cancel = false;
    return;
  }
  OnOverallProgress(this, Progress, Operation, ProgressPhase, Cancel);
}

void TZipBaseArchiver::DoAfterOpen() {
  if (AfterOpen) AfterOpen(this);
}
