#include <gtest/gtest.h>

#include "http/internet_date.h"
#include "http_test_helpers.h"

namespace {

using httptest::At;
using httptest::SameMoment;
using httptest::ZoneScope;

TEST(InternetDate, ParseTable) {
  const struct {
    const char* text;
    TDateTime date;
    const char* rest;
  } cases[] = {
      {"Sun, 06 Nov 1994 08:49:37 GMT", At(1994, 11, 6, 8, 49, 37), "GMT"},
      {"Sunday, 06-Nov-94 08:49:37 GMT", At(1994, 11, 6, 8, 49, 37), "GMT"},
      {"Sun Nov  6 08:49:37 1994", At(1994, 11, 6, 8, 49, 37), ""},
      {"Sun,06 Nov 1994 08:49:37 GMT", At(1994, 11, 6, 8, 49, 37), "GMT"},
      {"06 Nov 1994 08:49:37 +0200", At(1994, 11, 6, 8, 49, 37), "+0200"},
      {"Thu, 01-Jan-79 00:00:01 GMT", At(2079, 1, 1, 0, 0, 1), "GMT"},
      {"Tue, 01-Jan-80 00:00:01 GMT", At(1980, 1, 1, 0, 0, 1), "GMT"},
      {"mon, 07 nov 1994 10:00:00 GMT", At(1994, 11, 7, 10, 0, 0), "GMT"},
      {"Sun, 06 Nov 1994", At(1994, 11, 6, 0, 0, 0), ""},
      {"", 0, ""},
      {"garbage", 0, ""},
      {"Sun, 31 Feb 1994 08:49:37 GMT", 0, ""},
      {"Sun, 06 Nov 1994 25:00:00 GMT", 0, ""},
      {"Sun, 06 Xyz 1994 08:49:37 GMT", 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    AnsiString text = c.text;
    const TDateTime d = ParseInternetDate(text);
    EXPECT_TRUE(SameMoment(d, c.date)) << d << " vs " << c.date;
    if (c.date != 0) {
      EXPECT_EQ(text, c.rest);
    }
  }
}

TEST(InternetDate, ZoneOffsets) {
  const struct {
    const char* text;
    double hours;
  } cases[] = {{"+0200", 2},  {"-0530", -5.5},  {"GMT", 0}, {"EST", 0},
               {"+02:00", 0}, {"  +0100 x", 1}, {"+01", 0}, {"", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_TRUE(SameMoment(ZoneTextToOffset(c.text), c.hours / 24.0));
  }
}

TEST(InternetDate, ToLocalAtUtcPlus3) {
  ZoneScope zone("UTC-3");
  EXPECT_TRUE(SameMoment(LocalUtcOffset(), 3.0 / 24));
  const struct {
    const char* text;
    TDateTime local;
  } cases[] = {
      {"Sun, 06 Nov 1994 08:49:37 GMT", At(1994, 11, 6, 11, 49, 37)},
      {"Sun, 06 Nov 1994 08:49:37 +0200", At(1994, 11, 6, 9, 49, 37)},
      {"Sun, 06 Nov 1994 08:49:37 -0100", At(1994, 11, 6, 12, 49, 37)},
      {"Sun Nov  6 08:49:37 1994", At(1994, 11, 6, 11, 49, 37)},
      {"", 0.125},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_TRUE(SameMoment(InternetDateToLocal(c.text), c.local));
  }
}

TEST(InternetDate, Formatting) {
  {
    ZoneScope zone("UTC-3");
    EXPECT_EQ(FormatInternetDate(At(1994, 11, 6, 8, 49, 37)), "Sun, 6 Nov 1994 08:49:37 +0300");
    EXPECT_EQ(FormatGmtDate(At(1994, 11, 6, 8, 49, 37)), "Sun, 06 Nov 1994 08:49:37 GMT");
  }
  {
    ZoneScope zone("UTC");
    EXPECT_EQ(FormatInternetDate(At(2026, 1, 15, 23, 5, 9)), "Thu, 15 Jan 2026 23:05:09 +0000");
  }
  {
    ZoneScope zone("UTC+5:30");
    EXPECT_EQ(FormatInternetDate(At(2000, 2, 29, 0, 0, 0)), "Tue, 29 Feb 2000 00:00:00 -0530");
  }
  EXPECT_EQ(FormatZoneOffset(0, true), "GMT");
  EXPECT_EQ(FormatZoneOffset(0, false), "+0000");
  EXPECT_EQ(FormatZoneOffset(-1.0 / 24, true), "-0100");
  EXPECT_EQ(FormatZoneOffset(10.75 / 24, false), "+1045");
}

TEST(InternetDate, FormatThenParseRoundTrips) {
  ZoneScope zone("UTC-3");
  const TDateTime d = At(2031, 7, 4, 13, 14, 15);
  EXPECT_TRUE(SameMoment(InternetDateToLocal(FormatInternetDate(d)), d));
  EXPECT_TRUE(SameMoment(InternetDateToLocal(FormatGmtDate(d)), d + 3.0 / 24));
}

TEST(InternetDate, NameIndexes) {
  EXPECT_EQ(DayNameIndex("sun"), 1);
  EXPECT_EQ(DayNameIndex("SAT"), 7);
  EXPECT_EQ(DayNameIndex("Sunday"), 0);
  EXPECT_EQ(MonthNameIndex("dec"), 12);
  EXPECT_EQ(MonthNameIndex("Ja"), 0);
}

}  // namespace
