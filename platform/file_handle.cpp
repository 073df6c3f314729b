#include "platform/file_handle.h"

#include "platform/filestream.h"

namespace platform {

bool TFileHandle::Open(const AnsiString& path, uint16_t mode) {
  Close();
  handle = FileOpen(path, mode);
  return IsOpen();
}

bool TFileHandle::Create(const AnsiString& path) {
  Close();
  handle = FileCreate(path);
  return IsOpen();
}

void TFileHandle::Close() {
  FileClose(handle);
  handle = InvalidFileHandle;
}

int64_t TFileHandle::Read(void* buffer, int64_t count) {
  if (!IsOpen() || count < 0) return -1;
  // A single read may return fewer bytes than are left in the file; the
  // archiver wants exactly count bytes unless the file ends first.
  auto* out = static_cast<char*>(buffer);
  int64_t done = 0;
  while (done < count) {
    const int64_t n = FileRead(handle, out + done, count - done);
    if (n < 0) return done > 0 ? done : -1;
    if (n == 0) break;
    done += n;
  }
  return done;
}

int64_t TFileHandle::Write(const void* buffer, int64_t count) {
  if (!IsOpen() || count < 0) return -1;
  return FileWrite(handle, buffer, count);
}

bool TFileHandle::Seek(int64_t position) {
  return IsOpen() && position >= 0 && FileSeek(handle, position, 0) == position;
}

int64_t TFileHandle::Size() {
  return IsOpen() ? FileGetSize(handle) : -1;
}

bool TFileHandle::Flush() {
  return IsOpen() && FileFlush(handle);
}

bool TFileHandle::SetDosDateTime(uint16_t dosDate, uint16_t dosTime) {
  return IsOpen() && FileSetDosDateTime(handle, dosDate, dosTime);
}

bool CanOpenDenyWrite(const AnsiString& path) {
  // Read and write access (2), other openers may only read (0x20).
  TFileHandle probe;
  return probe.Open(path, 0x22);
}

}  // namespace platform
