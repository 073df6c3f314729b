#include "platform/file_handle.h"

#include "platform/win32/windows_api.h"

namespace platform {

namespace {

HANDLE asHandle(intptr_t h) {
  return reinterpret_cast<HANDLE>(h);
}

// One ReadFile or WriteFile call moves at most this many bytes.
constexpr int64_t kMaxTransfer = 0x40000000;

}  // namespace

bool TFileHandle::Open(const AnsiString& path, TFileOpenMode mode) {
  Close();
  DWORD access = GENERIC_READ, share = FILE_SHARE_READ | FILE_SHARE_WRITE;
  DWORD disposition = OPEN_EXISTING;
  switch (mode) {
    case TFileOpenMode::ReadDenyNone:
      break;
    case TFileOpenMode::ReadWriteDenyWrite:
      access = GENERIC_READ | GENERIC_WRITE;
      share = FILE_SHARE_READ;
      break;
    case TFileOpenMode::CreateExclusive:
      access = GENERIC_READ | GENERIC_WRITE;
      share = 0;
      disposition = CREATE_ALWAYS;
      break;
  }
  HANDLE h = ::CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle = reinterpret_cast<intptr_t>(h);
  return true;
}

void TFileHandle::Close() {
  if (handle != -1) ::CloseHandle(asHandle(handle));
  handle = -1;
}

int64_t TFileHandle::Read(void* buffer, int64_t count) {
  if (handle == -1 || count < 0) return -1;
  auto* out = static_cast<char*>(buffer);
  int64_t done = 0;
  while (done < count) {
    const DWORD chunk =
        static_cast<DWORD>(count - done > kMaxTransfer ? kMaxTransfer : count - done);
    DWORD got = 0;
    if (!::ReadFile(asHandle(handle), out + done, chunk, &got, nullptr))
      return done > 0 ? done : -1;
    if (got == 0) break;
    done += got;
  }
  return done;
}

int64_t TFileHandle::Write(const void* buffer, int64_t count) {
  if (handle == -1 || count < 0) return -1;
  const auto* in = static_cast<const char*>(buffer);
  int64_t done = 0;
  while (done < count) {
    const DWORD chunk =
        static_cast<DWORD>(count - done > kMaxTransfer ? kMaxTransfer : count - done);
    DWORD put = 0;
    if (!::WriteFile(asHandle(handle), in + done, chunk, &put, nullptr) || put == 0)
      return done > 0 ? done : -1;
    done += put;
  }
  return done;
}

bool TFileHandle::Seek(int64_t position) {
  LARGE_INTEGER to, now;
  to.QuadPart = position;
  return handle != -1 && position >= 0 &&
         ::SetFilePointerEx(asHandle(handle), to, &now, FILE_BEGIN) && now.QuadPart == position;
}

int64_t TFileHandle::Size() {
  LARGE_INTEGER size;
  if (handle == -1 || !::GetFileSizeEx(asHandle(handle), &size)) return -1;
  return size.QuadPart;
}

bool TFileHandle::Flush() {
  return handle != -1 && ::FlushFileBuffers(asHandle(handle));
}

bool TFileHandle::SetDosDateTime(uint16_t dosDate, uint16_t dosTime) {
  FILETIME local, utc;
  return handle != -1 && ::DosDateTimeToFileTime(dosDate, dosTime, &local) &&
         ::LocalFileTimeToFileTime(&local, &utc) &&
         ::SetFileTime(asHandle(handle), nullptr, nullptr, &utc);
}

bool CanOpenDenyWrite(const AnsiString& path) {
  TFileHandle probe;
  return probe.Open(path, TFileOpenMode::ReadWriteDenyWrite);
}

}  // namespace platform
