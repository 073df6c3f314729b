#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "platform/codepage.h"

namespace {

TEST(CodePage, Windows1251RoundTrip) {
  const std::string utf8 = "Тип Дата Описание Ёё №";
  const AnsiString ansi = Cp1251(utf8);
  EXPECT_EQ(ansi, "\xD2\xE8\xEF \xC4\xE0\xF2\xE0 \xCE\xEF\xE8\xF1\xE0\xED\xE8\xE5 \xA8\xB8 \xB9");
  EXPECT_EQ(platform::AnsiToUtf8(ansi), utf8);
  EXPECT_EQ(platform::Utf8ToAnsi(utf8), ansi);
  EXPECT_EQ(platform::Utf8ToAnsi("日本"), "??");
}

TEST(CodePage, OemNamesBecomeAnsi) {
  // "Тест" in code page 866.
  EXPECT_EQ(platform::OemToAnsi("\x92\xA5\xE1\xE2"), Cp1251("Тест"));
}

TEST(CodePage, CaseFollowsCyrillicLetters) {
  EXPECT_EQ(platform::AnsiUpperCase(Cp1251("абвгд ёжз abc")), Cp1251("АБВГД ЁЖЗ ABC"));
  EXPECT_EQ(platform::AnsiLowerCase(Cp1251("ЯЁЇ XYZ")), Cp1251("яёї xyz"));
  EXPECT_EQ(platform::AnsiCompareText(Cp1251("файл.TXT"), Cp1251("ФАЙЛ.txt")), 0);
  EXPECT_LT(platform::AnsiCompareText("a", "B"), 0);
}

}  // namespace
