#pragma once
// The dates of HTTP headers and cookies. Reading accepts the three forms
// ("Sun, 06 Nov 1994 08:49:37 GMT", "Sunday, 06-Nov-94 08:49:37 GMT",
// "Sun Nov  6 08:49:37 1994") and never raises for a bad text; writing
// gives English day and month names whatever the system's language. Time
// offsets and date-times are day fractions (one hour is 1/24).
//
//   TDateTime local = InternetDateToLocal("Sun, 06 Nov 1994 08:49:37 GMT");
//   AnsiString text = FormatGmtDate(local);

#include "core/ansistring.h"
#include "core/datetime.h"
#include "net/exceptions.h"

QD_DECLARE_EXCEPTION(ENetFailedToRetreiveTimeZoneInfo, ENetException);

// Reads a date and time from the start of AText and leaves the rest (the
// zone part) in AText; 0 when the text cannot be read.
TDateTime ParseInternetDate(AnsiString& AText);
// A date with its zone, turned into local time.
TDateTime InternetDateToLocal(const AnsiString& AText);
// "+hhmm" or "-hhmm" as an offset; anything else gives 0.
TDateTime ZoneTextToOffset(const AnsiString& AText);
// Local time minus UTC; raises ENetFailedToRetreiveTimeZoneInfo "Failed
// attempting to retrieve time zone information." when the system cannot tell.
TDateTime LocalUtcOffset();
// The current local date-time.
TDateTime LocalNow();
// "Sun, 6 Nov 1994 08:49:37 +0300", with the local zone offset.
AnsiString FormatInternetDate(TDateTime ADate);
// "Sun, 06 Nov 1994 08:49:37 GMT"; the date-time is not converted.
AnsiString FormatGmtDate(TDateTime ADate);
AnsiString FormatZoneOffset(TDateTime AOffset, bool AUseGmt);
// 1 to 7 for "SUN" to "SAT" (any case), 1 to 12 for "JAN" to "DEC", else 0.
int DayNameIndex(const AnsiString& AText);
int MonthNameIndex(const AnsiString& AText);
// The English abbreviations, Sunday and January first.
extern const char* const DayNames[7];
extern const char* const MonthNames[12];
