#include "zip/zip_dir_array.h"

#include <algorithm>

#include "zip/zipexcept.h"

int64_t TDirItem::CompressedSize() const {
  return CentralDir.CompressedSize == kZip64Marker32 ? Zip64CompressedSize
                                                     : CentralDir.CompressedSize;
}

int64_t TDirItem::UncompressedSize() const {
  return CentralDir.UncompressedSize == kZip64Marker32 ? Zip64UncompressedSize
                                                       : CentralDir.UncompressedSize;
}

int64_t TDirItem::LocalHeaderOffset() const {
  return CentralDir.RelativeOffsetOfLocalHeader == kZip64Marker32
             ? Zip64HeaderOffset
             : CentralDir.RelativeOffsetOfLocalHeader;
}

void TDirItem::AddToLocalHeaderOffset(int64_t delta) {
  const int64_t moved = LocalHeaderOffset() + delta;
  if (CentralDir.RelativeOffsetOfLocalHeader != kZip64Marker32 && moved >= 0 &&
      moved < kZip64Marker32) {
    CentralDir.RelativeOffsetOfLocalHeader = static_cast<uint32_t>(moved);
    return;
  }
  CentralDir.RelativeOffsetOfLocalHeader = kZip64Marker32;
  Zip64HeaderOffset = moved;
}

void TZipDirArray::SetCount(int count) {
  if (count <= 0) {
    std::vector<TDirItem>().swap(items);
    return;
  }
  if (count > Capacity()) {
    growStep = std::min(growStep * 2, 10000);
    items.reserve(static_cast<size_t>(std::max(Capacity() + growStep, count)));
  }
  items.resize(static_cast<size_t>(count));
}

TDirItem TZipDirArray::GetItem(int index) const {
  if (index < 0 || index >= GetCount()) throw EZipException(2);
  return items[static_cast<size_t>(index)];
}

PDirItem TZipDirArray::GetItemPtr(int index) {
  if (index < 0 || index >= GetCount()) throw EZipException(3);
  return &items[static_cast<size_t>(index)];
}

void TZipDirArray::SetItem(int index, const TDirItem& item) {
  if (index < 0 || index >= GetCount()) throw EZipException(1);
  items[static_cast<size_t>(index)] = item;
}

void TZipDirArray::DeleteItem(int index) {
  if (index < 0 || index >= GetCount()) throw EZipException(4);
  items.erase(items.begin() + index);
}

void TZipDirArray::ClearTags() {
  for (auto& item : items) item.Tagged = false;
}

void TZipDirArray::Assign(const TZipDirArray& other) {
  items = other.items;
  growStep = other.growStep;
}
