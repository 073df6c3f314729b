#include "platform/timezone.h"

#include <time.h>

namespace platform {

bool ReadTimeZone(TimeZoneInfo& info) {
  // The C library already folds daylight time into the offset it reports,
  // so the whole bias goes into the base bias and the status says that no
  // extra bias applies.
  ::tzset();
  const time_t now = ::time(nullptr);
  struct tm local;
  if (::localtime_r(&now, &local) == nullptr) return false;
  info.Status = tzUnknown;
  info.Bias = static_cast<int>(-local.tm_gmtoff / 60);
  info.StandardBias = 0;
  info.DaylightBias = 0;
  return true;
}

}  // namespace platform
