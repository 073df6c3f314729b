#include "platform/timezone.h"

#include "platform/win32/windows_api.h"

namespace platform {

bool ReadTimeZone(TimeZoneInfo& info) {
  TIME_ZONE_INFORMATION zone;
  const DWORD status = ::GetTimeZoneInformation(&zone);
  switch (status) {
    case TIME_ZONE_ID_UNKNOWN:
      info.Status = tzUnknown;
      break;
    case TIME_ZONE_ID_STANDARD:
      info.Status = tzStandard;
      break;
    case TIME_ZONE_ID_DAYLIGHT:
      info.Status = tzDaylight;
      break;
    default:
      info.Status = tzInvalid;
      return false;
  }
  info.Bias = static_cast<int>(zone.Bias);
  info.StandardBias = static_cast<int>(zone.StandardBias);
  info.DaylightBias = static_cast<int>(zone.DaylightBias);
  return true;
}

}  // namespace platform
