#include "core/datetime.h"

#include <cmath>

#include "core/exceptions.h"

namespace {

constexpr int64_t kUnixEpochDays = 25569;  // 1970-01-01 as a day count
constexpr double kMsPerDay = 86400000.0;

bool isLeap(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

// Days from 0001-01-01 in the proleptic Gregorian calendar.
int64_t daysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;  // days since 1970-01-01
}

void civilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= daysInMonth(year, month);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& out) {
  if (!IsValidDate(year, month, day)) return false;
  out = static_cast<double>(daysFromCivil(year, month, day) + kUnixEpochDays);
  return true;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& out) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999)
    return false;
  out = ((hour * 3600.0 + minute * 60.0 + second) * 1000.0 + millisecond) / kMsPerDay;
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime r;
  if (!TryEncodeDate(year, month, day, r)) throw EConvertError("Invalid argument to date encode");
  return r;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  TDateTime r;
  if (!TryEncodeTime(hour, minute, second, millisecond, r))
    throw EConvertError("Invalid argument to time encode");
  return r;
}

DateParts DecodeDateTime(TDateTime value) {
  // Work in whole milliseconds so that rounding never yields 60 seconds.
  const auto totalMs = static_cast<int64_t>(std::llround(value * kMsPerDay));
  int64_t days = totalMs / 86400000;
  int64_t msOfDay = totalMs % 86400000;
  if (msOfDay < 0) {
    msOfDay += 86400000;
    --days;
  }
  DateParts p{};
  civilFromDays(days - kUnixEpochDays, p.Year, p.Month, p.Day);
  p.Hour = static_cast<int>(msOfDay / 3600000);
  p.Minute = static_cast<int>(msOfDay / 60000 % 60);
  p.Second = static_cast<int>(msOfDay / 1000 % 60);
  p.Millisecond = static_cast<int>(msOfDay % 1000);
  // 1899-12-30 was a Saturday (7).
  p.DayOfWeek = static_cast<int>(((days % 7) + 7 + 6) % 7) + 1;
  return p;
}

TDateTime UnixToDateTime(int64_t seconds) {
  return static_cast<double>(kUnixEpochDays) + static_cast<double>(seconds) / 86400.0;
}

int64_t DateTimeToUnix(TDateTime value) {
  return std::llround((value - static_cast<double>(kUnixEpochDays)) * 86400.0);
}
