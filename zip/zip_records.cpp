#include "zip/zip_records.h"

#include "zip/le_cursor.h"

TZipCentralDirEnd TZipCentralDirEnd::Parse(const uint8_t* bytes) {
  TLeCursor c(bytes, kSize);
  TZipCentralDirEnd r;
  r.Signature = c.U32();
  r.DiskNumber = c.U16();
  r.StartDiskNumber = c.U16();
  r.EntriesOnDisk = c.U16();
  r.EntriesCentralDir = c.U16();
  r.CentralDirSize = c.U32();
  r.CentralDirOffset = c.U32();
  r.CommentLength = c.U16();
  return r;
}

void TZipCentralDirEnd::Write(uint8_t* bytes) const {
  TLeWriter w(bytes);
  w.U32(Signature);
  w.U16(DiskNumber);
  w.U16(StartDiskNumber);
  w.U16(EntriesOnDisk);
  w.U16(EntriesCentralDir);
  w.U32(CentralDirSize);
  w.U32(CentralDirOffset);
  w.U16(CommentLength);
}

TZip64CentralDirEndLocator TZip64CentralDirEndLocator::Parse(const uint8_t* bytes) {
  TLeCursor c(bytes, kSize);
  TZip64CentralDirEndLocator r;
  r.Signature = c.U32();
  r.StartDiskNumber = c.U32();
  r.Offset = c.U64();
  r.TotalNumberOfDisks = c.U32();
  return r;
}

TZip64CentralDirEnd TZip64CentralDirEnd::Parse(const uint8_t* bytes) {
  TLeCursor c(bytes, kSize);
  TZip64CentralDirEnd r;
  r.Signature = c.U32();
  r.CentralDirEndSize = c.U64();
  r.VersionMadeBy = c.U16();
  r.VersionNeededToExtract = c.U16();
  r.DiskNumber = c.U32();
  r.StartDiskNumber = c.U32();
  r.EntriesOnDisk = c.U64();
  r.EntriesCentralDir = c.U64();
  r.CentralDirSize = c.U64();
  r.CentralDirOffset = c.U64();
  return r;
}

TZipCentralDir TZipCentralDir::Parse(const uint8_t* bytes) {
  TLeCursor c(bytes, kSize);
  TZipCentralDir r;
  r.Signature = c.U32();
  r.VersionMadeBy = c.U16();
  r.VersionNeededToExtract = c.U16();
  r.GeneralPurposeFlag = c.U16();
  r.CompressionMethod = c.U16();
  r.LastModFileTime = c.U16();
  r.LastModFileDate = c.U16();
  r.Crc32 = c.U32();
  r.CompressedSize = c.U32();
  r.UncompressedSize = c.U32();
  r.FileNameLength = c.U16();
  r.ExtraFieldLength = c.U16();
  r.FileCommentLength = c.U16();
  r.DiskNumberStart = c.U16();
  r.InternalFileAttributes = c.U16();
  r.ExternalFileAttributes = c.U32();
  r.RelativeOffsetOfLocalHeader = c.U32();
  return r;
}

TZipFileHeader TZipFileHeader::Parse(const uint8_t* bytes) {
  TLeCursor c(bytes, kSize);
  TZipFileHeader r;
  r.Signature = c.U32();
  r.VersionNeededToExtract = c.U16();
  r.GeneralPurposeFlag = c.U16();
  r.CompressionMethod = c.U16();
  r.LastModFileTime = c.U16();
  r.LastModFileDate = c.U16();
  r.Crc32 = c.U32();
  r.CompressedSize = c.U32();
  r.UncompressedSize = c.U32();
  r.FileNameLength = c.U16();
  r.ExtraFieldLength = c.U16();
  return r;
}
