#pragma once
// The archiver's option types, event types and the search record.

#include <cstdint>
#include <functional>

#include "core/ansistring.h"

class TZipBaseArchiver;

enum TZipCompressionLevel { clNone, clFastest, clNormal, clMax };
enum TZipSpanningMode { smNone, smSpanning, smSplitting };
enum TZipVolumeSize { vsAutoDetect, vsCustomSize };
enum TZipStorePathMode { spNoPath, spRelativePath, spFullPath };
enum TZipFileShareMode {
  smShareCompat,
  smShareExclusive,
  smShareDenyWrite,
  smShareDenyRead,
  smShareDenyNone
};
enum TZipOverwriteMode { omPrompt, omAlways, omNever, omIfNewer, omIfOlder };
enum TZipProcessOperation {
  poAdd,
  poMove,
  poDelete,
  poUpdate,
  poExtract,
  poTest,
  poRename,
  poChangeAttr,
  poChangeComment
};
enum TZipProgressPhase { ppStart, ppProcess, ppEnd };
enum TZipAction { fxaRetry, fxaIgnore, fxaAbort };

struct TZipSpanningOptions {
  bool AdvancedNaming = true;
  int64_t FirstVolumeSize = 0;
  TZipVolumeSize VolumeSize = vsAutoDetect;
  int64_t CustomVolumeSize = 0;
};

struct TZipOptions {
  TZipStorePathMode StorePath = spRelativePath;
  bool Recurse = true;
  TZipFileShareMode ShareMode = smShareDenyNone;
  TZipOverwriteMode OverwriteMode = omAlways;
  bool CreateDirs = true;
  bool ReplaceReadOnly = true;
  bool SetAttributes = true;
  uint16_t SearchAttr = 63;
  bool FlushBuffers = true;
};

using TZipFileProgressEvent = std::function<void(
    TZipBaseArchiver* Sender, const AnsiString& FileName, double Progress,
    TZipProcessOperation Operation, TZipProgressPhase ProgressPhase, bool& Cancel)>;
using TZipProgressEvent =
    std::function<void(TZipBaseArchiver* Sender, double Progress, TZipProcessOperation Operation,
                       TZipProgressPhase ProgressPhase, bool& Cancel)>;
using TZipConfirmOverwriteEvent =
    std::function<void(TZipBaseArchiver* Sender, const AnsiString& SourceFileName,
                       AnsiString& DestFileName, bool& Confirm)>;
using TZipConfirmProcessFileEvent =
    std::function<void(TZipBaseArchiver* Sender, const AnsiString& FileName,
                       TZipProcessOperation Operation, bool& Confirm)>;
using TZipOnPasswordEvent = std::function<void(TZipBaseArchiver* Sender, const AnsiString& FileName,
                                               AnsiString& NewPassword, bool& SkipFile)>;
using TZipProcessFileFailureEvent = std::function<void(
    TZipBaseArchiver* Sender, const AnsiString& FileName, TZipProcessOperation Operation,
    int32_t NativeError, int32_t ErrorCode, const AnsiString& ErrorMessage, TZipAction& Action)>;
using TZipNotifyEvent = std::function<void(TZipBaseArchiver* Sender)>;

// The state of a search through the directory.
struct TInternalSearchRec {
  int32_t SearchIndex = 0;
  AnsiString SearchMask;  // "/" as the folder separator
  bool HasWildcards = false;
  uint16_t SearchAttr = 0;
  AnsiString SearchExclusion;
  bool UseProperties = false;
};

// What a search reports of the entry it found.
struct TZipArchiveItem {
  AnsiString FileName;    // the name after the last "\\"
  AnsiString StoredPath;  // the folder part, up to and including the last "\\"
  int64_t CompressedSize = 0;
  int64_t UncompressedSize = 0;
  double CompressionRate = 0;
  bool Encrypted = false;
  uint16_t LastModFileDate = 0;
  uint16_t LastModFileTime = 0;
  uint32_t Crc32 = 0;
  uint32_t ExternalFileAttributes = 0;
  AnsiString Comment;
  TInternalSearchRec FSearchRec;
};
