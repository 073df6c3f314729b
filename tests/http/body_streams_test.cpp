#include <gtest/gtest.h>

#include <cstdio>

#include <random>
#include <string>

#include "http/body_streams.h"

namespace {

// The byte at offset i of the growing bodies below.
char PatternAt(int64_t i) {
  return static_cast<char>('a' + (i * 7 + i / 4099) % 26);
}

// A body of unknown length written in random pieces, past several of the
// blocks that hold a grown body, then a step that needs the bytes in one
// place: each row ends with the text that must come out.
TEST(StringMemoryStream, GrowingBodyComesOutWhole) {
  constexpr int64_t total = (13 << 20) + 12345;
  const unsigned seed = std::random_device{}();
  std::printf("StringMemoryStream.GrowingBodyComesOutWhole seed %u\n", seed);
  std::mt19937 rnd(seed);
  std::string expected(static_cast<size_t>(total), '\0');
  for (int64_t i = 0; i < total; ++i) expected[static_cast<size_t>(i)] = PatternAt(i);
  enum Then { kTake, kReadMiddle, kOverwriteMiddle, kShrink, kGrowAfterRead };
  for (Then then : {kTake, kReadMiddle, kOverwriteMiddle, kShrink, kGrowAfterRead}) {
    SCOPED_TRACE("case " + std::to_string(then));
    TNetStringMemoryStream s;
    for (int64_t at = 0; at < total;) {
      const int64_t n = std::min<int64_t>(total - at, 1 + rnd() % 70000);
      s.WriteBuffer(expected.data() + at, n);
      at += n;
      ASSERT_EQ(s.Size(), at);
      ASSERT_EQ(s.Position(), at);
    }
    std::string want = expected;
    switch (then) {
      case kTake:
        break;
      case kReadMiddle: {
        s.SetPosition(9 << 20);
        char back[8];
        s.ReadBuffer(back, 8);
        EXPECT_EQ(std::string(back, 8), expected.substr(9 << 20, 8));
        break;
      }
      case kOverwriteMiddle:
        s.SetPosition(6 << 20);
        s.WriteBuffer("XYZ", 3);
        want.replace(6 << 20, 3, "XYZ");
        break;
      case kShrink:
        s.SetSize(1000);
        want.resize(1000);
        break;
      case kGrowAfterRead: {
        // Reading gathers the blocks; appending afterwards grows again.
        s.SetPosition(0);
        char first;
        s.ReadBuffer(&first, 1);
        s.SetPosition(s.Size());
        s.WriteBuffer(expected.data(), 3 << 20);
        want += expected.substr(0, 3 << 20);
        break;
      }
    }
    const AnsiString text = s.TakeText();
    ASSERT_EQ(text.size(), want.size());
    EXPECT_TRUE(text == want);
    EXPECT_EQ(s.Size(), 0);
  }
}

TEST(StringMemoryStream, PresizeWriteAndTake) {
  TNetStringMemoryStream s;
  s.SetSize(10);
  EXPECT_EQ(s.Size(), 10);
  s.WriteBuffer("abc", 3);
  s.SetPosition(8);
  s.WriteBuffer("xyz", 3);
  EXPECT_EQ(s.Size(), 11);
  s.SetPosition(0);
  char back[11];
  s.ReadBuffer(back, 11);
  EXPECT_EQ(std::string(back, 11), std::string("abc\0\0\0\0\0xyz", 11));
  s.SetSize(5);
  const AnsiString text = s.TakeText();
  EXPECT_EQ(text, std::string("abc\0\0", 5));
  EXPECT_EQ(s.Size(), 0);
}

TEST(StringMemoryStream, TakeHandsOverTheBufferItself) {
  TNetStringMemoryStream s;
  s.SetSize(1 << 20);
  const std::string chunk(4096, 'q');
  for (int i = 0; i < 256; ++i) s.WriteBuffer(chunk.data(), 4096);
  s.SetPosition(0);
  char first;
  s.ReadBuffer(&first, 1);
  const AnsiString text = s.TakeText();
  EXPECT_EQ(text.size(), 1u << 20);
  // One reservation for the presized length: the text keeps that block.
  EXPECT_LT(text.capacity(), (1u << 20) + 64);
  EXPECT_EQ(first, 'q');
}

TEST(BoundedTextStream, KeepsTheFirstBytes) {
  TNetBoundedTextStream s(4);
  s.SetSize(100);
  s.WriteBuffer("abcdefgh", 8);
  EXPECT_EQ(s.DataString(), "abcd");
  EXPECT_EQ(s.Position(), 8);
  s.SetSize(s.Position());
  EXPECT_EQ(s.Size(), 8);
  TNetBoundedTextStream none(0);
  none.WriteBuffer("abc", 3);
  EXPECT_EQ(none.DataString(), "");
}

}  // namespace
