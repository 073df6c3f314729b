#pragma once
// Date-time values: days since 1899-12-30 with the time of day as the
// fraction, in local time unless a caller says otherwise.

#include <cstdint>

using TDateTime = double;

struct DateParts {
  int Year, Month, Day;
  int Hour, Minute, Second, Millisecond;
  int DayOfWeek;  // 1 = Sunday .. 7 = Saturday, as the runtime counts
};

bool IsValidDate(int year, int month, int day);
// Raises EConvertError for a date or time out of range.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& out);
DateParts DecodeDateTime(TDateTime value);

// Seconds since the Unix epoch (UTC) <-> TDateTime in UTC.
TDateTime UnixToDateTime(int64_t seconds);
int64_t DateTimeToUnix(TDateTime value);
