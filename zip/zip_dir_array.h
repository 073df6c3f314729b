#pragma once
// The in-memory directory of an open archive: one TDirItem per entry, in
// central-directory order.

#include <cstdint>
#include <vector>

#include "core/ansistring.h"
#include "zip/zip_records.h"

// One extra-field block of an entry, with its own copy of the data.
struct TZipExtraFieldDataBlock {
  uint16_t HeaderID = 0;
  uint16_t DataSize = 0;
  AnsiString Data;
};

struct TDirItem {
  TZipCentralDir CentralDir;
  AnsiString StoredName;  // ANSI code page, "/" as the folder separator
  AnsiString PreviousName;
  AnsiString ItemComment;  // raw bytes
  std::vector<TZipExtraFieldDataBlock> ExtraFields;
  bool HasZip64Info = false;
  int64_t Zip64UncompressedSize = 0;
  int64_t Zip64CompressedSize = 0;
  int64_t Zip64HeaderOffset = 0;
  uint32_t Zip64DiskStart = 0;
  bool Tagged = false;

  // The sizes and the local header offset, from the ZIP64 values where the
  // stored ones hold the marker.
  int64_t CompressedSize() const;
  int64_t UncompressedSize() const;
  int64_t LocalHeaderOffset() const;
  // Moves the local header offset by delta, keeping it in the ZIP64 value
  // when it no longer fits the stored field.
  void AddToLocalHeaderOffset(int64_t delta);
};
using PDirItem = TDirItem*;

class TZipDirArray {
 public:
  int GetCount() const { return static_cast<int>(items.size()); }
  // Growing beyond the capacity doubles the growth step (from 200, at most
  // 10000) and takes the larger of capacity + step and count; new slots start
  // empty. A count of 0 releases every entry.
  void SetCount(int count);
  int Capacity() const { return static_cast<int>(items.capacity()); }

  // Outside 0 .. count - 1 these raise the index error with native numbers
  // 2 (GetItem), 3 (GetItemPtr), 1 (SetItem) and 4 (DeleteItem).
  TDirItem GetItem(int index) const;
  PDirItem GetItemPtr(int index);
  void SetItem(int index, const TDirItem& item);
  void DeleteItem(int index);

  void ClearTags();
  void Assign(const TZipDirArray& other);

 private:
  std::vector<TDirItem> items;
  int growStep = 200;
};
