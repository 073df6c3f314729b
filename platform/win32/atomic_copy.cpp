#include "platform/atomic_copy.h"

#include "platform/win32/windows_api.h"

namespace platform {

namespace {

bool copyAll(HANDLE in, HANDLE out) {
  char buf[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(in, buf, sizeof buf, &got, nullptr)) return false;
    if (got == 0) return true;
    DWORD put = 0;
    if (!::WriteFile(out, buf, got, &put, nullptr) || put != got) return false;
  }
}

bool copyFlushed(const AnsiString& source, const char* temp) {
  HANDLE in = ::CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (in == INVALID_HANDLE_VALUE) return false;
  HANDLE out =
      ::CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) {
    ::CloseHandle(in);
    return false;
  }
  bool ok = copyAll(in, out) && ::FlushFileBuffers(out);
  ::CloseHandle(in);
  if (!::CloseHandle(out)) ok = false;
  return ok;
}

}  // namespace

bool CopyFileAtomic(const AnsiString& source, const AnsiString& dest) {
  const size_t slash = dest.find_last_of("\\/");
  const AnsiString folder = slash == AnsiString::npos ? AnsiString(".") : dest.substr(0, slash);
  // GetTempFileNameA makes an empty file of a new name in the folder, so the
  // name cannot be taken by someone else before the copy opens it.
  char temp[MAX_PATH] = {};
  if (!::GetTempFileNameA(folder.c_str(), "qdz", 0, temp)) return false;
  // A module loaded from the target refuses the replace, so a running
  // product keeps its database and the copy fails as a whole.
  const bool ok =
      copyFlushed(source, temp) &&
      ::MoveFileExA(temp, dest.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) ::DeleteFileA(temp);
  return ok;
}

}  // namespace platform
