#pragma once
// Reads the directory of an open archive: finds the end-of-central-directory
// record, follows the ZIP64 records, reads every central directory header,
// corrects the offsets when other bytes stand in front of the archive, and
// rebuilds a directory from local headers when no end record exists.

#include <cstdint>

#include "zip/zip_dir_array.h"
#include "zip/zip_records.h"
#include "zip/zip_stream.h"

class TZipBaseArchiver;

class TZipDirManager {
 public:
  // customStream: the stream is not the archiver's own archive file.
  TZipDirManager(TZipStream& stream, TZipBaseArchiver& archiver, bool customStream);

  TZipDirArray Directory;
  TZipDirArray SavedDirectory;
  AnsiString FileComment;
  TZip64CentralDirEndLocator Zip64Locator;
  TZip64CentralDirEnd Zip64DirEnd;
  TZipCentralDirEnd CentralDirEnd;
  int64_t StubSize = 0;
  bool IsZip64 = false;

  // Whether the archive can be opened: always with OpenCorruptedArchives,
  // otherwise when an end record of either signature is found. The record
  // found is kept in CentralDirEnd.
  bool HasCentralDirEnd();
  // Searches the end record with the given signature near the end of the
  // file; on success fills record, position and FileComment.
  bool GetCentralDirEnd(TZipCentralDirEnd& record, int64_t& position, uint32_t signature);
  void InitCentralDirEnd();
  void LoadDir();
  void CalculateStubSize(int64_t position);
  void ApplyStubOffset();
  // The first local header signature at or after start with 30 bytes behind
  // it, or -1.
  int64_t FindLocalFileHeader(int64_t start);
  // Writes the end record of an empty archive.
  void SaveDir();

 private:
  void readCentralDir(int64_t start, int64_t count);
  void readEntry(TDirItem& item);
  void readExtraField(TDirItem& item, const AnsiString& extra);
  void rebuildFromLocalHeaders();

  TZipStream& stream;
  TZipBaseArchiver& archiver;
  bool customStream;
};

// The stored name bytes as the directory keeps them: converted to the ANSI
// code page (from UTF-8 when the entry says so, else from the OEM code page),
// cut at a zero byte, with "/" as the folder separator.
AnsiString ZipDecodeStoredName(const AnsiString& raw, uint16_t flags);
