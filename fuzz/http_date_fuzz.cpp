// Reads arbitrary text as an Internet date, in the three forms and with any
// zone; whatever is read must format and read back to the same second.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "http/internet_date.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  AnsiString rest = text;
  const TDateTime date = ParseInternetDate(rest);
  ZoneTextToOffset(rest);
  const TDateTime local = InternetDateToLocal(text);
  (void)local;
  // Dates of the years 1 to 9999 format and read back.
  if (date > -693593 && date < 2958465) {
    AnsiString formatted = FormatGmtDate(date);
    const TDateTime back = ParseInternetDate(formatted);
    if (std::fabs(back - date) * 86400.0 > 1.0) std::abort();
    FormatInternetDate(date);
  }
  return 0;
}
