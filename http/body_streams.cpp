#include "http/body_streams.h"

#include <algorithm>
#include <cstring>

#include "core/exceptions.h"
#include "platform/memory.h"

namespace {

// The size of each block that a growing body is appended in: one large page,
// so that the system can back a block with one, and small beside the 8 MiB
// that a body may take above its own size.
constexpr int64_t kBlockSize = int64_t{2} << 20;
// A body of unknown length stays in data, which grows as a text does, until
// it outgrows this much.
constexpr int64_t kSmallBody = int64_t{256} << 10;

int64_t SeekTarget(int64_t offset, TSeekOrigin origin, int64_t position, int64_t size) {
  const int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position : size;
  return std::max<int64_t>(0, base + offset);
}

}  // namespace

TNetStringMemoryStream::~TNetStringMemoryStream() {
  ReleaseBlocks();
}

void TNetStringMemoryStream::ReleaseBlocks() {
  for (const Block& block : blocks)
    platform::ReleaseSystemBlock(block.bytes, static_cast<size_t>(kBlockSize));
  blocks.clear();
  blockBytes = 0;
}

int64_t TNetStringMemoryStream::Stored() const {
  return static_cast<int64_t>(data.size()) + blockBytes;
}

void TNetStringMemoryStream::AppendToBlocks(const char* in, int64_t count) {
  try {
    while (count > 0) {
      if (blocks.empty() || blocks.back().used == kBlockSize) {
        // The list has room before the block is taken, so that a failure
        // leaves no block unrecorded.
        if (blocks.size() == blocks.capacity()) blocks.reserve(2 * blocks.size() + 16);
        blocks.push_back(
            {static_cast<char*>(platform::AllocateSystemBlock(static_cast<size_t>(kBlockSize))),
             0});
      }
      Block& last = blocks.back();
      const int64_t n = std::min(count, kBlockSize - last.used);
      std::memcpy(last.bytes + last.used, in, static_cast<size_t>(n));
      last.used += n;
      blockBytes += n;
      in += n;
      count -= n;
    }
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory("Out of memory");
  }
}

void TNetStringMemoryStream::Gather() {
  if (blocks.empty()) return;
  const int64_t total = Stored();
  try {
    AnsiString whole;
    whole.reserve(static_cast<size_t>(total));
    platform::AdviseLargeBlock(whole.data(), whole.capacity());
    whole.append(data);
    data = AnsiString();
    for (Block& block : blocks) {
      whole.append(block.bytes, static_cast<size_t>(block.used));
      platform::ReleaseSystemBlock(block.bytes, static_cast<size_t>(kBlockSize));
      block.bytes = nullptr;
    }
    blocks.clear();
    blockBytes = 0;
    data.swap(whole);
  } catch (const std::exception&) {
    throw EOutOfMemory("Out of memory");
  }
}

int64_t TNetStringMemoryStream::Read(void* buffer, int64_t count) {
  Gather();
  const int64_t n = std::clamp<int64_t>(size - position, 0, std::max<int64_t>(count, 0));
  char* out = static_cast<char*>(buffer);
  const int64_t stored = static_cast<int64_t>(data.size());
  for (int64_t i = 0; i < n; ++i) {
    const int64_t at = position + i;
    out[i] = at < stored ? data[static_cast<size_t>(at)] : '\0';
  }
  position += n;
  return n;
}

int64_t TNetStringMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const char* in = static_cast<const char*>(buffer);
  // A write at the end of the stored bytes is an append: into data while it
  // has room or is still small, into the blocks beyond that. Any other write
  // needs the bytes in one place.
  if (position == Stored()) {
    if (!blocks.empty() ||
        position + count > std::max<int64_t>(static_cast<int64_t>(data.capacity()), kSmallBody)) {
      AppendToBlocks(in, count);
    } else {
      data.append(in, static_cast<size_t>(count));
    }
    position += count;
    size = std::max(size, position);
    return count;
  }
  Gather();
  const int64_t stored = static_cast<int64_t>(data.size());
  if (position > stored) data.append(static_cast<size_t>(position - stored), '\0');
  const int64_t overlap = std::min<int64_t>(count, static_cast<int64_t>(data.size()) - position);
  if (overlap > 0)
    std::memcpy(&data[static_cast<size_t>(position)], in, static_cast<size_t>(overlap));
  if (overlap < count) data.append(in + overlap, static_cast<size_t>(count - overlap));
  position += count;
  size = std::max(size, position);
  return count;
}

int64_t TNetStringMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  position = SeekTarget(offset, origin, position, size);
  return position;
}

void TNetStringMemoryStream::SetSize(int64_t newSize) {
  newSize = std::max<int64_t>(newSize, 0);
  if (newSize < Stored()) {
    Gather();
    data.resize(static_cast<size_t>(newSize));
  } else if (blocks.empty() && data.empty() && newSize > static_cast<int64_t>(data.capacity())) {
    // The first presize of an empty stream (a counted body) reserves the
    // whole body once; reserving leaves the memory untouched until it is
    // written, and the block is advised for large pages. Later growth (each
    // chunk of a chunked body presizes its own bytes) reserves nothing: the
    // appends go to the blocks.
    try {
      data.reserve(static_cast<size_t>(newSize));
      platform::AdviseLargeBlock(data.data(), data.capacity());
    } catch (const std::exception&) {
      throw EOutOfMemory("Out of memory");
    }
  }
  size = newSize;
  position = std::min(position, size);
}

AnsiString TNetStringMemoryStream::TakeText() {
  Gather();
  if (static_cast<int64_t>(data.size()) < size) data.resize(static_cast<size_t>(size));
  AnsiString text = std::move(data);
  data = AnsiString();
  size = 0;
  position = 0;
  return text;
}

int64_t TNetBoundedTextStream::Read(void* buffer, int64_t count) {
  const int64_t stored = static_cast<int64_t>(data.size());
  const int64_t n =
      std::clamp<int64_t>(std::min(size, stored) - position, 0, std::max<int64_t>(count, 0));
  if (n > 0) std::memcpy(buffer, data.data() + position, static_cast<size_t>(n));
  position += n;
  return n;
}

int64_t TNetBoundedTextStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const int64_t end = std::min(position + count, limit);
  if (end > position) {
    const int64_t stored = static_cast<int64_t>(data.size());
    if (position > stored) data.append(static_cast<size_t>(position - stored), '\0');
    const char* in = static_cast<const char*>(buffer);
    data.replace(static_cast<size_t>(position),
                 std::min<size_t>(data.size() - static_cast<size_t>(position),
                                  static_cast<size_t>(end - position)),
                 in, static_cast<size_t>(end - position));
  }
  position += count;
  size = std::max(size, position);
  return count;
}

int64_t TNetBoundedTextStream::Seek(int64_t offset, TSeekOrigin origin) {
  position = SeekTarget(offset, origin, position, size);
  return position;
}

void TNetBoundedTextStream::SetSize(int64_t newSize) {
  size = std::max<int64_t>(newSize, 0);
  if (static_cast<int64_t>(data.size()) > size) data.resize(static_cast<size_t>(size));
  position = std::min(position, size);
}
