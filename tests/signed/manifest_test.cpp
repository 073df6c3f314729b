// The manifest's grammar, one row a case: what is a manifest and what it
// says, and every near miss that is not.

#include <gtest/gtest.h>

#include <string>

#include "app/update_manifest.h"

namespace {

const std::string hexA(64, 'a');
const std::string hexB = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";

std::string Manifest(const std::string& serial = "2026121101", const std::string& eol = "\n",
                     const std::string& last = "\n") {
  return "qdupdate-manifest 1" + eol + "serial " + serial + eol + "file qd.zip 425123 sha256 " +
         hexA + eol + "file newupd.dat 1234 sha256 " + hexB + last;
}

struct ParseCase {
  const char* name;
  std::string text;
  bool valid;
  uint64_t serial = 0;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
  *os << c.name;
}

class ManifestParseTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ManifestParseTest, Parses) {
  const auto& c = GetParam();
  const auto m = ParseUpdateManifest(c.text);
  ASSERT_EQ(m.has_value(), c.valid) << c.text;
  if (!m) return;
  EXPECT_EQ(m->Serial, c.serial);
  EXPECT_EQ(m->Package.Size, 425123u);
  EXPECT_EQ(m->UpdateList.Size, 1234u);
  for (uint8_t b : m->Package.Sha256) EXPECT_EQ(b, 0xaa);
  EXPECT_EQ(m->UpdateList.Sha256[0], 0x01);
  EXPECT_EQ(m->UpdateList.Sha256[7], 0xef);
  EXPECT_EQ(m->UpdateList.Sha256[31], 0xef);
}

std::string Replace(std::string s, const std::string& from, const std::string& to) {
  s.replace(s.find(from), from.size(), to);
  return s;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ManifestParseTest,
    testing::Values(
        ParseCase{"lf", Manifest(), true, 2026121101},
        ParseCase{"crlf", Manifest("2026121101", "\r\n", "\r\n"), true, 2026121101},
        ParseCase{"last_end_missing", Manifest("2026121101", "\n", ""), true, 2026121101},
        ParseCase{"mixed_ends", Manifest("7", "\r\n", "\n"), true, 7},
        ParseCase{"serial_one", Manifest("1"), true, 1},
        ParseCase{"serial_max", Manifest("9223372036854775807"), true, 9223372036854775807u},
        ParseCase{"serial_past_max", Manifest("9223372036854775808"), false},
        ParseCase{"serial_huge", Manifest("99999999999999999999999"), false},
        ParseCase{"serial_zero", Manifest("0"), false},
        ParseCase{"serial_leading_zero", Manifest("01"), false},
        ParseCase{"serial_sign", Manifest("+1"), false},
        ParseCase{"serial_negative", Manifest("-1"), false},
        ParseCase{"serial_empty", Manifest(""), false},
        ParseCase{"serial_hex", Manifest("0x10"), false},
        ParseCase{"serial_trailing_blank", Manifest("5 "), false}, ParseCase{"empty", "", false},
        ParseCase{"first_line_only", "qdupdate-manifest 1\n", false},
        ParseCase{"version_2", Replace(Manifest(), "manifest 1", "manifest 2"), false},
        ParseCase{"upper_case_keyword", Replace(Manifest(), "serial", "Serial"), false},
        ParseCase{"double_blank", Replace(Manifest(), "file qd.zip ", "file qd.zip  "), false},
        ParseCase{"tab", Replace(Manifest(), "serial ", "serial\t"), false},
        ParseCase{"leading_blank", " " + Manifest(), false},
        ParseCase{"lone_cr", Manifest("3", "\r", "\r"), false},
        ParseCase{"cr_at_end_only", Manifest("3", "\n", "\r"), false},
        ParseCase{"empty_line_between", Replace(Manifest(), "serial", "\nserial"), false},
        ParseCase{"empty_line_at_end", Manifest() + "\n", false},
        ParseCase{"trailing_text", Manifest() + "x", false},
        ParseCase{"trailing_zero_byte", Manifest() + std::string(1, '\0'), false},
        ParseCase{"files_swapped",
                  "qdupdate-manifest 1\nserial 5\nfile newupd.dat 1234 sha256 " + hexB +
                      "\nfile qd.zip 425123 sha256 " + hexA + "\n",
                  false},
        ParseCase{"package_twice",
                  Replace(Manifest(), "file newupd.dat 1234 sha256 " + hexB,
                          "file qd.zip 1234 sha256 " + hexB),
                  false},
        ParseCase{"list_missing",
                  "qdupdate-manifest 1\nserial 5\nfile qd.zip 425123 sha256 " + hexA + "\n", false},
        ParseCase{"extra_file_line", Manifest() + "file other 1 sha256 " + hexA + "\n", false},
        ParseCase{"upper_case_hex", Replace(Manifest(), hexA, std::string(64, 'A')), false},
        ParseCase{"short_hash", Replace(Manifest(), hexA, std::string(63, 'a')), false},
        ParseCase{"long_hash", Replace(Manifest(), hexA, std::string(65, 'a')), false},
        ParseCase{"non_hex_hash", Replace(Manifest(), hexA, std::string(63, 'a') + "g"), false},
        ParseCase{"size_leading_zero", Replace(Manifest(), "425123", "0425123"), false},
        ParseCase{"size_sign", Replace(Manifest(), "425123", "+425123"), false},
        ParseCase{"size_empty", Replace(Manifest(), " 425123 ", "  "), false},
        ParseCase{"size_past_max", Replace(Manifest(), "425123", "9223372036854775808"), false},
        ParseCase{"other_algorithm", Replace(Manifest(), "sha256 " + hexA, "sha512 " + hexA),
                  false},
        ParseCase{"other_name", Replace(Manifest(), "qd.zip", "qd.ZIP"), false},
        ParseCase{"over_the_size_limit", Manifest("2026121101", "\n", "") + std::string(4097, '\n'),
                  false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ManifestParse, ZeroSizeIsAFile) {
  const auto m = ParseUpdateManifest(Replace(Manifest(), " 1234 ", " 0 "));
  ASSERT_TRUE(m.has_value());
  EXPECT_EQ(m->UpdateList.Size, 0u);
  EXPECT_FALSE(ParseUpdateManifest(Replace(Manifest(), " 1234 ", " 00 ")).has_value());
}

// The publisher's form of a manifest is the canonical text, and reads back.
TEST(ManifestFormat, WritesTheCanonicalText) {
  TUpdateManifest m;
  m.Serial = 2026121101;
  m.Package.Size = 425123;
  m.Package.Sha256.fill(0xaa);
  m.UpdateList.Size = 1234;
  for (size_t i = 0; i < 32; ++i) m.UpdateList.Sha256[i] = static_cast<uint8_t>((i % 8) * 0x22 + 1);
  const std::string text = FormatUpdateManifest(m);
  EXPECT_EQ(text,
            "qdupdate-manifest 1\nserial 2026121101\n"
            "file qd.zip 425123 sha256 " +
                hexA +
                "\nfile newupd.dat 1234 sha256 "
                "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef\n");
  const auto back = ParseUpdateManifest(text);
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->UpdateList.Sha256, m.UpdateList.Sha256);
}

}  // namespace
