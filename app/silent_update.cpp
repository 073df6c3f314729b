#include "app/silent_update.h"

#include <ctime>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <streambuf>

#include "app/bounded_body.h"
#include "app/copy_form.h"
#include "app/proxy_settings.h"
#include "app/shared_state.h"
#include "app/signed_update.h"
#include "app/update_form.h"
#include "app/update_serial.h"
#include "app/update_server.h"
#include "app/updater_client.h"
#include "platform/folders.h"
#include "platform/registry.h"
#include "platform/run_lock.h"
#include "ui/headless/headless_backend.h"

namespace {

const char* const helpText =
    "Usage: qdupdate [--silent [--force] | --check] [--log FILE]\n"
    "  --silent    download and install the update with no window and no question\n"
    "  --force     with --silent, install even when the update is already installed\n"
    "  --check     only say whether an update is available\n"
    "  --log FILE  append the log to FILE (created when missing)\n"
    "On Windows the options may also be written /silent, /force, /check, /log.\n"
    "Exit codes: 0 installed or up to date; 10 an update is available (--check);\n"
    "20 can't connect; 30 the package is damaged, not signed by the publisher or\n"
    "older than the installed one; 40 the install failed; 50 another update is\n"
    "running; 2 bad command line.\n";

// The longest update list the check reads; real lists are a few kilobytes.
constexpr uint64_t maxUpdateListSize = 1 << 20;

struct TOptions {
  bool silent = false;
  bool check = false;
  bool force = false;
  bool help = false;
  std::optional<std::string> log;
};

// The option's name without its "--" (or, on Windows, "/"), or empty when
// the word is not written as an option.
std::string optionName(const std::string& word) {
  if (word.rfind("--", 0) == 0) return word.substr(2);
#ifdef _WIN32
  if (word.rfind("/", 0) == 0) return word.substr(1);
#endif
  return "";
}

std::optional<TOptions> parse(const std::vector<std::string>& args) {
  TOptions o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string name = optionName(args[i]);
    if (name == "silent") {
      o.silent = true;
    } else if (name == "check") {
      o.check = true;
    } else if (name == "force") {
      o.force = true;
    } else if (name == "help" || name == "?") {
      o.help = true;
    } else if (name == "log" && i + 1 < args.size() && !args[i + 1].empty() && !o.log) {
      o.log = args[++i];
    } else {
      return std::nullopt;
    }
  }
  if (o.help) return o;
  if (o.silent == o.check || (o.force && !o.silent)) return std::nullopt;
  return o;
}

// The log: one line per step, stamped with the time in UTC, appended to the
// log file and written to standard error when that is a terminal or a pipe.
// On a terminal the download's progress is one line rewritten in place.
class TRunLog {
 public:
  explicit TRunLog(const std::optional<std::string>& path)
      : console(platform::StdErrorConnection()) {
    if (path) file.open(*path, std::ios::app | std::ios::binary);
  }
  bool Opened(const std::optional<std::string>& path) const { return !path || file.is_open(); }

  void Line(const std::string& text) {
    endProgress();
    const std::string line = stamp() + " " + text + "\n";
    if (file.is_open()) file << line << std::flush;
    if (console != platform::StdErrorKind::Other) std::cerr << line << std::flush;
  }

  void Progress(int percent) {
    if (console != platform::StdErrorKind::Terminal) return;
    std::cerr << "\rdownloading " << percent << "%" << std::flush;
    progressShown = true;
  }

 private:
  void endProgress() {
    if (!progressShown) return;
    std::cerr << "\n";
    progressShown = false;
  }
  static std::string stamp() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &now);
#else
    gmtime_r(&now, &utc);
#endif
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return buf;
  }

  platform::StdErrorKind console;
  std::ofstream file;
  bool progressShown = false;
};

// The text of a quoted field of a record, from pos on; pos ends after it.
std::string unquote(const std::string& line, size_t& pos) {
  std::string text;
  if (pos >= line.size() || line[pos] != '"') return text;
  for (++pos; pos < line.size() && line[pos] != '"'; ++pos) {
    if (line[pos] == '\\' && pos + 1 < line.size()) {
      const char c = line[++pos];
      text += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
    } else {
      text += line[pos];
    }
  }
  ++pos;
  return text;
}

// The exit code that a box's text stands for.
int codeOfMessage(const std::string& text) {
  if (text == "Database update has been successfully completed") return ExitDone;
  if (text == "Can't connect to server") return ExitCannotConnect;
  if (text == NotSignedMessage || text == OlderUpdateMessage ||
      text.rfind("Archive is damaged", 0) == 0)
    return ExitDamaged;
  return ExitInstallFailed;
}

// Takes the records of the headless back-end that the dialogs run on: each
// box becomes a log line with its text, the gauge a progress line, and the
// first box's code is the run's.
class TRecordSink : public std::streambuf {
 public:
  explicit TRecordSink(TRunLog& log) : log(log) {}
  std::optional<int> Code;

 protected:
  int overflow(int c) override {
    if (c == traits_type::eof()) return 0;
    if (c == '\n') {
      record(pending);
      pending.clear();
    } else if (pending.size() < 65536) {
      pending += static_cast<char>(c);
    }
    return c;
  }

 private:
  void record(const std::string& line) {
    const std::string gauge = "gauge UpdateForm.ProgressBar ";
    if (line.rfind(gauge, 0) == 0) {
      log.Progress(std::atoi(line.c_str() + gauge.size()));
      return;
    }
    if (line.rfind("box ", 0) != 0) return;
    size_t pos = line.find('"');
    if (pos == std::string::npos) return;
    unquote(line, pos);
    ++pos;
    const std::string text = unquote(line, pos);
    log.Line(text);
    if (!Code) Code = codeOfMessage(text);
  }

