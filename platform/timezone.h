#pragma once
// The system's time zone as Windows reports it: a base bias in minutes from
// local time to UTC (a zone east of UTC has a negative bias), the extra bias
// of standard and of daylight time, and which of the two is in force now.

namespace platform {

enum TimeZoneStatus { tzUnknown, tzStandard, tzDaylight, tzInvalid };

struct TimeZoneInfo {
  TimeZoneStatus Status = tzInvalid;
  int Bias = 0;
  int StandardBias = 0;
  int DaylightBias = 0;
};

// Reads the zone at this moment; false when the system cannot tell.
bool ReadTimeZone(TimeZoneInfo& info);

}  // namespace platform
