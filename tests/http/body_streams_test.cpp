#include <gtest/gtest.h>

#include "http/body_streams.h"

namespace {

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
