// qdget: the HTTP client on the command line, set up like the updater's own
// client, for interop tests, benchmarks and people who debug a server or a
// proxy.
//
//   qdget [-x HOST:PORT] [-U USER:PASS] [-R] [-m N] [-0] [-t MS] [-v] URL...
//
// Every URL is fetched with GetString on one client, in the order given, so
// the connection, the cookies and the current target carry over (a relative
// URL resolves against the previous one). Bodies go to standard output
// unchanged; one result line per URL goes to standard error:
//   done "URL" SIZE
//   fail "URL" CLASS CODE "MESSAGE"
// -t MS limits the connect and each read to MS milliseconds.
// With -v, the status and work events are printed there as they happen.
// Exit status: 0 when every URL succeeded, 1 otherwise, 2 for bad options.

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "app/updater_client.h"
#include "core/convert.h"
#include "core/exceptions.h"
#include "core/record_text.h"
#include "http/http_client.h"
#include "platform/console.h"

namespace {

const char* const usageLine =
    "usage: qdget [-x HOST:PORT] [-U USER:PASS] [-R] [-m N] [-0] [-t MS] [-v] URL...\n";

struct Options {
  AnsiString proxy;
  bool hasProxy = false;
  AnsiString credentials;
  bool hasCredentials = false;
  bool noRedirects = false;
  AnsiString redirectMaximum;
  bool http10 = false;
  AnsiString timeout;
  bool verbose = false;
  std::vector<AnsiString> urls;
};

// Options come before the URLs; each that takes a value takes the next
// argument. Returns false for anything it does not know.
bool ParseOptions(int argc, char** argv, Options& o) {
  int i = 1;
  for (; i < argc; ++i) {
    const std::string a = argv[i];
    if (a.size() < 2 || a[0] != '-') break;
    const bool takesValue = a == "-x" || a == "-U" || a == "-m" || a == "-t";
    if (takesValue && i + 1 >= argc) return false;
    if (a == "-x") {
      o.proxy = argv[++i];
      o.hasProxy = true;
    } else if (a == "-U") {
      o.credentials = argv[++i];
      o.hasCredentials = true;
    } else if (a == "-m") {
      o.redirectMaximum = argv[++i];
    } else if (a == "-t") {
      o.timeout = argv[++i];
    } else if (a == "-R") {
      o.noRedirects = true;
    } else if (a == "-0") {
      o.http10 = true;
    } else if (a == "-v") {
      o.verbose = true;
    } else {
      return false;
    }
  }
  for (; i < argc; ++i) o.urls.emplace_back(argv[i]);
  return !o.urls.empty();
}

// The class name of an exception as the program names it.
std::string ClassName(const std::exception& e) {
  int status = 0;
  const char* mangled = typeid(e).name();
  std::unique_ptr<char, decltype(&std::free)> name(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
  return status == 0 && name ? name.get() : mangled;
}

const char* ModeWord(TWorkMode mode) {
  return mode == wkRead ? "read" : "write";
}

// Applies the command-line options; conversion errors of numbers pass out.
void ApplyOptions(TNetHTTP& http, const Options& o) {
  if (o.hasProxy) {
    const auto colon = o.proxy.rfind(':');
    http.ProxyParams.ProxyServer = o.proxy.substr(0, colon);
    http.ProxyParams.ProxyPort =
        colon == AnsiString::npos ? 0 : StrToInt(o.proxy.substr(colon + 1));
  }
  if (o.hasCredentials) {
    const auto colon = o.credentials.find(':');
    http.ProxyParams.ProxyUsername = o.credentials.substr(0, colon);
    http.ProxyParams.ProxyPassword =
        colon == AnsiString::npos ? AnsiString() : o.credentials.substr(colon + 1);
  }
  if (o.noRedirects) http.HandleRedirects = false;
  if (!o.redirectMaximum.empty()) http.RedirectMaximum = StrToInt(o.redirectMaximum);
  if (o.http10) http.ProtocolVersion = pv1_0;
  // One limit for the connect and for every read, so that a server that
  // never answers a connect fails as soon as one that stops sending.
  if (!o.timeout.empty()) {
    http.ReadTimeout = StrToInt(o.timeout);
    http.ConnectTimeout = http.ReadTimeout;
  }
}

void PrintFailure(const AnsiString& url, const std::exception& e) {
  int code = 0;
  if (const auto* reply = dynamic_cast<const ENetProtocolReplyError*>(&e)) code = reply->ReplyCode;
  std::fprintf(stderr, "fail %s %s %d %s\n", QuoteRecordText(url).c_str(), ClassName(e).c_str(),
               code, QuoteRecordText(e.what()).c_str());
  std::fflush(stderr);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fputs(usageLine, stderr);
    return 2;
  }
  platform::SetStdoutBinary();
  TNetHTTP http;
  SetUpUpdaterClient(http);
  if (options.verbose) {
    http.OnStatus = [](TNetComponent*, TNetStatus status, const AnsiString& text) {
      std::fprintf(stderr, "status %d %s\n", static_cast<int>(status),
                   QuoteRecordText(text).c_str());
    };
    http.OnWorkBegin = [](TNetComponent*, TWorkMode mode, int64_t max) {
      std::fprintf(stderr, "work begin %s %lld\n", ModeWord(mode), static_cast<long long>(max));
    };
    http.OnWork = [](TNetComponent*, TWorkMode mode, int64_t count) {
      std::fprintf(stderr, "work %s %lld\n", ModeWord(mode), static_cast<long long>(count));
    };
    http.OnWorkEnd = [](TNetComponent*, TWorkMode mode) {
      std::fprintf(stderr, "work end %s\n", ModeWord(mode));
    };
  }
  bool allDone = true;
  try {
    ApplyOptions(http, options);
  } catch (const std::exception& e) {
    // A bad option value fails every URL alike, with the conversion's own
    // class and message.
    for (const auto& url : options.urls) PrintFailure(url, e);
    return 1;
  }
  for (const auto& url : options.urls) {
    try {
      const AnsiString body = http.GetString(url);
      std::fwrite(body.data(), 1, body.size(), stdout);
      std::fflush(stdout);
      std::fprintf(stderr, "done %s %zu\n", QuoteRecordText(url).c_str(), body.size());
      std::fflush(stderr);
    } catch (const std::exception& e) {
      PrintFailure(url, e);
      allDone = false;
    }
  }
  return allDone ? 0 : 1;
}
