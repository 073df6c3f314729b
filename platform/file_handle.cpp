#include "platform/file_handle.h"

#include "platform/filestream.h"

namespace platform {

namespace {

// The runtime's open modes: access in the low bits, sharing in bits 4 to 6.
constexpr uint16_t kOpenRead = 0x00;
constexpr uint16_t kOpenReadWrite = 0x02;
constexpr uint16_t kShareDenyWrite = 0x20;
constexpr uint16_t kShareDenyNone = 0x40;

}  // namespace

bool TFileHandle::Open(const AnsiString& path, TFileOpenMode mode) {
  Close();
  switch (mode) {
    case TFileOpenMode::ReadDenyNone:
      handle = FileOpen(path, kOpenRead | kShareDenyNone);
      break;
    case TFileOpenMode::ReadWriteDenyWrite:
      handle = FileOpen(path, kOpenReadWrite | kShareDenyWrite);
      break;
    case TFileOpenMode::CreateExclusive:
      handle = FileCreate(path);
      break;
  }
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
  TFileHandle probe;
  return probe.Open(path, TFileOpenMode::ReadWriteDenyWrite);
}

}  // namespace platform
