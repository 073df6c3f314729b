#pragma once
// Helpers shared by the HTTP client tests.

#include <cstdlib>
#include <ctime>
#include <string>

#include "core/datetime.h"

namespace httptest {

// Puts the process into a POSIX time zone (such as "UTC-3", three hours
// east of UTC) for the life of the object.
class ZoneScope {
 public:
  explicit ZoneScope(const char* zone) {
    const char* old = std::getenv("TZ");
    hadOld = old != nullptr;
    if (hadOld) oldZone = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ZoneScope() {
    if (hadOld) {
      setenv("TZ", oldZone.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

 private:
  bool hadOld = false;
  std::string oldZone;
};

inline TDateTime At(int y, int mo, int d, int h, int mi, int s) {
  return EncodeDate(y, mo, d) + EncodeTime(h, mi, s, 0);
}

// Date-times equal to the millisecond.
inline bool SameMoment(TDateTime a, TDateTime b) {
  const double diff = (a - b) * 86400000.0;
  return diff < 1 && diff > -1;
}

}  // namespace httptest
