// qdboxes: shows one of the message boxes of the platform's widget back-end
// (FLTK on Linux, Win32 on Windows) and prints the user's answer, so that each
// box can be looked at and driven on its own.
//
//   qdboxes plain | error | overwrite | failure | password
//
// It prints "answer WORD" (ok, cancel, yes, no, notoall, yestoall, abort,
// retry, ignore) or, for the password box, "answer text:VALUE" or
// "answer cancel", and exits with 0; an unknown kind or a missing display
// exits with 2.

#include <cstdio>
#include <iostream>
#include <string_view>

#include "core/cp1251.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/native_backend.h"

namespace {

const char* answerWord(int result) {
  switch (result) {
    case ui::mrOk:
      return "ok";
    case ui::mrYes:
      return "yes";
    case ui::mrNo:
      return "no";
    case ui::mrNoToAll:
      return "notoall";
    case ui::mrYesToAll:
      return "yestoall";
    case ui::mrAbort:
      return "abort";
    case ui::mrRetry:
      return "retry";
    case ui::mrIgnore:
      return "ignore";
    default:
      return "cancel";
  }
}

int usage() {
  std::cerr << "usage: qdboxes plain | error | overwrite | failure | password\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return usage();
  const std::string_view kind = argv[1];
  std::unique_ptr<ui::TWidgetBackend> backend;
  try {
    backend = ui::MakeNativeBackend();
  } catch (const std::exception& e) {
    std::cerr << "qdboxes: " << e.what() << '\n';
    return 2;
  }
  ui::TApplication app(std::move(backend));
  // The texts of the program's boxes, a Russian one among them, so that the
  // box shows how Windows-1251 text comes out.
  int result = ui::mrCancel;
  if (kind == "plain") {
    ui::ShowMessage("Database update has been successfully completed");
    result = ui::mrOk;
  } else if (kind == "error") {
    result = ui::MessageDlg(Cp1251("Не удалось открыть файл «qd.zip»."), ui::TMsgDlgType::mtError,
                            {ui::mrOk});
  } else if (kind == "overwrite") {
    result = ui::MessageDlg("Overwrite file \"C:\\qd\\qd.upd\" with \"qd.upd\"",
                            ui::TMsgDlgType::mtConfirmation,
                            {ui::mrYes, ui::mrNo, ui::mrNoToAll, ui::mrYesToAll});
  } else if (kind == "failure") {
    result = ui::MessageDlg(
        "zf: Invalid size or check sum of file or unsupported compression format - Native error: "
        "00008. File processing error, possibly disk is full",
        ui::TMsgDlgType::mtConfirmation, {ui::mrAbort, ui::mrRetry, ui::mrIgnore});
  } else if (kind == "password") {
    AnsiString value;
    const bool ok = ui::InputQuery("Password for \"qd.upd\"", "Enter password: ", value);
    std::cout << "answer " << (ok ? "text:" + Cp1251ToUtf8(value) : std::string("cancel"))
              << std::endl;
    return 0;
  } else {
    return usage();
  }
  std::cout << "answer " << answerWord(result) << std::endl;
  return 0;
}
