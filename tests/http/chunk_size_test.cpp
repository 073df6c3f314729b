#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "http/chunk_size.h"

namespace {

TEST(ParseChunkSize, Table) {
  const char* const invalid = "Invalid chunk size line.";
  const char* const tooLarge = "Chunk size out of range.";
  const struct {
    std::string line;
    std::optional<int> size;
    const char* message;
  } cases[] = {
      {"0", 0, nullptr},
      {"5", 5, nullptr},
      {"1a", 26, nullptr},
      {"1A", 26, nullptr},
      {"aBcD", 0xabcd, nullptr},
      {"00000010", 16, nullptr},
      {"7fffffff", 2147483647, nullptr},
      {"1a;name=value", 26, nullptr},
      {"1a ; name=\"v;w\"", 26, nullptr},
      {"1a\t;x", 26, nullptr},
      {"  1a", 26, nullptr},
      {"1a   ", 26, nullptr},
      {"1a junk", 26, nullptr},
      {"0;last", 0, nullptr},
      {"", std::nullopt, invalid},
      {"   ", std::nullopt, invalid},
      {";ext", std::nullopt, invalid},
      {"zz", std::nullopt, invalid},
      {"1g", std::nullopt, invalid},
      {"-1", std::nullopt, invalid},
      {"+5", std::nullopt, invalid},
      {"0x10", std::nullopt, invalid},
      {std::string("1\0", 2), std::nullopt, invalid},
      {"80000000", std::nullopt, tooLarge},
      {"ffffffffff", std::nullopt, tooLarge},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.line));
    try {
      const int size = ParseChunkSize(c.line);
      EXPECT_EQ(std::optional<int>(size), c.size);
    } catch (const ENetChunkSizeError& e) {
      EXPECT_FALSE(c.size.has_value());
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

}  // namespace
