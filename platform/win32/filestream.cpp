#include "platform/filestream.h"

#include "platform/win32/windows_api.h"

namespace platform {

static HANDLE toHandle(FileHandleValue value) {
  return reinterpret_cast<HANDLE>(value);
}

FileHandleValue FileOpen(const AnsiString& path, uint16_t mode) {
  static const DWORD access[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
  static const DWORD share[] = {FILE_SHARE_READ | FILE_SHARE_WRITE, 0, FILE_SHARE_READ,
                                FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
  if ((mode & 3) > 2 || ((mode & 0xF0) >> 4) > 4) return InvalidFileHandle;
  HANDLE h = ::CreateFileA(path.c_str(), access[mode & 3], share[(mode & 0xF0) >> 4], nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return h == INVALID_HANDLE_VALUE ? InvalidFileHandle : reinterpret_cast<FileHandleValue>(h);
}

FileHandleValue FileCreate(const AnsiString& path) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  return h == INVALID_HANDLE_VALUE ? InvalidFileHandle : reinterpret_cast<FileHandleValue>(h);
}

void FileClose(FileHandleValue handle) {
  if (handle != InvalidFileHandle) ::CloseHandle(toHandle(handle));
}

// ReadFile and WriteFile take 32-bit counts; larger requests go in pieces.
int64_t FileRead(FileHandleValue handle, void* buffer, int64_t count) {
  char* p = static_cast<char*>(buffer);
  int64_t done = 0;
  while (done < count) {
    const DWORD piece = static_cast<DWORD>(count - done > 0x40000000 ? 0x40000000 : count - done);
    DWORD got = 0;
    if (!::ReadFile(toHandle(handle), p + done, piece, &got, nullptr)) return done > 0 ? done : -1;
    done += got;
    if (got < piece) break;
  }
  return done;
}

int64_t FileWrite(FileHandleValue handle, const void* buffer, int64_t count) {
  const char* p = static_cast<const char*>(buffer);
  int64_t done = 0;
  while (done < count) {
    const DWORD piece = static_cast<DWORD>(count - done > 0x40000000 ? 0x40000000 : count - done);
    DWORD put = 0;
    if (!::WriteFile(toHandle(handle), p + done, piece, &put, nullptr)) return done > 0 ? done : -1;
    done += put;
    if (put < piece) break;
  }
  return done;
}

int64_t FileSeek(FileHandleValue handle, int64_t offset, int origin) {
  static const DWORD method[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
  if (origin < 0 || origin > 2) return -1;
  LARGE_INTEGER distance, result;
  distance.QuadPart = offset;
  if (!::SetFilePointerEx(toHandle(handle), distance, &result, method[origin])) return -1;
  return result.QuadPart;
}

bool FileTruncate(FileHandleValue handle, int64_t size) {
  const int64_t position = FileSeek(handle, 0, 1);
  if (position < 0 || FileSeek(handle, size, 0) < 0) return false;
  const bool ok = ::SetEndOfFile(toHandle(handle)) != 0;
  return FileSeek(handle, position, 0) >= 0 && ok;
}

bool FileFlush(FileHandleValue handle) {
  return ::FlushFileBuffers(toHandle(handle)) != 0;
}

int64_t FileGetSize(FileHandleValue handle) {
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(toHandle(handle), &size)) return -1;
  return size.QuadPart;
}

bool FileSetDosDateTime(FileHandleValue handle, uint16_t dosDate, uint16_t dosTime) {
  FILETIME local, utc;
  return ::DosDateTimeToFileTime(dosDate, dosTime, &local) &&
         ::LocalFileTimeToFileTime(&local, &utc) &&
         ::SetFileTime(toHandle(handle), nullptr, nullptr, &utc);
}

}  // namespace platform
