#include "core/streams.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "core/exceptions.h"
#include "core/format.h"
#include "platform/filestream.h"

int64_t TStream::Size() {
  const int64_t position = Seek(0, soCurrent);
  const int64_t end = Seek(0, soEnd);
  Seek(position, soBeginning);
  return end;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  constexpr int64_t pieceSize = 65536;
  char piece[pieceSize];
  for (int64_t left = count; left > 0;) {
    const int64_t n = std::min(left, pieceSize);
    source.ReadBuffer(piece, n);
    WriteBuffer(piece, n);
    left -= n;
  }
  return count;
}

// Memory streams grow in steps of at least a quarter of their size, so a
// stream written piece by piece is moved only a logarithmic number of times.
TMemoryStream::~TMemoryStream() {
  std::free(memory);
}

void TMemoryStream::reserve(int64_t wanted) {
  if (wanted <= capacity) return;
  int64_t grown = std::max(wanted, capacity + capacity / 4);
  grown = (grown + 8191) & ~int64_t{8191};
  if (grown < 0 || static_cast<uint64_t>(grown) > std::numeric_limits<size_t>::max()) {
    throw EOutOfMemory("Out of memory");
  }
  char* p = static_cast<char*>(std::realloc(memory, static_cast<size_t>(grown)));
  if (p == nullptr) throw EOutOfMemory("Out of memory");
  memory = p;
  capacity = grown;
}

void TMemoryStream::SetSize(int64_t newSize) {
  if (newSize < 0) newSize = 0;
  reserve(newSize);
  size = newSize;
  if (position > size) position = size;
}

void TMemoryStream::Clear() {
  std::free(memory);
  memory = nullptr;
  size = capacity = position = 0;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  const int64_t n = std::clamp<int64_t>(size - position, 0, std::max<int64_t>(count, 0));
  if (n > 0) std::memcpy(buffer, memory + position, static_cast<size_t>(n));
  position += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const int64_t end = position + count;
  if (end > size) {
    reserve(end);
    // A position set past the end leaves a gap; it reads as zeros.
    if (position > size) std::memset(memory + size, 0, static_cast<size_t>(position - size));
    size = end;
  }
  std::memcpy(memory + position, buffer, static_cast<size_t>(count));
  position = end;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position : size;
  position = std::max<int64_t>(base + offset, 0);
  return position;
}

TFileStream::TFileStream(const AnsiString& name, uint16_t mode) : fileName(name) {
  if (mode == fmCreate) {
    handle = platform::FileCreate(name);
    if (handle == platform::InvalidFileHandle) {
      throw EFCreateError(Format("Cannot create file %s", {name}));
    }
  } else {
    handle = platform::FileOpen(name, mode);
    if (handle == platform::InvalidFileHandle) {
      throw EFOpenError(Format("Cannot open file %s", {name}));
    }
  }
}

TFileStream::~TFileStream() {
  platform::FileClose(handle);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const int64_t n = platform::FileRead(handle, buffer, count);
  return n < 0 ? 0 : n;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const int64_t n = platform::FileWrite(handle, buffer, count);
  return n < 0 ? 0 : n;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  return platform::FileSeek(handle, offset, origin);
}

void TFileStream::SetSize(int64_t newSize) {
  const int64_t position = Position();
  if (newSize < 0 || !platform::FileTruncate(handle, newSize)) {
    throw EStreamError(Format("Cannot set the size of file %s", {fileName}));
  }
  if (position > newSize) Seek(newSize, soBeginning);
}

bool TFileStream::FlushBuffers() {
  return platform::FileFlush(handle);
}

int64_t TStringStream::Read(void* buffer, int64_t count) {
  const int64_t n = std::clamp<int64_t>(Size() - position, 0, std::max<int64_t>(count, 0));
  if (n > 0) std::memcpy(buffer, data.data() + position, static_cast<size_t>(n));
  position += n;
  return n;
}

int64_t TStringStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (position + count > Size()) data.resize(static_cast<size_t>(position + count));
  std::memcpy(data.data() + position, buffer, static_cast<size_t>(count));
  position += count;
  return count;
}

int64_t TStringStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position : Size();
  position = std::max<int64_t>(base + offset, 0);
  return position;
}

void TStringStream::SetSize(int64_t newSize) {
  data.resize(static_cast<size_t>(std::max<int64_t>(newSize, 0)));
  if (position > Size()) position = Size();
}
