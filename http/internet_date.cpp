#include "http/internet_date.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "core/decimal.h"
#include "core/format.h"
#include "http/text_tokens.h"
#include "platform/timezone.h"

const char* const DayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const MonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

namespace {

// A plain decimal number with an optional sign; none for anything else or
// for a value that does not fit.
std::optional<int> DecimalValue(const AnsiString& text) {
  const auto value = ParseDecimal(text, {-2147483647, 2147483647, true});
  if (!value) return std::nullopt;
  return static_cast<int>(*value);
}

int IndexIn(const char* const* names, int count, const AnsiString& text) {
  const AnsiString upper = UpperCase(text);
  for (int i = 0; i < count; ++i) {
    if (upper == UpperCase(names[i])) return i + 1;
  }
  return 0;
}

}  // namespace

int DayNameIndex(const AnsiString& AText) {
  return IndexIn(DayNames, 7, AText);
}

int MonthNameIndex(const AnsiString& AText) {
  return IndexIn(MonthNames, 12, AText);
}

TDateTime ParseInternetDate(AnsiString& AText) {
  AText = Trim(AText);
  if (AText.empty()) return 0;
  if (DayNameIndex(AText.substr(0, 3)) != 0) {
    if (AText.size() >= 5 && AText[3] == ',' && AText[4] != ' ')
      AText = AText.substr(0, 4) + " " + AText.substr(4);
    CutToken(AText, " ");
    AText = TrimLeft(AText);
  }
  const int dash = Pos("-", AText);
  const int blank = Pos(" ", AText);
  const std::string_view separator = dash >= 2 && blank > 0 && dash < blank ? "-" : " ";
  AnsiString peek = AText;
  const bool monthFirst = MonthNameIndex(CutToken(peek, separator)) != 0;
  int month = 0;
  int day = 1;
  auto readMonth = [&] {
    month = MonthNameIndex(CutToken(AText, separator));
    AText = TrimLeft(AText);
  };
  auto readDay = [&] {
    day = DecimalValue(CutToken(AText, separator)).value_or(1);
    AText = TrimLeft(AText);
  };
  if (monthFirst) {
    readMonth();
    readDay();
  } else {
    readDay();
    readMonth();
  }
  // A token that is not a number is the time of the form that writes the
  // year last.
  AnsiString token = CutToken(AText, " ");
  const std::optional<int> yearFirst = DecimalValue(token);
  int year = yearFirst.value_or(1900);
  if (!yearFirst) {
    year = DecimalValue(AText).value_or(1900);
    AText = token;
  }
  if (year >= 0 && year < 80) {
    year += 2000;
  } else if (year >= 80 && year <= 99) {
    year += 1900;
  }
  TDateTime date;
  if (!TryEncodeDate(year, month, day, date)) {
    AText.clear();
    return 0;
  }
  if (Pos(":", AText) > 0) {
    AnsiString clock = CutToken(AText, " ");
    const int hours = DecimalValue(CutToken(clock, ":")).value_or(0);
    const int minutes = DecimalValue(CutToken(clock, ":")).value_or(0);
    const int seconds = DecimalValue(CutToken(clock, " ")).value_or(0);
    TDateTime time;
    if (!TryEncodeTime(hours, minutes, seconds, 0, time)) {
      AText.clear();
      return 0;
    }
    date += time;
  }
  AText = TrimLeft(AText);
  return date;
}

TDateTime ZoneTextToOffset(const AnsiString& AText) {
  const AnsiString zone = Trim(AText).substr(0, 5);
  if (zone.size() < 5 || (zone[0] != '+' && zone[0] != '-')) return 0;
  for (size_t i = 1; i < 5; ++i) {
    if (zone[i] < '0' || zone[i] > '9') return 0;
  }
  const int hours = (zone[1] - '0') * 10 + (zone[2] - '0');
  const int minutes = (zone[3] - '0') * 10 + (zone[4] - '0');
  const TDateTime offset = (hours * 60.0 + minutes) / 1440.0;
  return zone[0] == '-' ? -offset : offset;
}

TDateTime LocalUtcOffset() {
  platform::TimeZoneInfo zone;
  if (!platform::ReadTimeZone(zone)) {
    throw ENetFailedToRetreiveTimeZoneInfo("Failed attempting to retrieve time zone information.");
  }
  int bias = zone.Bias;
  switch (zone.Status) {
    case platform::tzUnknown:
      break;
    case platform::tzStandard:
      bias += zone.StandardBias;
      break;
    case platform::tzDaylight:
      bias += zone.DaylightBias;
      break;
    default:
      throw ENetFailedToRetreiveTimeZoneInfo(
          "Failed attempting to retrieve time zone information.");
  }
  const TDateTime magnitude = std::abs(bias) / 1440.0;
  return bias > 0 ? -magnitude : magnitude;
}

TDateTime LocalNow() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const double seconds = std::chrono::duration<double>(now).count();
  return UnixToDateTime(0) + seconds / 86400.0 + LocalUtcOffset();
}

TDateTime InternetDateToLocal(const AnsiString& AText) {
  AnsiString rest = AText;
  TDateTime date = ParseInternetDate(rest);
  if (rest.size() > 4) date -= ZoneTextToOffset(rest);
  return date + LocalUtcOffset();
}

AnsiString FormatZoneOffset(TDateTime AOffset, bool AUseGmt) {
  if (AUseGmt && AOffset == 0) return "GMT";
  const int64_t minutes = std::llround(std::abs(AOffset) * 1440.0);
  AnsiString text = Format(" %0.2d%0.2d", {minutes / 60, minutes % 60});
  text[0] = AOffset < 0 ? '-' : '+';
  return text;
}

namespace {

AnsiString ClockText(const DateParts& p) {
  return Format("%.2d:%.2d:%.2d", {p.Hour, p.Minute, p.Second});
}

}  // namespace

AnsiString FormatInternetDate(TDateTime ADate) {
  const DateParts p = DecodeDateTime(ADate);
  return Format("%s, %d %s %d %s %s",
                {DayNames[p.DayOfWeek - 1], p.Day, MonthNames[p.Month - 1], p.Year, ClockText(p),
                 FormatZoneOffset(LocalUtcOffset(), false)});
}

AnsiString FormatGmtDate(TDateTime ADate) {
  const DateParts p = DecodeDateTime(ADate);
  return Format("%s, %.2d %s %.4d %s %s", {DayNames[p.DayOfWeek - 1], p.Day,
                                           MonthNames[p.Month - 1], p.Year, ClockText(p), "GMT"});
}
