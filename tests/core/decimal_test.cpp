#include <gtest/gtest.h>

#include "core/decimal.h"

namespace {

constexpr int64_t kInt64Max = std::numeric_limits<int64_t>::max();
constexpr int64_t kInt64Min = std::numeric_limits<int64_t>::min();

TEST(ParseDecimal, Table) {
  const TDecimalRule plain;
  const TDecimalRule signedAny{kInt64Min, kInt64Max, true};
  const TDecimalRule int32Length{0, 2147483647};
  const TDecimalRule octet{0, 255};
  const struct {
    const char* text;
    TDecimalRule rule;
    std::optional<int64_t> value;
  } cases[] = {
      {"0", plain, 0},
      {"42", plain, 42},
      {"007", plain, 7},
      {"000000000000000000000000000012", plain, 12},
      {"9223372036854775807", plain, kInt64Max},
      {"9223372036854775808", plain, std::nullopt},
      {"99999999999999999999999", plain, std::nullopt},
      {"", plain, std::nullopt},
      {" 1", plain, std::nullopt},
      {"1 ", plain, std::nullopt},
      {"12abc", plain, std::nullopt},
      {"1,000", plain, std::nullopt},
      {"0x10", plain, std::nullopt},
      {"+5", plain, std::nullopt},
      {"-5", plain, std::nullopt},
      {"+5", signedAny, 5},
      {"-5", signedAny, -5},
      {"-", signedAny, std::nullopt},
      {"+", signedAny, std::nullopt},
      {"--5", signedAny, std::nullopt},
      {"-9223372036854775808", signedAny, kInt64Min},
      {"-9223372036854775809", signedAny, std::nullopt},
      {"2147483647", int32Length, 2147483647},
      {"2147483648", int32Length, std::nullopt},
      {"3000000000", int32Length, std::nullopt},
      {"255", octet, 255},
      {"256", octet, std::nullopt},
      {"-0", {-10, 10, true}, 0},
      {"-11", {-10, 10, true}, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseDecimal(c.text, c.rule), c.value);
  }
}

}  // namespace
