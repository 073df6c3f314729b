// The strict decoder of DER ECDSA signatures, one row a case.

#include <gtest/gtest.h>

#include <string>

#include "platform/ecdsa_der.h"

namespace {

std::string Int(const std::string& value) {
  return std::string(1, '\x02') + static_cast<char>(value.size()) + value;
}

std::string Seq(const std::string& body) {
  return std::string(1, '\x30') + static_cast<char>(body.size()) + body;
}

const std::string r32(32, '\x11');
const std::string sHigh = std::string(1, '\x00') + std::string(1, '\x80') + std::string(31, '\x22');

struct DerCase {
  const char* name;
  std::string der;
  bool valid;
  // The expected r and s, 32 bytes each, when valid.
  std::string r, s;
};

void PrintTo(const DerCase& c, std::ostream* os) {
  *os << c.name;
}

class DerSignatureTest : public testing::TestWithParam<DerCase> {};

TEST_P(DerSignatureTest, Decodes) {
  const auto& c = GetParam();
  const auto raw = platform::DecodeP256DerSignature(c.der);
  ASSERT_EQ(raw.has_value(), c.valid);
  if (!raw) return;
  EXPECT_EQ(std::string(raw->begin(), raw->begin() + 32), c.r);
  EXPECT_EQ(std::string(raw->begin() + 32, raw->end()), c.s);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DerSignatureTest,
    testing::Values(
        DerCase{"full_width", Seq(Int(r32) + Int(sHigh)), true, r32, sHigh.substr(1)},
        DerCase{"short_numbers", Seq(Int("\x01") + Int("\x7f")), true,
                std::string(31, '\0') + "\x01", std::string(31, '\0') + "\x7f"},
        DerCase{"empty", "", false},
        DerCase{"not_a_sequence", "\x31" + Seq(Int(r32) + Int(r32)).substr(1), false},
        DerCase{"long_length_form", std::string("\x30\x81\x44", 3) + Int(r32) + Int(r32), false},
        DerCase{"length_past_end", Seq(Int(r32) + Int(r32)).substr(0, 60), false},
        DerCase{"trailing_byte", Seq(Int(r32) + Int(r32)) + "x", false},
        DerCase{"byte_after_s_inside", Seq(Int(r32) + Int(r32) + "x"), false},
        DerCase{"one_integer", Seq(Int(r32)), false},
        DerCase{"three_integers", Seq(Int(r32) + Int(r32) + Int(r32)), false},
        DerCase{"not_an_integer", Seq("\x04\x20" + r32 + Int(r32)), false},
        DerCase{"zero_length_integer", Seq(Int("") + Int(r32)), false},
        DerCase{"zero", Seq(Int(std::string(1, '\0')) + Int(r32)), false},
        DerCase{"negative", Seq(Int("\x80") + Int(r32)), false},
        DerCase{"needless_leading_zero", Seq(Int(std::string(1, '\0') + "\x01") + Int(r32)), false},
        DerCase{"33_significant_bytes", Seq(Int("\x01" + r32) + Int(r32)), false},
        DerCase{"integer_length_past_sequence", std::string("\x30\x24\x02\x40", 4) + r32, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