  TRunLog& log;
  std::string pending;
};

// The value CurrentUpdate as stored, without terminating zero bytes.
AnsiString storedIdentifier() {
  std::uint32_t type = platform::RegNone;
  AnsiString data;
  if (!ReadProductValue("CurrentUpdate", type, data)) return {};
  while (!data.empty() && data.back() == '\0') data.pop_back();
  return data;
}

AnsiString fetch(TNetHTTP& http, const AnsiString& url, uint64_t limit) {
  TBoundedBody body(limit);
  http.Get(url, body);
  return body.Take();
}

// Whether the server offers an update that is not installed: fetches the
// update list, or with keys the signed manifest first. Failures are logged
// with the dialog's texts and returned as their exit codes.
struct TCheck {
  int code = ExitDone;
  bool available = false;
};

TCheck checkServer(TRunLog& log, const TTrustedKeys& keys) {
  TNetHTTP http;
  SetUpUpdaterClient(http);
  http.ReadTimeout = UpdateServerReadTimeout();
  http.ConnectTimeout = UpdateServerConnectTimeout();
  const AnsiString base = UpdateServerBaseURL();
  TCheck check;
  try {
    ApplyProxySettings(http.ProxyParams);
    if (keys.empty()) {
      log.Line("fetching " + base + "/newupd.dat");
      const AnsiString list = fetch(http, base + "/newupd.dat", maxUpdateListSize);
      const AnsiString id = UpdateIdentifier(list);
      log.Line("server update " + id + ", installed " + storedIdentifier());
      check.available = id.empty() || id != storedIdentifier();
    } else {
      log.Line("fetching " + base + "/qd.manifest");
      const AnsiString manifest = fetch(http, base + "/qd.manifest", MaxManifestSize);
      const AnsiString signature = fetch(http, base + "/qd.manifest.sig", MaxManifestSignatureSize);
      const TUpdateManifest parsed = VerifyManifest(keys, manifest, signature);
      const uint64_t installed = InstalledUpdateSerial();
      log.Line("server serial " + std::to_string(parsed.Serial) + ", installed " +
               std::to_string(installed));
      if (parsed.Serial < installed) throw EUpdateRefused(OlderUpdateMessage);
      check.available = parsed.Serial != installed;
    }
  } catch (const EUpdateRefused& e) {
    log.Line(e.Message);
    check.code = ExitDamaged;
  } catch (const EBodyTooLong&) {
    log.Line(keys.empty() ? "Can't connect to server" : NotSignedMessage);
    check.code = keys.empty() ? ExitCannotConnect : ExitDamaged;
  } catch (const ENetHTTPProtocolException& e) {
    const bool notSigned = !keys.empty() && e.ReplyCode == 404;
    log.Line(notSigned ? NotSignedMessage : "Can't connect to server");
    check.code = notSigned ? ExitDamaged : ExitCannotConnect;
  } catch (const std::exception&) {
    log.Line("Can't connect to server");
    check.code = ExitCannotConnect;
  }
  return check;
}

// The dialog road on the headless back-end, with the records going to the
// log: the download command, then the install command when it got so far.
int installUpdate(TRunLog& log, const TTrustedKeys& keys) {
  TRecordSink sink(log);
  std::ostream records(&sink);
  NewUpdateText.clear();
  NewUpdateSerial = 0;
  {
    ui::TApplication app(
        std::make_unique<ui::THeadlessBackend>(records, "click UpdateForm.Button2", false));
    try {
      TUpdateForm updateForm(app);
      TCopyForm copyForm(app);
      updateForm.TrustedKeys = keys;
      log.Line("downloading the package");
      app.Run();
      // The download command closes the dialog after unpacking; a failure
      // before that has shown its box already.
      if (!sink.Code) {
        log.Line("installing");
        app.Dispatch([&] { copyForm.Button2Click(); });
      }
    } catch (const std::exception& e) {
      app.ShowException(e);
    }
  }
  records.flush();
  NewUpdateText.clear();
  return sink.Code.value_or(ExitInstallFailed);
}

}  // namespace

bool WantsUnattendedRun(const std::vector<std::string>& args) {
  return !args.empty();
}

int RunUnattended(const std::vector<std::string>& args, const TTrustedKeys& keys) {
  const auto options = parse(args);
  if (!options) {
    std::cerr << "qdupdate: bad command line\n" << helpText;
    return ExitBadCommandLine;
  }
  if (options->help) {
    std::cout << helpText;
    return ExitDone;
  }
  TRunLog log(options->log);
  if (!log.Opened(options->log)) {
    std::cerr << "qdupdate: cannot open the log file " << *options->log << '\n';
    return ExitBadCommandLine;
  }
  const char* mode = options->silent ? "silent" : "check";
  log.Line(std::string("qdupdate ") + mode + " run started");
  std::unique_ptr<platform::RunLock> lock;
  if (options->silent) {
    lock = platform::TryLockFolder(platform::GetCurrentDirectory());
    if (!lock) {
      log.Line("Another update is running");
      log.Line("exit " + std::to_string(ExitBusy));
      return ExitBusy;
    }
  }
  const TCheck check = checkServer(log, keys);
  int code = check.code;
  if (code == ExitDone) {
    if (options->check) {
      log.Line(check.available ? "An update is available" : "The database is up to date");
      code = check.available ? ExitUpdateAvailable : ExitDone;
    } else if (!check.available && !options->force) {
      log.Line("The database is up to date");
    } else {
      code = installUpdate(log, keys);
    }
  }
  log.Line("exit " + std::to_string(code));
  return code;
}
