// qdzip: lists and extracts ZIP archives with the archiver component.
//
//   qdzip l ARCHIVE
//   qdzip x [-d] [-c] [-n] [-p PASSWORD] [-o always|never|newer|older] ARCHIVE DIR
//           [MASK [ATTR [EXCLUDE]]]
//
// -d creates the archive's folders under DIR, -c keeps entries that fail
// their checks, -n leaves the flushing of written files to the system.
//
// Extraction exits with 0 when every entry passed, 1 when an entry failed
// (each failure is printed on standard error) and 2 when the archive could
// not be opened.

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "core/ansistring.h"
#include "core/convert.h"
#include "core/exceptions.h"
#include "platform/codepage.h"
#include "zip/zip_archiver.h"
#include "zip/zip_dir_manager.h"

namespace {

// Command-line texts and printed names: the terminal speaks UTF-8 on POSIX,
// the ANSI code page on Windows.
AnsiString fromArg(const char* arg) {
#ifdef _WIN32
  return arg;
#else
  return platform::Utf8ToAnsi(arg);
#endif
}

std::string toTerminal(const AnsiString& text) {
#ifdef _WIN32
  return text;
#else
  return platform::AnsiToUtf8(text);
#endif
}

int usage() {
  std::cerr
      << "usage: qdzip l ARCHIVE\n"
         "       qdzip x [-d] [-c] [-n] [-p PASSWORD] [-o always|never|newer|older] ARCHIVE DIR\n"
         "               [MASK [ATTR [EXCLUDE]]]\n";
  return 2;
}

bool open(TZipArchiver& zip, const AnsiString& fileName) {
  zip.FileName = fileName;
  try {
    // An archive that does not exist is not created by this tool.
    zip.OpenArchive(kZipOpenReadDenyNone);
    return true;
  } catch (const std::exception& e) {
    std::cerr << "qdzip: " << toTerminal(e.what()) << '\n';
    return false;
  }
}

int list(const AnsiString& fileName) {
  TZipArchiver zip;
  zip.Name = "qdzip";
  if (!open(zip, fileName)) return 2;
  TZipDirArray& dir = zip.DirManager()->Directory;
  for (int i = 0; i < dir.GetCount(); ++i) {
    const TDirItem& item = *dir.GetItemPtr(i);
    std::cout << IntToHex(item.CentralDir.ExternalFileAttributes, 8) << ' '
              << item.UncompressedSize() << ' ' << IntToHex(item.CentralDir.Crc32, 8) << ' '
              << toTerminal(item.StoredName) << '\n';
  }
  return 0;
}

int extract(int argc, char** argv) {
  TZipArchiver zip;
  zip.Name = "qdzip";
  // Like the updater, the tool puts every file straight into DIR unless -d
  // asks for the archive's folders.
  zip.Options.CreateDirs = false;
  std::vector<AnsiString> args;
  for (int i = 0; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "-d") {
      zip.Options.CreateDirs = true;
    } else if (a == "-c") {
      zip.ExtractCorruptedFiles = true;
    } else if (a == "-n") {
      zip.Options.FlushBuffers = false;
    } else if (a == "-p" && i + 1 < argc) {
      zip.Password = fromArg(argv[++i]);
    } else if (a == "-o" && i + 1 < argc) {
      const std::string mode = argv[++i];
      if (mode == "always")
        zip.Options.OverwriteMode = omAlways;
      else if (mode == "never")
        zip.Options.OverwriteMode = omNever;
      else if (mode == "newer")
        zip.Options.OverwriteMode = omIfNewer;
      else if (mode == "older")
        zip.Options.OverwriteMode = omIfOlder;
      else
        return usage();
    } else if (a.size() > 1 && a[0] == '-' && args.empty()) {
      return usage();
    } else {
      args.push_back(fromArg(argv[i]));
    }
  }
  if (args.size() < 2 || args.size() > 5) return usage();
  if (!open(zip, args[0])) return 2;
  zip.BaseDir = args[1];
  const AnsiString mask = args.size() > 2 ? args[2] : AnsiString("*.*");
  const auto attr = args.size() > 3 ? TryStrToInt(args[3]) : std::optional<int32_t>(63);
  const AnsiString exclude = args.size() > 4 ? args[4] : AnsiString();
  if (!attr || *attr < 0 || *attr > 0xFFFF) return usage();
  // No boxes: a failed entry is reported and skipped, and an entry whose
  // password does not fit is skipped as failed.
  bool failed = false;
  zip.OnProcessFileFailure = [&](TZipBaseArchiver*, const AnsiString& name, TZipProcessOperation,
                                 int32_t, int32_t, const AnsiString& message, TZipAction& action) {
    std::cerr << "qdzip: " << toTerminal(name) << ": " << toTerminal(message) << '\n';
    action = fxaIgnore;
    failed = true;
  };
  zip.OnPassword = [&](TZipBaseArchiver*, const AnsiString& name, AnsiString&, bool& skip) {
    std::cerr << "qdzip: " << toTerminal(name) << ": wrong or missing password, skipped\n";
    skip = true;
    failed = true;
  };
  try {
    zip.ExtractFiles(mask, static_cast<uint16_t>(*attr), exclude);
  } catch (const std::exception& e) {
    std::cerr << "qdzip: " << toTerminal(e.what()) << '\n';
    return 1;
  }
  return failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  const std::string command = argv[1];
  if (command == "l" && argc == 3) return list(fromArg(argv[2]));
  if (command == "x") return extract(argc - 2, argv + 2);
  return usage();
}
