#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "platform/codepage.h"

namespace {

// Every byte but the unused 0x98, in order.
std::string everyMappedByte() {
  std::string bytes;
  for (int b = 1; b < 256; ++b)
    if (b != 0x98) bytes += static_cast<char>(b);
  return bytes;
}

// The table of the widget sets' conversion agrees with the system's own
// converter (iconv, whose ANSI code page is Windows-1251 here) for every byte.
TEST(Cp1251Widgets, Utf8AgreesWithTheSystemConverterForEveryByte) {
  const std::string bytes = everyMappedByte();
  for (const char c : bytes) {
    const std::string one(1, c);
    EXPECT_EQ(Cp1251ToUtf8(one), platform::AnsiToUtf8(one))
        << "byte 0x" << std::hex << (static_cast<unsigned>(c) & 0xFF);
  }
}

TEST(Cp1251Widgets, Utf16RoundTripsEveryByte) {
  const std::string bytes = everyMappedByte();
  const std::u16string wide = Cp1251ToUtf16(bytes);
  ASSERT_EQ(wide.size(), bytes.size());
  EXPECT_EQ(Utf16ToCp1251(wide), bytes);
  EXPECT_EQ(Cp1251(Cp1251ToUtf8(bytes)), bytes);
}

struct WideCase {
  const char* name;
  std::string cp1251;
  std::u16string utf16;
};

class Cp1251WideCases : public testing::TestWithParam<WideCase> {};

TEST_P(Cp1251WideCases, ConvertsBothWays) {
  const WideCase& c = GetParam();
  EXPECT_EQ(Cp1251ToUtf16(c.cp1251), c.utf16);
  if (c.utf16.find(u'\uFFFD') == std::u16string::npos) {
    EXPECT_EQ(Utf16ToCp1251(c.utf16), c.cp1251);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Cp1251WideCases,
    testing::Values(WideCase{"Caption", Cp1251("Обновить"), u"Обновить"},
                    WideCase{"YoAndNumero", "\xA8\xB8\xB9", u"Ёё№"},
                    WideCase{"ZeroByteKept", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
                    WideCase{"UnusedByte", "\x98", u"\uFFFD"}),
    [](const testing::TestParamInfo<WideCase>& info) { return std::string(info.param.name); });

TEST(Cp1251Widgets, CharactersOutsideBecomeQuestionMarks) {
  EXPECT_EQ(Utf16ToCp1251(u"a\u65E5b"), "a?b");
  // A surrogate pair is one character, a lone surrogate one too.
  EXPECT_EQ(Utf16ToCp1251(u"x\U0001F600y"), "x?y");
  EXPECT_EQ(Utf16ToCp1251(std::u16string(1, u'\xD800')), "?");
}

}  // namespace
