#include "platform/folders.h"

#include "platform/win32/windows_api.h"

// After windows.h, which it needs.
#include <shlobj.h>

namespace platform {

AnsiString GetSpecialFolderPath(int csidl, bool& ok) {
  char buf[1000] = {};
  ok = ::SHGetSpecialFolderPathA(nullptr, buf, csidl, FALSE) != FALSE;
  return buf;
}

AnsiString GetCurrentDirectory() {
  char buf[MAX_PATH] = {};
  const DWORD n = ::GetCurrentDirectoryA(MAX_PATH, buf);
  return AnsiString(buf, n < MAX_PATH ? n : 0);
}

AnsiString GetSystemDirectory() {
  char buf[MAX_PATH] = {};
  const UINT n = ::GetSystemDirectoryA(buf, MAX_PATH);
  return AnsiString(buf, n < MAX_PATH ? n : 0);
}

}  // namespace platform
