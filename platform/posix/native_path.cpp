#include "platform/posix/native_path.h"

#include <cstdlib>

#include "platform/codepage.h"

namespace platform::posix {

std::string RootDir() {
  const char* root = std::getenv("QD_ROOT");
  std::string r = (root && *root) ? root : "/var/lib/qdupdate";
  while (r.size() > 1 && r.back() == '/') r.pop_back();
  return r;
}

std::string ToNativePath(std::string_view ansiPath) {
  std::string utf8 = AnsiToUtf8(ansiPath);
  for (char& c : utf8)
    if (c == '\\') c = '/';
  return utf8;
}

AnsiString FromNativePath(std::string_view nativePath) {
  return Utf8ToAnsi(nativePath);
}

}  // namespace platform::posix
