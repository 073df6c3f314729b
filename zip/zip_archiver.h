#pragma once
// The archiver component: opens a ZIP archive file, reads its directory,
// selects entries by mask and attributes, and extracts them under BaseDir.
// It asks its host through event hooks whose defaults are dialogs.

#include <cstdint>
#include <memory>
#include <vector>

#include "core/stringlist.h"
#include "zip/zip_dir_array.h"
#include "zip/zip_stream.h"
#include "zip/zip_types.h"

class TZipDirManager;

class TZipBaseArchiver {
 public:
  TZipBaseArchiver();
  virtual ~TZipBaseArchiver();
  TZipBaseArchiver(const TZipBaseArchiver&) = delete;
  TZipBaseArchiver& operator=(const TZipBaseArchiver&) = delete;

  AnsiString Name;

  // Published properties with their construction values.
  bool OpenCorruptedArchives = false;
  bool ExtractCorruptedFiles = false;
  TZipCompressionLevel CompressionLevel = clFastest;
  uint8_t CompressionMode = 1;
  AnsiString Password;
  AnsiString FileName;
  AnsiString BaseDir;
  AnsiString TempDir;
  TZipSpanningMode SpanningMode = smNone;
  TZipSpanningOptions SpanningOptions;
  AnsiString SFXStub;
  TZipOptions Options;
  TStringList FileMasks, ExclusionMasks, NoCompressionMasks;
  bool InMemory = false;

  TZipFileProgressEvent OnFileProgress;
  TZipProgressEvent OnOverallProgress;
  TZipConfirmOverwriteEvent OnConfirmOverwrite;
  TZipConfirmProcessFileEvent OnConfirmProcessFile;
  TZipNotifyEvent AfterOpen;
  TZipOnPasswordEvent OnPassword;
  TZipProcessFileFailureEvent OnProcessFileFailure;

  // Always "2.03 "; setting it has no effect.
  AnsiString CurrentVersion() const { return "2.03 "; }
  void SetCurrentVersion(const AnsiString&) {}
  // The archive comment while an archive is open, else empty.
  AnsiString FileComment() const;

  // Opens FileName, choosing the mode: an existing file read-write with
  // other writers denied when that can be had, else read-only; a missing
  // file is created as a new, empty archive.
  void OpenArchive();
  // Opens with a given file open mode; 0xFFFF creates a new archive.
  void OpenArchive(uint16_t Mode);
  // Closes the open archive; never raises.
  void CloseArchive();
  bool Active() const { return active; }
  uint16_t OpenMode() const { return openMode; }
  bool StandardSignatures() const { return standardSignatures; }
  int32_t CurrentVolume() const { return currentVolume; }
  // The directory manager of the open archive, or null.
  TZipDirManager* DirManager() const { return dirManager.get(); }

  // Selection.
  bool FindFirst(const AnsiString& FileMask, TZipArchiveItem& F, uint16_t SearchAttr,
                 const AnsiString& ExclusionMask);
  bool FindFirst(TZipArchiveItem& F);
  bool FindNext(TZipArchiveItem& F);
  void TagFiles(const AnsiString& FileMask, int32_t SearchAttr, const AnsiString& ExclusionMask);
  void TagFiles();
  bool IsItemMatches(int Index, const TZipArchiveItem& F);
  static bool IsInternalFileMatchMask(const AnsiString& Name, const AnsiString& Mask);
  static bool CheckAttributesMatch(uint32_t Attributes, uint32_t Mask);

  // Extraction.
  void ExtractFiles(const AnsiString& FileMask, uint16_t SearchAttr,
                    const AnsiString& ExclusionMask);
  void ExtractFiles();
  void ProcessTaggedFiles(TZipProcessOperation Operation);
  void ExtractTaggedFile(int Index, AnsiString FileName, const AnsiString& BaseDir);
  void ExtractItem(int Index, TZipStream& Output);
  bool InternalDecompressFile(TZipStream& Archive, TZipStream& Output, TDirItem& Item);

  // Counters of the running (or last) operation.
  int32_t ProcessedCount = 0;
  int32_t TaggedCount = 0;
  bool CancelRequested = false;
  bool ProgressEnabled = false;
  bool SkipFile = false;

  // Hooks; each fires its event or takes the default decision.
  void DoOnConfirmProcessFile(const AnsiString& FileName, TZipProcessOperation Operation,
                              bool& Confirm);
  void DoOnConfirmOverwrite(const AnsiString& SourceFileName, AnsiString& DestFileName,
                            bool& Confirm);
  void DoOnPassword(const AnsiString& FileName, AnsiString& NewPassword, bool& Skip);
  void DoOnProcessFileFailure(const AnsiString& FileName, TZipProcessOperation Operation,
                              int32_t NativeError, int32_t ErrorCode,
                              const AnsiString& ErrorMessage, TZipAction& Action);
  void DoOnFileProgress(const AnsiString& FileName, double Progress, TZipProcessOperation Operation,
                        TZipProgressPhase ProgressPhase, bool& Cancel);
  void DoOnOverallProgress(double Progress, TZipProcessOperation Operation,
                           TZipProgressPhase ProgressPhase, bool& Cancel);
  void DoAfterOpen();

 protected:
  bool standardSignatures = false;

 private:
  void internalOpenArchive();
  void requireActive() const;
  bool internalFind(TZipArchiveItem& F);
  // Creates a folder and its missing parents; false when that fails.
  bool forceDirectories(AnsiString path);

  bool active = false;
  uint16_t openMode = 0;
  bool customStream = false;
  int32_t currentVolume = 0;
  std::unique_ptr<TZipStream> archiveStream;
  std::unique_ptr<TZipDirManager> dirManager;
  // Decoding buffers, made at the first entry and kept for the next ones.
  std::vector<uint8_t> inputBuffer, outputBuffer;
};

// The archiver with the standard "PK" signatures.
class TZipArchiver : public TZipBaseArchiver {
 public:
  TZipArchiver() { standardSignatures = true; }
};
