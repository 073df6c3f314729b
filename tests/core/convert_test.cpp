#include <gtest/gtest.h>

#include "core/convert.h"
#include "core/exceptions.h"

namespace {

struct IntCase {
  std::string text;
  std::optional<int32_t> value;
};

void PrintTo(const IntCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.text);
}

class StrToIntCases : public testing::TestWithParam<IntCase> {};

TEST_P(StrToIntCases, ConvertsOrRefuses) {
  const auto& c = GetParam();
  if (c.value) {
    EXPECT_EQ(StrToInt(c.text), *c.value);
  } else {
    try {
      StrToInt(c.text);
      FAIL() << "accepted '" << c.text << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, "'" + c.text + "' is not a valid integer value");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StrToIntCases,
    testing::Values(IntCase{"8080", 8080}, IntCase{"  3128", 3128}, IntCase{"+5", 5},
                    IntCase{"-12", -12}, IntCase{"$1F", 31}, IntCase{"0x1f", 31},
                    IntCase{"X10", 16}, IntCase{"-$10", -16}, IntCase{"0", 0},
                    IntCase{"2147483647", 2147483647}, IntCase{"-2147483648", INT32_MIN},
                    IntCase{"$FFFFFFFF", -1}, IntCase{"", std::nullopt},
                    IntCase{"   ", std::nullopt}, IntCase{"80 ", std::nullopt},
                    IntCase{"8o", std::nullopt}, IntCase{"2147483648", std::nullopt},
                    IntCase{"$100000000", std::nullopt}, IntCase{"0x", std::nullopt},
                    IntCase{"-", std::nullopt}, IntCase{"\t80", std::nullopt},
                    IntCase{"1.5", std::nullopt}));

}  // namespace
