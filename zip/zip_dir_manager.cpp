#include "zip/zip_dir_manager.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "platform/codepage.h"
#include "zip/le_cursor.h"
#include "zip/zip_archiver.h"
#include "zip/zipexcept.h"

namespace {

// The end record search looks at most this far back from the end of the file.
constexpr int64_t kEndRecordWindow = 65600;
// The local header searches read the file in chunks of this size.
constexpr int64_t kScanChunk = 65535;

// Finds the local header signature "PK", 3, 4 going forward through the
// file, one chunk in memory at a time; consecutive chunks overlap by the
// signature's length less one byte.
class TLocalHeaderScanner {
 public:
  explicit TLocalHeaderScanner(TZipStream& stream) : stream(stream), size(stream.Size()) {}

  // The first signature at or after from, or -1. The search also ends when
  // a chunk cannot be read in full.
  int64_t Find(int64_t from) {
    while (from >= 0 && from + 4 <= size) {
      if (from < chunkStart || from + 4 > chunkStart + chunkLength) {
        const int64_t want = std::min(kScanChunk, size - from);
        chunk.resize(static_cast<size_t>(want));
        if (!stream.Seek(from) || stream.Read(chunk.data(), want) != want) return -1;
        chunkStart = from;
        chunkLength = want;
      }
      const uint8_t* p = chunk.data();
      for (int64_t i = from - chunkStart; i + 4 <= chunkLength; ++i)
        if (p[i] == 'P' && p[i + 1] == 'K' && p[i + 2] == 3 && p[i + 3] == 4) return chunkStart + i;
      from = chunkStart + chunkLength - 3;
      chunkLength = 0;
    }
    return -1;
  }

  int64_t Size() const { return size; }

 private:
  TZipStream& stream;
  int64_t size;
  std::vector<uint8_t> chunk;
  int64_t chunkStart = 0;
  int64_t chunkLength = 0;
};

// Reads count bytes at position, or false when the file does not hold them.
bool readAt(TZipStream& stream, int64_t position, void* buffer, int64_t count) {
  return position >= 0 && stream.Seek(position) && stream.Read(buffer, count) == count;
}

}  // namespace

