#include "platform/fileattr.h"

#include "platform/win32/windows_api.h"

// The Windows headers name their ANSI and wide forms through macros that
// would rename this layer's functions.
#undef GetFileAttributes
#undef SetFileAttributes
#undef CreateDirectory

namespace platform {

int64_t GetFileAttributes(const AnsiString& path) {
  const DWORD a = ::GetFileAttributesA(path.c_str());
  return a == INVALID_FILE_ATTRIBUTES ? -1 : static_cast<int64_t>(a);
}

bool SetFileAttributes(const AnsiString& path, uint32_t attributes) {
  return ::SetFileAttributesA(path.c_str(), attributes) != 0;
}

bool CreateDirectory(const AnsiString& path) {
  return ::CreateDirectoryA(path.c_str(), nullptr) != 0;
}

int32_t FileAge(const AnsiString& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return -1;
  FILETIME local;
  WORD date = 0, time = 0;
  if (!::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
      !::FileTimeToDosDateTime(&local, &date, &time))
    return -1;
  return static_cast<int32_t>(static_cast<uint32_t>(date) << 16 | time);
}

}  // namespace platform
