#include "platform/files.h"

#include "platform/win32/windows_api.h"

namespace platform {

bool FileExists(const AnsiString& path) {
  const DWORD a = ::GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const AnsiString& path) {
  const DWORD a = ::GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

FileFailure ReadFile(const AnsiString& path, AnsiString& data) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return FileFailure::CannotOpen;
  data.clear();
  char buf[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(h, buf, sizeof buf, &got, nullptr)) {
      ::CloseHandle(h);
      return FileFailure::CannotRead;
    }
    if (got == 0) break;
    data.append(buf, got);
  }
  ::CloseHandle(h);
  return FileFailure::None;
}

FileFailure WriteFile(const AnsiString& path, std::string_view data) {
  HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return FileFailure::CannotCreate;
  bool ok = true;
  while (ok && !data.empty()) {
    DWORD put = 0;
    const DWORD chunk = data.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(data.size());
    ok = ::WriteFile(h, data.data(), chunk, &put, nullptr) && put > 0;
    data.remove_prefix(put);
  }
  if (!::CloseHandle(h) || !ok) return FileFailure::CannotWrite;
  return FileFailure::None;
}

bool DeleteFile(const AnsiString& path) {
  return ::DeleteFileA(path.c_str()) != 0;
}

bool CopyFile(const AnsiString& source, const AnsiString& dest, bool failIfExists) {
  return ::CopyFileA(source.c_str(), dest.c_str(), failIfExists) != 0;
}

}  // namespace platform
