// The bounded body stream and the serial read from the registry's bytes.

#include <gtest/gtest.h>

#include <string>

#include "app/bounded_body.h"
#include "app/update_serial.h"

namespace {

TEST(BoundedBody, KeepsUpToTheLimitAndRefusesOneByteMore) {
  TBoundedBody body(10);
  body.WriteBuffer("hello", 5);
  body.WriteBuffer("world", 5);
  EXPECT_EQ(body.Data(), "helloworld");
  EXPECT_THROW(body.Write("!", 1), EBodyTooLong);
  EXPECT_EQ(body.Data(), "helloworld");
}

TEST(BoundedBody, AnnouncedLengthPastTheLimitIsRefusedBeforeAnyByte) {
  TBoundedBody body(100);
  EXPECT_THROW(body.SetSize(101), EBodyTooLong);
  EXPECT_THROW(body.SetSize(int64_t{64} << 20), EBodyTooLong);
  EXPECT_EQ(body.Size(), 0);
  body.SetSize(100);
  EXPECT_EQ(body.Size(), 100);
}

TEST(BoundedBody, StartsOverWhenTheClientRewinds) {
  // A redirect makes the client truncate the body to where it began.
  TBoundedBody body(4);
  body.WriteBuffer("abcd", 4);
  body.SetPosition(0);
  body.SetSize(0);
  body.WriteBuffer("xy", 2);
  EXPECT_EQ(body.Data(), "xy");
  EXPECT_EQ(body.Position(), 2);
}

TEST(BoundedBody, ZeroLimitTakesNothing) {
  TBoundedBody body(0);
  EXPECT_EQ(body.Write("", 0), 0);
  EXPECT_THROW(body.Write("a", 1), EBodyTooLong);
}

TEST(UpdateSerial, FromTheValuesBytes) {
  const struct {
    std::string data;
    uint64_t serial;
  } rows[] = {
      {std::string("2026121101\0", 11), 2026121101},
      {"2026121101", 2026121101},
      {std::string("7\0\0", 3), 7},
      {"0", 0},
      {"", 0},
      {std::string(1, '\0'), 0},
      {"12a", 0},
      {" 12", 0},
      {"-3", 0},
      {std::string("1\0002", 3), 0},
      {"9223372036854775807", 9223372036854775807u},
      {"9223372036854775808", 0},
      {"\xff\xfe", 0},
  };
  for (const auto& row : rows) EXPECT_EQ(UpdateSerialFromValue(row.data), row.serial) << row.data;
}

}  // namespace
