#include "zip/zip_stream.h"

#include <algorithm>
#include <cstring>

#include "core/exceptions.h"
#include "core/format.h"

void TZipStream::ReadBuffer(void* buffer, int64_t count) {
  if (count < 0 || (count > 0 && Read(buffer, count) != count))
    throw EReadError("Stream read error");
}

void TZipStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count < 0 || (count > 0 && Write(buffer, count) != count))
    throw EWriteError("Stream write error");
}

void TZipStream::SeekTo(int64_t position) {
  if (!Seek(position)) throw EReadError("Stream read error");
}

TZipFileStream::TZipFileStream(const AnsiString& fileName, uint16_t mode) {
  if (!(mode == kZipOpenCreate ? file.Create(fileName) : file.Open(fileName, mode))) {
    if (mode == kZipOpenCreate) throw EFCreateError(Format("Cannot create file %s", {fileName}));
    throw EFOpenError(Format("Cannot open file %s", {fileName}));
  }
}

int64_t TZipFileStream::Read(void* out, int64_t count) {
  if (count <= 0) return 0;
  auto* dest = static_cast<char*>(out);
  int64_t done = 0;
  // Bytes already in the read-ahead buffer.
  if (position >= bufferStart && position < bufferStart + bufferLength) {
    const int64_t n = std::min(count, bufferStart + bufferLength - position);
    std::memcpy(dest, buffer.get() + (position - bufferStart), static_cast<size_t>(n));
    position += n;
    done = n;
  }
  if (done == count) return done;
  if (!syncHandle()) return done;
  if (count - done >= kBufferSize) {
    // A large read goes straight into the caller's memory.
    const int64_t n = file.Read(dest + done, count - done);
    if (n > 0) {
      position += n;
      done += n;
    }
    handlePosition = n >= 0 ? position : -1;
    return done;
  }
  if (!buffer) buffer = std::make_unique<char[]>(kBufferSize);
  const int64_t n = file.Read(buffer.get(), kBufferSize);
  bufferStart = position;
  bufferLength = n > 0 ? n : 0;
  handlePosition = n >= 0 ? position + bufferLength : -1;
  const int64_t take = std::min(count - done, bufferLength);
  std::memcpy(dest + done, buffer.get(), static_cast<size_t>(take));
  position += take;
  return done + take;
}

int64_t TZipFileStream::Write(const void* data, int64_t count) {
  if (count <= 0) return 0;
  bufferLength = 0;
  if (!syncHandle()) return 0;
  const int64_t n = file.Write(data, count);
  if (n <= 0) {
    handlePosition = -1;
    return 0;
  }
  position += n;
  handlePosition = position;
  return n;
}

bool TZipFileStream::syncHandle() {
  if (handlePosition == position) return true;
  handlePosition = file.Seek(position) ? position : -1;
  return handlePosition == position;
}

bool TZipFileStream::Seek(int64_t to) {
  if (to < 0) return false;
  position = to;
  return true;
}

int64_t TZipFileStream::Size() {
  return file.Size();
}

int64_t TZipMemoryStream::Read(void* buffer, int64_t count) {
  const int64_t n = std::min(count, Size() - position);
  if (n <= 0) return 0;
  std::memcpy(buffer, data.data() + position, static_cast<size_t>(n));
  position += n;
  return n;
}

int64_t TZipMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (position + count > Size()) data.resize(static_cast<size_t>(position + count));
  std::memcpy(data.data() + position, buffer, static_cast<size_t>(count));
  position += count;
  return count;
}

bool TZipMemoryStream::Seek(int64_t to) {
  if (to < 0) return false;
  position = to;
  return true;
}
