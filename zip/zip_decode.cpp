#include <zlib.h>

#include <algorithm>

#include "zip/zip_archiver.h"
#include "zip/zip_crypt.h"
#include "zip/zip_records.h"

namespace {

// Entry data is read and decoded in chunks of this size.
constexpr int64_t kInputChunk = 0x100000;
// Inflated output goes through a buffer of this size and is written out each
// time it fills, so memory stays bounded whatever an entry expands to.
constexpr size_t kOutputBuffer = 0x40000;

constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;

// Ends an inflate stream on every way out of the decoder.
struct TInflateGuard {
  z_stream* stream = nullptr;
  ~TInflateGuard() {
    if (stream) inflateEnd(stream);
  }
};

}  // namespace

bool TZipBaseArchiver::InternalDecompressFile(TZipStream& Archive, TZipStream& Output,
                                              TDirItem& Item) {
  uint8_t bytes[TZipFileHeader::kSize];
  Archive.ReadBuffer(bytes, sizeof bytes);
  const TZipFileHeader local = TZipFileHeader::Parse(bytes);
  Archive.SeekTo(Archive.Position() + local.FileNameLength + local.ExtraFieldLength);

  int64_t compressed = Item.CompressedSize();
  const int64_t expected = Item.UncompressedSize();
  SkipFile = false;
  const uint16_t method = Item.CentralDir.CompressionMethod;
  // Stored and deflated data are decoded; every other method, the
  // archiver's own block format included, is unsupported here.
  if (method != kMethodStored && method != kMethodDeflated) return false;

  const bool encrypted = Item.CentralDir.GeneralPurposeFlag & kZipFlagEncrypted;
  TZipCryptKeys keys("");
  if (encrypted) {
    compressed -= kZipEncryptionHeaderSize;
    uint8_t header[kZipEncryptionHeaderSize];
    if (compressed < 0 || Archive.Read(header, sizeof header) != kZipEncryptionHeaderSize)
      return false;
    const uint8_t check = (local.GeneralPurposeFlag & kZipFlagDataDescriptor)
                              ? static_cast<uint8_t>(local.LastModFileTime >> 8)
                              : static_cast<uint8_t>(local.Crc32 >> 24);
    for (;;) {
      keys = TZipCryptKeys(Password);
      if (ZipCheckEncryptionHeader(keys, header, check)) break;
      DoOnPassword(Item.StoredName, Password, SkipFile);
      if (SkipFile) return false;
    }
  }

  z_stream zs{};
  TInflateGuard guard;
  if (method == kMethodDeflated) {
    // Entries hold raw deflate data: no zlib header and no Adler-32 check.
    if (inflateInit2(&zs, -MAX_WBITS) != Z_OK) return false;
    guard.stream = &zs;
    outputBuffer.resize(kOutputBuffer);
  }

  uLong crc = crc32(0, nullptr, 0);
  int64_t consumed = 0, written = 0;
  bool ok = true, streamEnded = false;
  // Writes decoded bytes; false when the output takes fewer, or when the
  // entry has grown beyond its uncompressed size (it can only fail then).
  auto emit = [&](const uint8_t* data, int64_t count) {
    crc = crc32(crc, data, static_cast<uInt>(count));
    if (Output.Write(data, count) != count) return false;
    written += count;
    return written <= expected;
  };
  while (ok && consumed < compressed && !streamEnded) {
    if (ProgressEnabled) {
      DoOnFileProgress(Item.StoredName, static_cast<double>(consumed) * 100 / compressed, poExtract,
                       ppProcess, CancelRequested);
      if (CancelRequested) break;
      const double share = static_cast<double>(consumed) / compressed + ProcessedCount;
      DoOnOverallProgress(TaggedCount > 0 ? share * 100 / TaggedCount : 0, poExtract, ppProcess,
                          CancelRequested);
      if (CancelRequested) break;
    }
    const int64_t chunk = std::min(kInputChunk, compressed - consumed);
    if (static_cast<int64_t>(inputBuffer.size()) < chunk)
      inputBuffer.resize(static_cast<size_t>(chunk));
    uint8_t* in = inputBuffer.data();
    if (Archive.Read(in, chunk) != chunk) {
      ok = false;
      break;
    }
    if (encrypted) keys.DecryptBuffer(in, static_cast<size_t>(chunk));
    if (method == kMethodStored) {
      ok = emit(in, chunk);
    } else {
      zs.next_in = in;
      zs.avail_in = static_cast<uInt>(chunk);
      do {
        zs.next_out = outputBuffer.data();
        zs.avail_out = static_cast<uInt>(outputBuffer.size());
        const int result = inflate(&zs, Z_NO_FLUSH);
        if (result < 0) {
          ok = false;
          break;
        }
        const int64_t produced = static_cast<int64_t>(outputBuffer.size()) - zs.avail_out;
        if (produced > 0 && !emit(outputBuffer.data(), produced)) {
          ok = false;
          break;
        }
        // The end of the deflate data ends decoding, whatever bytes follow
        // within the compressed size; the checks below decide the entry.
        if (result == Z_STREAM_END) {
          streamEnded = true;
          break;
        }
      } while (zs.avail_in > 0 || zs.avail_out == 0);
    }
    consumed += chunk;
  }
  return ok && written == expected && static_cast<uint32_t>(crc) == Item.CentralDir.Crc32;
}
