// Opens arbitrary bytes as an archive and extracts whatever it lists. The
// options vary with the input's length so that every road gets its share.
// Extraction must never write outside its base folder: anything that shows up
// beside it ends the run as a finding.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "zip/zip_archiver.h"
#include "zip/zip_dir_manager.h"

namespace fs = std::filesystem;

namespace {

const fs::path& workDir() {
  static const fs::path dir = [] {
    const fs::path shm = "/dev/shm";
    const fs::path d = (fs::is_directory(shm) ? shm : fs::temp_directory_path()) /
                       ("qd_zip_fuzz_" + std::to_string(std::random_device()()));
    fs::create_directories(d / "run");
    return d;
  }();
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fs::path run = workDir() / "run";
  const fs::path archive = run / "a.zip";
  const fs::path out = run / "out";
  {
    std::ofstream f(archive, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  fs::create_directories(out / "deep");
  {
    TZipArchiver zip;
    zip.Name = "zf";
    zip.FileName = archive.string();
    zip.BaseDir = (out / "deep").string();
    zip.OpenCorruptedArchives = size % 3 == 0;
    zip.Options.CreateDirs = size % 2 == 0;
    zip.ExtractCorruptedFiles = size % 5 == 0;
    zip.Options.FlushBuffers = false;
    zip.Password = "pw";
    zip.OnProcessFileFailure = [](TZipBaseArchiver*, const AnsiString&, TZipProcessOperation,
                                  int32_t, int32_t, const AnsiString&,
                                  TZipAction& action) { action = fxaIgnore; };
    zip.OnPassword = [](TZipBaseArchiver*, const AnsiString&, AnsiString&, bool& skip) {
      skip = true;
    };
    try {
      zip.OpenArchive(kZipOpenReadDenyNone);
      TZipArchiveItem item;
      for (bool found = zip.FindFirst("*", item, 0x3F, "*.x?"); found; found = zip.FindNext(item)) {
      }
      zip.ExtractFiles("*.*", 63, "");
    } catch (const std::exception&) {
    }
  }
  for (const auto& entry : fs::directory_iterator(run))
    if (entry.path() != archive && entry.path() != out) std::abort();
  for (const auto& entry : fs::directory_iterator(out))
    if (entry.path() != out / "deep") std::abort();
  std::error_code ec;
  fs::remove_all(out, ec);
  return 0;
}
