#include "app/update_serial.h"

#include <string_view>

#include "core/decimal.h"

#include "platform/registry.h"

uint64_t UpdateSerialFromValue(const AnsiString& data) {
  size_t end = data.size();
  while (end > 0 && data[end - 1] == '\0') --end;
  const auto value = ParseDecimal(std::string_view(data).substr(0, end));
  return value ? static_cast<uint64_t>(*value) : 0;
}

bool ReadProductValue(const AnsiString& name, std::uint32_t& type, AnsiString& data) {
  platform::RegKey key = platform::NoRegKey;
  if (platform::RegOpenKeyEx(platform::HkeyLocalMachine, "SOFTWARE\\Talvesk", platform::KeyRead,
                             key) != platform::RegSuccess) {
    return false;
  }
  const long result = platform::RegQueryValueEx(key, name, type, data);
  platform::RegCloseKey(key);
  return result == platform::RegSuccess;
}

uint64_t InstalledUpdateSerial() {
  std::uint32_t type = platform::RegNone;
  AnsiString data;
  // The text counts whatever type it was stored as: REG_SZ as written, or
  // untyped as a file the Linux store holds without a type.
  if (!ReadProductValue("UpdateSerial", type, data)) return 0;
  const bool text = type == platform::RegSz || type == platform::RegNone;
  return text ? UpdateSerialFromValue(data) : 0;
}
