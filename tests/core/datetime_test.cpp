#include <gtest/gtest.h>

#include "core/datetime.h"

namespace {

TEST(DateTime, EncodesAndDecodes) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1970, 1, 1), 25569.0);
  EXPECT_EQ(EncodeDate(2000, 3, 1) - EncodeDate(2000, 2, 28), 2.0);  // leap year
  const DateParts p = DecodeDateTime(EncodeDate(2026, 12, 9) + EncodeTime(23, 59, 59, 999));
  EXPECT_EQ(p.Year, 2026);
  EXPECT_EQ(p.Month, 12);
  EXPECT_EQ(p.Day, 9);
  EXPECT_EQ(p.Hour, 23);
  EXPECT_EQ(p.Minute, 59);
  EXPECT_EQ(p.Second, 59);
  EXPECT_EQ(p.Millisecond, 999);
  EXPECT_EQ(p.DayOfWeek, 4);  // a Wednesday
  EXPECT_EQ(DecodeDateTime(0).DayOfWeek, 7);
  EXPECT_EQ(DateTimeToUnix(UnixToDateTime(1700000000)), 1700000000);
  TDateTime out;
  EXPECT_FALSE(TryEncodeDate(2023, 2, 29, out));
  EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, out));
}

}  // namespace
