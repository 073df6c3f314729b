#include "http/body_streams.h"

#include <algorithm>
#include <cstring>

#include "core/exceptions.h"
#include "platform/memory.h"

namespace {

int64_t SeekTarget(int64_t offset, TSeekOrigin origin, int64_t position, int64_t size) {
  const int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position : size;
  return std::max<int64_t>(0, base + offset);
}

}  // namespace

int64_t TNetStringMemoryStream::Read(void* buffer, int64_t count) {
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
  const int64_t stored = static_cast<int64_t>(data.size());
  if (position > stored) data.append(static_cast<size_t>(position - stored), '\0');
  const int64_t overlap = std::min<int64_t>(count, static_cast<int64_t>(data.size()) - position);
  const char* in = static_cast<const char*>(buffer);
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
  if (newSize < static_cast<int64_t>(data.size())) {
    data.resize(static_cast<size_t>(newSize));
  } else if (newSize > static_cast<int64_t>(data.capacity())) {
    // Reserving leaves the new memory untouched until it is written. A block
    // that grows past its room at least doubles, so that a body of unknown
    // length is moved only a few times; the bytes move into a block that was
    // advised first, so the move itself takes large pages where there are.
    try {
      const size_t wanted =
          std::max(static_cast<size_t>(newSize), data.empty() ? 0 : 2 * data.capacity());
      AnsiString grown;
      grown.reserve(wanted);
      platform::AdviseLargeBlock(grown.data(), grown.capacity());
      grown.append(data);
      data.swap(grown);
    } catch (const std::exception&) {
      throw EOutOfMemory("Out of memory");
    }
  }
  size = newSize;
  position = std::min(position, size);
}

AnsiString TNetStringMemoryStream::TakeText() {
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
