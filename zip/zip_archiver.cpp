#include "zip/zip_archiver.h"

#include "core/exceptions.h"
#include "platform/file_handle.h"
#include "platform/files.h"
#include "zip/zip_dir_manager.h"
#include "zip/zipexcept.h"

namespace {

// The name part of a path: the text after the last folder separator or
// drive colon.
AnsiString namePart(const AnsiString& path) {
  const size_t cut = path.find_last_of("\\/:");
  return cut == AnsiString::npos ? path : path.substr(cut + 1);
}

}  // namespace

TZipBaseArchiver::TZipBaseArchiver() = default;

TZipBaseArchiver::~TZipBaseArchiver() {
  CloseArchive();
}

AnsiString TZipBaseArchiver::FileComment() const {
  return active && dirManager ? dirManager->FileComment : AnsiString();
}

void TZipBaseArchiver::OpenArchive() {
  if (!InMemory && namePart(FileName).empty()) throw EZipException(9, Name);
  uint16_t mode = kZipOpenCreate;
  if (!InMemory && platform::FileExists(FileName))
    mode = platform::CanOpenDenyWrite(FileName) ? kZipOpenReadWriteDenyWrite : kZipOpenReadDenyNone;
  OpenArchive(mode);
}

void TZipBaseArchiver::OpenArchive(uint16_t Mode) {
  if (!InMemory && namePart(FileName).empty()) throw EZipException(10, Name);
  if (Mode != kZipOpenCreate) {
    if (!InMemory && !platform::FileExists(FileName)) throw EZipException(12, {FileName}, Name);
    if (InMemory) throw EZipException(28, Name);
  }
  CloseArchive();
  customStream = false;
  openMode = Mode;
  internalOpenArchive();
}

void TZipBaseArchiver::internalOpenArchive() {
  // Whatever fails below leaves the component closed with the file released:
  // the stream and the directory become the component's only at the end.
  std::unique_ptr<TZipStream> stream;
  std::unique_ptr<TZipDirManager> manager;
  if (openMode == kZipOpenCreate || InMemory) {
    // A new, empty archive in a new file or in memory.
    if (InMemory)
      stream = std::make_unique<TZipMemoryStream>();
    else
      stream = std::make_unique<TZipFileStream>(FileName, kZipOpenCreate);
    manager = std::make_unique<TZipDirManager>(*stream, *this, false);
    manager->InitCentralDirEnd();
  } else {
    SpanningMode = smNone;
    currentVolume = -2;
    // Self-extracting archives (".exe") are read like any other archive:
    // the stub search below finds the archive data behind the program.
    stream = std::make_unique<TZipFileStream>(FileName, openMode);
    manager = std::make_unique<TZipDirManager>(*stream, *this, false);
    if (!manager->HasCentralDirEnd()) throw EZipException(48, Name);
    if (manager->CentralDirEnd.DiskNumber != 0) {
      // Multi-volume archives are not read by this component.
      SpanningMode = smSpanning;
      throw EZipException(44, Name);
    }
    manager->LoadDir();
  }
  archiveStream = std::move(stream);
  dirManager = std::move(manager);
  active = true;
  DoAfterOpen();
}

void TZipBaseArchiver::CloseArchive() {
  if (!active) return;
  try {
    if (archiveStream && !customStream && archiveStream->Size() == 0 && dirManager)
      dirManager->SaveDir();
  } catch (...) {
    // Closing never raises; an empty archive that cannot be written stays
    // empty.
  }
  active = false;
  dirManager.reset();
  archiveStream.reset();
}

void TZipBaseArchiver::requireActive() const {
  if (!active) throw EZipException(13, Name);
}
