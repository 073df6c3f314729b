#pragma once
// The fixed-size records of the ZIP format as the reader uses them. Each
// record is parsed field by field from its little-endian bytes.

#include <cstdint>

constexpr uint32_t kZipCentralDirEndSignature = 0x06054B50;
constexpr uint32_t kZipCentralDirEndAltSignature = 0x06054141;
constexpr uint32_t kZip64CentralDirEndLocatorSignature = 0x07064B50;
constexpr uint32_t kZip64CentralDirEndSignature = 0x06064B50;
constexpr uint32_t kZipCentralDirSignature = 0x02014B50;
constexpr uint32_t kZipFileHeaderSignature = 0x04034B50;

// The marker values that send a reader to the ZIP64 extended information.
constexpr uint32_t kZip64Marker32 = 0xFFFFFFFF;
constexpr uint16_t kZip64Marker16 = 0xFFFF;

constexpr uint16_t kZipExtraZip64 = 0x0001;

// General purpose flags.
constexpr uint16_t kZipFlagEncrypted = 0x0001;
constexpr uint16_t kZipFlagDataDescriptor = 0x0008;
constexpr uint16_t kZipFlagUtf8 = 0x0800;

// End-of-central-directory record.
struct TZipCentralDirEnd {
  static constexpr int kSize = 22;
  uint32_t Signature = 0;
  uint16_t DiskNumber = 0;
  uint16_t StartDiskNumber = 0;
  uint16_t EntriesOnDisk = 0;
  uint16_t EntriesCentralDir = 0;
  uint32_t CentralDirSize = 0;
  uint32_t CentralDirOffset = 0;
  uint16_t CommentLength = 0;

  static TZipCentralDirEnd Parse(const uint8_t* bytes);
  void Write(uint8_t* bytes) const;
};

struct TZip64CentralDirEndLocator {
  static constexpr int kSize = 20;
  uint32_t Signature = 0;
  uint32_t StartDiskNumber = 0;
  uint64_t Offset = 0;
  uint32_t TotalNumberOfDisks = 0;

  static TZip64CentralDirEndLocator Parse(const uint8_t* bytes);
};

struct TZip64CentralDirEnd {
  static constexpr int kSize = 56;
  uint32_t Signature = 0;
  uint64_t CentralDirEndSize = 0;
  uint16_t VersionMadeBy = 0;
  uint16_t VersionNeededToExtract = 0;
  uint32_t DiskNumber = 0;
  uint32_t StartDiskNumber = 0;
  uint64_t EntriesOnDisk = 0;
  uint64_t EntriesCentralDir = 0;
  uint64_t CentralDirSize = 0;
  uint64_t CentralDirOffset = 0;

  static TZip64CentralDirEnd Parse(const uint8_t* bytes);
};

// Central directory file header, as stored.
struct TZipCentralDir {
  static constexpr int kSize = 46;
  uint32_t Signature = 0;
  uint16_t VersionMadeBy = 0;
  uint16_t VersionNeededToExtract = 0;
  uint16_t GeneralPurposeFlag = 0;
  uint16_t CompressionMethod = 0;
  uint16_t LastModFileTime = 0;
  uint16_t LastModFileDate = 0;
  uint32_t Crc32 = 0;
  uint32_t CompressedSize = 0;
  uint32_t UncompressedSize = 0;
  uint16_t FileNameLength = 0;
  uint16_t ExtraFieldLength = 0;
  uint16_t FileCommentLength = 0;
  uint16_t DiskNumberStart = 0;
  uint16_t InternalFileAttributes = 0;
  uint32_t ExternalFileAttributes = 0;
  uint32_t RelativeOffsetOfLocalHeader = 0;

  static TZipCentralDir Parse(const uint8_t* bytes);
};

// Local file header.
struct TZipFileHeader {
  static constexpr int kSize = 30;
  uint32_t Signature = 0;
  uint16_t VersionNeededToExtract = 0;
  uint16_t GeneralPurposeFlag = 0;
  uint16_t CompressionMethod = 0;
  uint16_t LastModFileTime = 0;
  uint16_t LastModFileDate = 0;
  uint32_t Crc32 = 0;
  uint32_t CompressedSize = 0;
  uint32_t UncompressedSize = 0;
  uint16_t FileNameLength = 0;
  uint16_t ExtraFieldLength = 0;

  static TZipFileHeader Parse(const uint8_t* bytes);
};