AnsiString ZipDecodeStoredName(const AnsiString& raw, uint16_t flags) {
  const AnsiString bytes = raw.substr(0, raw.find('\0'));
  AnsiString name =
      (flags & kZipFlagUtf8) ? platform::Utf8ToAnsi(bytes) : platform::OemToAnsi(bytes);
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

TZipDirManager::TZipDirManager(TZipStream& stream, TZipBaseArchiver& archiver, bool customStream)
    : stream(stream), archiver(archiver), customStream(customStream) {}

bool TZipDirManager::GetCentralDirEnd(TZipCentralDirEnd& record, int64_t& position,
                                      uint32_t signature) {
  FileComment.clear();
  const int64_t size = stream.Size();
  const int64_t window = std::min(kEndRecordWindow, size);
  if (window < TZipCentralDirEnd::kSize) return false;
  std::vector<uint8_t> tail(static_cast<size_t>(window));
  if (!readAt(stream, size - window, tail.data(), window)) return false;
  const uint8_t sig[4] = {static_cast<uint8_t>(signature), static_cast<uint8_t>(signature >> 8),
                          static_cast<uint8_t>(signature >> 16),
                          static_cast<uint8_t>(signature >> 24)};
  for (int64_t i = window - 1; i >= 3; --i) {
    if (tail[i] != sig[3] || tail[i - 1] != sig[2] || tail[i - 2] != sig[1] ||
        tail[i - 3] != sig[0])
      continue;
    const int64_t at = i - 3;
    if (window - at < TZipCentralDirEnd::kSize) continue;
    const TZipCentralDirEnd found = TZipCentralDirEnd::Parse(&tail[at]);
    if (window - (at + TZipCentralDirEnd::kSize) != found.CommentLength) continue;
    record = found;
    position = size - window + at;
    const auto* comment = reinterpret_cast<const char*>(&tail[at + TZipCentralDirEnd::kSize]);
    FileComment.assign(comment, found.CommentLength);
    return true;
  }
  return false;
}

bool TZipDirManager::HasCentralDirEnd() {
  if (archiver.OpenCorruptedArchives) return true;
  int64_t position = 0;
  return GetCentralDirEnd(CentralDirEnd, position, kZipCentralDirEndAltSignature) ||
         GetCentralDirEnd(CentralDirEnd, position, kZipCentralDirEndSignature);
}

void TZipDirManager::InitCentralDirEnd() {
  Directory.SetCount(0);
  CentralDirEnd = TZipCentralDirEnd();
  CentralDirEnd.Signature =
      archiver.StandardSignatures() ? kZipCentralDirEndSignature : kZipCentralDirEndAltSignature;
  Zip64Locator = TZip64CentralDirEndLocator();
  Zip64DirEnd = TZip64CentralDirEnd();
  IsZip64 = false;
  StubSize = 0;
}

void TZipDirManager::LoadDir() {
  InitCentralDirEnd();
  TZipCentralDirEnd record;
  int64_t p = 0;
  const bool found = archiver.StandardSignatures()
                         ? GetCentralDirEnd(record, p, kZipCentralDirEndSignature)
                         : GetCentralDirEnd(record, p, kZipCentralDirEndAltSignature) ||
                               GetCentralDirEnd(record, p, kZipCentralDirEndSignature);
  if (!found) {
    if (archiver.SpanningMode != smNone) throw EZipException(44, archiver.Name);
    rebuildFromLocalHeaders();
    return;
  }
  CentralDirEnd = record;

  uint8_t bytes[TZip64CentralDirEnd::kSize];
  if (p > TZip64CentralDirEndLocator::kSize && readAt(stream, p - TZip64CentralDirEndLocator::kSize,
                                                      bytes, TZip64CentralDirEndLocator::kSize)) {
    const auto locator = TZip64CentralDirEndLocator::Parse(bytes);
    if (locator.Signature == kZip64CentralDirEndLocatorSignature) {
      Zip64Locator = locator;
      IsZip64 = true;
      p -= TZip64CentralDirEndLocator::kSize;
    }
  }
  if (IsZip64) {
    // The ZIP64 end record stands where the locator says; when bytes in
    // front of the archive moved it, it is found directly in front of the
    // locator instead.
    auto recordAt = [&](int64_t at) {
      return at >= 0 && readAt(stream, at, bytes, TZip64CentralDirEnd::kSize) &&
             TZip64CentralDirEnd::Parse(bytes).Signature == kZip64CentralDirEndSignature;
    };
    const auto named = static_cast<int64_t>(std::min<uint64_t>(Zip64Locator.Offset, INT64_MAX));
    int64_t at = -1;
    if (p > TZip64CentralDirEnd::kSize && named < p && recordAt(named))
      at = named;
    else if (recordAt(p - TZip64CentralDirEnd::kSize))
      at = p - TZip64CentralDirEnd::kSize;
    if (at < 0) throw EZipException(40);
    Zip64DirEnd = TZip64CentralDirEnd::Parse(bytes);
    p = at;
  }

  // The directory ends where the end records begin; its stored offset is not
  // used, so bytes put in front of the archive do not disturb the reading.
  const uint64_t dirSize = IsZip64 ? Zip64DirEnd.CentralDirSize : CentralDirEnd.CentralDirSize;
  const uint64_t count = IsZip64 ? Zip64DirEnd.EntriesCentralDir : CentralDirEnd.EntriesCentralDir;
  if (dirSize > static_cast<uint64_t>(p)) throw EReadError("Stream read error");
  readCentralDir(p - static_cast<int64_t>(dirSize),
                 static_cast<int64_t>(std::min<uint64_t>(count, INT64_MAX)));

  CalculateStubSize(p);
  if (Directory.GetCount() > 0 && Directory.GetItemPtr(0)->LocalHeaderOffset() != StubSize)
    ApplyStubOffset();
}

void TZipDirManager::readCentralDir(int64_t start, int64_t count) {
  // Every header takes at least 46 bytes: a count that the rest of the file
  // cannot hold runs past its end, and is refused before anything is sized
  // by it.
  const int64_t fits = (stream.Size() - start) / TZipCentralDir::kSize;
  if (count > fits || count > INT_MAX) throw EReadError("Stream read error");
  Directory.SetCount(static_cast<int>(count));
  stream.SeekTo(start);
  for (int i = 0; i < static_cast<int>(count); ++i) readEntry(*Directory.GetItemPtr(i));
}

void TZipDirManager::readEntry(TDirItem& item) {
  uint8_t header[TZipCentralDir::kSize];
  stream.ReadBuffer(header, sizeof header);
  item.CentralDir = TZipCentralDir::Parse(header);
  AnsiString raw(item.CentralDir.FileNameLength, '\0');
  stream.ReadBuffer(raw.data(), static_cast<int64_t>(raw.size()));
  item.StoredName = ZipDecodeStoredName(raw, item.CentralDir.GeneralPurposeFlag);
  AnsiString extra(item.CentralDir.ExtraFieldLength, '\0');
  stream.ReadBuffer(extra.data(), static_cast<int64_t>(extra.size()));
  readExtraField(item, extra);
  item.ItemComment.assign(item.CentralDir.FileCommentLength, '\0');
  stream.ReadBuffer(item.ItemComment.data(), static_cast<int64_t>(item.ItemComment.size()));
}

void TZipDirManager::readExtraField(TDirItem& item, const AnsiString& extra) {
  TLeCursor field(extra.data(), extra.size());
  // A block header cut short by the end of the field ends the reading.
  while (field.Remaining() >= 4) {
    TZipExtraFieldDataBlock block;
    block.HeaderID = field.U16();
    const size_t announced = field.U16();
    block.DataSize = static_cast<uint16_t>(std::min(announced, field.Remaining()));
    block.Data.assign(reinterpret_cast<const char*>(field.Here()), block.DataSize);
    field.Skip(block.DataSize);
    if (block.HeaderID == kZipExtraZip64) {
      TLeCursor data(block.Data.data(), block.Data.size());
      const TZipCentralDir& cd = item.CentralDir;
      if (cd.UncompressedSize == kZip64Marker32 && data.Remaining() >= 8)
        item.Zip64UncompressedSize = static_cast<int64_t>(data.U64());
      if (cd.CompressedSize == kZip64Marker32 && data.Remaining() >= 8)
        item.Zip64CompressedSize = static_cast<int64_t>(data.U64());
      if (cd.RelativeOffsetOfLocalHeader == kZip64Marker32 && data.Remaining() >= 8)
        item.Zip64HeaderOffset = static_cast<int64_t>(data.U64());
      if (cd.DiskNumberStart == kZip64Marker16 && data.Remaining() >= 2)
        item.Zip64DiskStart = data.U16();
      item.HasZip64Info = true;
    }
    item.ExtraFields.push_back(std::move(block));
  }
}

void TZipDirManager::CalculateStubSize(int64_t position) {
  StubSize = 0;
  if (Directory.GetCount() == 0) {
    StubSize = position;
    return;
  }
  const int64_t saved = stream.Position();
  const TZipCentralDir& first = Directory.GetItemPtr(0)->CentralDir;
  const int64_t start = Directory.GetItemPtr(0)->LocalHeaderOffset();
  // An entry written with a trailing data descriptor has no CRC-32 and no
  // sizes in its local header, and a ZIP64 local header holds the marker
  // instead of a size; only what the local header really holds is compared.
  const bool descriptor = first.GeneralPurposeFlag & kZipFlagDataDescriptor;
  auto sameSize = [](uint32_t local, uint32_t central) {
    return local == central || local == kZip64Marker32;
  };
  TLocalHeaderScanner scanner(stream);
  for (int64_t q = scanner.Find(start); q >= 0; q = scanner.Find(q + 4)) {
    uint8_t bytes[TZipFileHeader::kSize];
    if (!readAt(stream, q, bytes, sizeof bytes)) break;
    const TZipFileHeader local = TZipFileHeader::Parse(bytes);
    if (q + TZipFileHeader::kSize + local.FileNameLength > scanner.Size()) continue;
    if (local.VersionNeededToExtract == first.VersionNeededToExtract &&
        local.GeneralPurposeFlag == first.GeneralPurposeFlag &&
        local.CompressionMethod == first.CompressionMethod &&
        local.LastModFileTime == first.LastModFileTime &&
        local.LastModFileDate == first.LastModFileDate &&
        (descriptor ||
         (local.Crc32 == first.Crc32 && sameSize(local.CompressedSize, first.CompressedSize) &&
          sameSize(local.UncompressedSize, first.UncompressedSize)))) {
      StubSize = q - start;
      break;
    }
  }
  stream.Seek(saved);
}

void TZipDirManager::ApplyStubOffset() {
  for (int i = 0; i < Directory.GetCount(); ++i) {
    TDirItem& item = *Directory.GetItemPtr(i);
    if (!(item.CentralDir.ExternalFileAttributes & 0x10)) item.AddToLocalHeaderOffset(StubSize);
  }
}

int64_t TZipDirManager::FindLocalFileHeader(int64_t start) {
  const int64_t saved = stream.Position();
  TLocalHeaderScanner scanner(stream);
  int64_t q = scanner.Find(start);
  if (q >= 0 && q + TZipFileHeader::kSize > scanner.Size()) q = -1;
  stream.Seek(saved);
  return q;
}

void TZipDirManager::rebuildFromLocalHeaders() {
  TLocalHeaderScanner scanner(stream);
  auto next = [&](int64_t from) {
    const int64_t q = scanner.Find(from);
    return q >= 0 && q + TZipFileHeader::kSize <= scanner.Size() ? q : -1;
  };
  int64_t q = next(0);
  if (q < 0) throw EZipException(35);
  for (; q >= 0; q = next(q + 4)) {
    uint8_t bytes[TZipFileHeader::kSize];
    stream.SeekTo(q);
    stream.ReadBuffer(bytes, sizeof bytes);
    const TZipFileHeader local = TZipFileHeader::Parse(bytes);
    TDirItem item;
    TZipCentralDir& cd = item.CentralDir;
    cd.Signature = kZipCentralDirSignature;
    cd.VersionMadeBy = local.VersionNeededToExtract;
    cd.VersionNeededToExtract = local.VersionNeededToExtract;
    cd.GeneralPurposeFlag = local.GeneralPurposeFlag;
    cd.CompressionMethod = local.CompressionMethod;
    cd.LastModFileTime = local.LastModFileTime;
    cd.LastModFileDate = local.LastModFileDate;
    cd.Crc32 = local.Crc32;
    cd.CompressedSize = local.CompressedSize;
    cd.UncompressedSize = local.UncompressedSize;
    cd.FileNameLength = local.FileNameLength;
    cd.ExtraFieldLength = local.ExtraFieldLength;
    cd.ExternalFileAttributes = local.UncompressedSize != 0 ? 0x20 : 0x10;
    cd.RelativeOffsetOfLocalHeader = static_cast<uint32_t>(std::min<int64_t>(q, kZip64Marker32));
    if (q >= kZip64Marker32) item.Zip64HeaderOffset = q;
    if (q + TZipFileHeader::kSize + local.FileNameLength <= scanner.Size()) {
      AnsiString raw(local.FileNameLength, '\0');
      stream.ReadBuffer(raw.data(), static_cast<int64_t>(raw.size()));
      item.StoredName = ZipDecodeStoredName(raw, local.GeneralPurposeFlag);
    }
    const int n = Directory.GetCount();
    Directory.SetCount(n + 1);
    *Directory.GetItemPtr(n) = std::move(item);
  }
}

void TZipDirManager::SaveDir() {
  TZipCentralDirEnd record;
  record.Signature = CentralDirEnd.Signature;
  record.CommentLength = static_cast<uint16_t>(std::min<size_t>(FileComment.size(), 0xFFFF));
  uint8_t bytes[TZipCentralDirEnd::kSize];
  record.Write(bytes);
  stream.SeekTo(0);
  stream.WriteBuffer(bytes, sizeof bytes);
  stream.WriteBuffer(FileComment.data(), record.CommentLength);
}
