#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/fileattr.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "zip/zip_archiver.h"
#include "zip/zip_dir_manager.h"
#include "zip/zipexcept.h"

namespace {

// One lock for every archiver of the process, held for a whole entry loop.
// It is recursive, as a hook may start another operation on the same thread.
std::recursive_mutex& archiverLock() {
  static std::recursive_mutex lock;
  return lock;
}

bool isSeparator(char c) {
  return c == '\\' || c == '/';
}

// The text up to and including the last separator or drive colon.
AnsiString folderPart(const AnsiString& path) {
  const size_t cut = path.find_last_of("\\/:");
  return cut == AnsiString::npos ? AnsiString() : path.substr(0, cut + 1);
}

// Whether a stored name (with "\\" separators) would reach outside the base
// folder when appended to it: an absolute name, a drive or stream colon, or
// a component made only of dots and blanks ("..", and the forms that Windows
// shortens to it).
bool climbsOut(const AnsiString& name) {
  if (!name.empty() && isSeparator(name.front())) return true;
  if (name.find(':') != AnsiString::npos) return true;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('\\', start);
    if (end == AnsiString::npos) end = name.size();
    const std::string_view part(name.data() + start, end - start);
    if (!part.empty() && part.find_first_not_of(". ") == std::string_view::npos) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

void TZipBaseArchiver::ExtractFiles(const AnsiString& FileMask, uint16_t SearchAttr,
                                    const AnsiString& ExclusionMask) {
  requireActive();
  TagFiles(FileMask, SearchAttr, ExclusionMask);
  ProcessTaggedFiles(poExtract);
}

void TZipBaseArchiver::ExtractFiles() {
  requireActive();
  TagFiles();
  ProcessTaggedFiles(poExtract);
}

void TZipBaseArchiver::ProcessTaggedFiles(TZipProcessOperation Operation) {
  requireActive();
  std::lock_guard<std::recursive_mutex> hold(archiverLock());
  TZipDirArray& dir = dirManager->Directory;
  ProcessedCount = 0;
  CancelRequested = false;
  ProgressEnabled = true;
  TaggedCount = 0;
  for (int i = 0; i < dir.GetCount(); ++i)
    if (dir.GetItemPtr(i)->Tagged) ++TaggedCount;

  DoOnOverallProgress(0, Operation, ppStart, CancelRequested);
  if (CancelRequested) return;
  bool aborted = false;
  for (int i = 0; i < dir.GetCount() && !aborted; ++i) {
    if (!dir.GetItemPtr(i)->Tagged) continue;
    for (bool again = true; again;) {
      again = false;
      TZipAction action = fxaIgnore;
      AnsiString name = dir.GetItemPtr(i)->StoredName;
      std::replace(name.begin(), name.end(), '/', '\\');
      try {
        bool confirm = true;
        DoOnConfirmProcessFile(name, Operation, confirm);
        if (!confirm) break;
        AnsiString base = BaseDir.empty() ? platform::GetCurrentDirectory() : BaseDir;
        if (base.empty() || !isSeparator(base.back())) base += '\\';
        const AnsiString storedName = dir.GetItemPtr(i)->StoredName;
        DoOnFileProgress(storedName, 0, Operation, ppStart, CancelRequested);
        if (CancelRequested) break;
        ExtractTaggedFile(i, name, base);
        DoOnFileProgress(storedName, 100, Operation, ppEnd, CancelRequested);
        if (CancelRequested) break;
        ++ProcessedCount;
      } catch (const EZipException& e) {
        DoOnProcessFileFailure(name, Operation, e.NativeError, e.ErrorCode, e.Message, action);
        again = action == fxaRetry;
        aborted = action == fxaAbort;
      }
    }
  }
  DoOnOverallProgress(100, Operation, ppEnd, CancelRequested);
}

bool TZipBaseArchiver::forceDirectories(AnsiString path) {
  if (path.empty()) throw EZipException(39, Name);
  if (isSeparator(path.back())) path.pop_back();
  // The missing folders of the chain, deepest first; they are created from
  // the top down. The walk is a loop, so deep names cost no stack.
  // A drive ("C:") is never created; any other missing folder is, however
  // short its name.
  std::vector<AnsiString> missing;
  auto isDrive = [](const AnsiString& p) { return p.size() == 2 && p[1] == ':'; };
  while (!path.empty() && !isDrive(path) && !platform::DirectoryExists(path)) {
    missing.push_back(path);
    AnsiString parent = folderPart(path);
    if (parent == path) break;
    if (!parent.empty() && isSeparator(parent.back())) parent.pop_back();
    path = parent;
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it)
    if (!platform::CreateDirectory(*it) && !platform::DirectoryExists(*it)) return false;
  return true;
}

void TZipBaseArchiver::ExtractTaggedFile(int Index, AnsiString FileName,
                                         const AnsiString& BaseDir) {
  requireActive();
  if (!Options.CreateDirs) {
    const size_t cut = FileName.find_last_of("\\:");
    if (cut != AnsiString::npos) FileName.erase(0, cut + 1);
  } else {
    if (climbsOut(FileName)) throw EZipException(19, {BaseDir + FileName}, Name);
    const AnsiString folder = BaseDir + folderPart(FileName);
    bool made = false;
    try {
      made = forceDirectories(folder);
    } catch (const EZipException&) {
      made = false;
    }
    if (!made) throw EZipException(20, {folder}, Name);
  }
  const TDirItem& item = *dirManager->Directory.GetItemPtr(Index);
  if (item.CentralDir.ExternalFileAttributes & platform::faDirectory) return;

  AnsiString outPath = BaseDir + FileName;
  const int64_t existing = platform::GetFileAttributes(outPath);
  if (existing >= 0 && !(existing & platform::faDirectory)) {
    if (!Options.ReplaceReadOnly && (existing & platform::faReadOnly)) return;
    const auto entryAge =
        static_cast<int32_t>(static_cast<uint32_t>(item.CentralDir.LastModFileDate) << 16 |
                             item.CentralDir.LastModFileTime);
    switch (Options.OverwriteMode) {
      case omPrompt: {
        bool confirm = false;
        DoOnConfirmOverwrite(FileName, outPath, confirm);
        if (!confirm) return;
        break;
      }
      case omNever:
        return;
      case omIfNewer:
        if (!(entryAge > platform::FileAge(outPath))) return;
        break;
      case omIfOlder:
        if (!(entryAge < platform::FileAge(outPath))) return;
        break;
      case omAlways:
        break;
    }
  }

  std::unique_ptr<TZipFileStream> out;
  try {
    // The overwrite hook may have named another file: look again.
    if (existing >= 0 && platform::FileExists(outPath)) {
      platform::SetFileAttributes(outPath, 0);
      platform::DeleteFile(outPath);
    }
    out = std::make_unique<TZipFileStream>(outPath, kZipOpenCreate);
  } catch (const Exception&) {
    throw EZipException(19, {outPath}, Name);
  }
  const uint16_t date = item.CentralDir.LastModFileDate, time = item.CentralDir.LastModFileTime;
  const uint32_t attributes = item.CentralDir.ExternalFileAttributes;
  auto finish = [&] {
    out->SetDosDateTime(date, time);
    if (Options.FlushBuffers) out->FlushBuffers();
    out->Close();
    // A skipped file is removed; it is made writable first, as a read-only
    // file cannot be deleted on Windows.
    if (SkipFile) {
      platform::SetFileAttributes(outPath, 0);
      platform::DeleteFile(outPath);
    } else if (Options.SetAttributes) {
      platform::SetFileAttributes(outPath, attributes);
    }
  };
  try {
    ExtractItem(Index, *out);
  } catch (...) {
    finish();
    throw;
  }
  finish();
}

void TZipBaseArchiver::ExtractItem(int Index, TZipStream& Output) {
  requireActive();
  TZipDirArray& dir = dirManager->Directory;
  if (Index < 0 || Index >= dir.GetCount()) throw EZipException(16, Name);
  TDirItem& item = *dir.GetItemPtr(Index);
  archiveStream->SeekTo(item.LocalHeaderOffset());
  if (!InternalDecompressFile(*archiveStream, Output, item) && !ExtractCorruptedFiles && !SkipFile)
    throw EZipException(8, Name);
}
