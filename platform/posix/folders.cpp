#include "platform/folders.h"

#include <unistd.h>

#include <vector>

#include "platform/posix/native_path.h"

namespace platform {

AnsiString GetSpecialFolderPath(int csidl, bool& ok) {
  ok = csidl == CSIDL_COMMON_APPDATA;
  return ok ? posix::FromNativePath(posix::RootDir() + "/ProgramData") : AnsiString();
}

AnsiString GetCurrentDirectory() {
  std::vector<char> buf(4096);
  if (!::getcwd(buf.data(), buf.size())) return {};
  return posix::FromNativePath(buf.data());
}

AnsiString GetSystemDirectory() {
  return posix::FromNativePath(posix::RootDir() + "/Windows/System32");
}

}  // namespace platform
