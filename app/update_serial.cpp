#include "app/update_serial.h"

#include <limits>

#include "platform/registry.h"

uint64_t UpdateSerialFromValue(const AnsiString& data) {
  size_t end = data.size();
  while (end > 0 && data[end - 1] == '\0') --end;
  if (end == 0) return 0;
  constexpr uint64_t max = std::numeric_limits<int64_t>::max();
  uint64_t value = 0;
  for (size_t i = 0; i < end; ++i) {
    const char c = data[i];
    if (c < '0' || c > '9') return 0;
    const unsigned digit = static_cast<unsigned>(c - '0');
    if (value > (max - digit) / 10) return 0;
    value = value * 10 + digit;
  }
  return value;
}

uint64_t InstalledUpdateSerial() {
  platform::RegKey key = platform::NoRegKey;
  if (platform::RegOpenKeyEx(platform::HkeyLocalMachine, "SOFTWARE\\Talvesk", platform::KeyRead,
                             key) != platform::RegSuccess) {
    return 0;
  }
  std::uint32_t type = platform::RegNone;
  AnsiString data;
  const long result = platform::RegQueryValueEx(key, "UpdateSerial", type, data);
  platform::RegCloseKey(key);
  // The text counts whatever type it was stored as: REG_SZ as written, or
  // untyped as a file the Linux store holds without a type.
  const bool text = type == platform::RegSz || type == platform::RegNone;
  return result == platform::RegSuccess && text ? UpdateSerialFromValue(data) : 0;
}
