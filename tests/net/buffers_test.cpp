#include <gtest/gtest.h>

#include <vector>

#include "net/buffers.h"
#include "net/exceptions.h"

namespace {

TEST(ManagedBuffer, ConsumesFromTheFrontAndCompactsAtTheThreshold) {
  TNetManagedBuffer b;
  std::vector<int64_t> consumed;
  b.OnConsumed = [&](int64_t n) { consumed.push_back(n); };
  const std::string data(40000, 'a');
  b.Append(data.data(), 40000);
  b.Append("tail", 4);
  EXPECT_EQ(b.TakeText(30000), std::string(30000, 'a'));
  EXPECT_EQ(b.ConsumedCount, 30000);
  EXPECT_EQ(b.Size(), 10004);
  b.Consume(2768);  // reaches 32768: the rest moves to the front
  EXPECT_EQ(b.ConsumedCount, 0);
  EXPECT_EQ(b.Size(), 7236);
  EXPECT_EQ(std::string(b.Data() + 7232, 4), "tail");
  b.Consume(7236);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(consumed, (std::vector<int64_t>{30000, 2768, 7236}));
}

TEST(ManagedBuffer, TakingMoreThanQueuedRaisesAndKeepsTheBytes) {
  TNetManagedBuffer b;
  b.Append("abc", 3);
  try {
    b.TakeText(4);
    FAIL();
  } catch (const ENetNotEnoughDataInBuffer& e) {
    EXPECT_EQ(e.Message, "Not enough data in buffer.");
  }
  EXPECT_EQ(b.TakeText(3), "abc");
}

TEST(ManagedBuffer, ClearReportsNothing) {
  TNetManagedBuffer b;
  int calls = 0;
  b.OnConsumed = [&](int64_t) { ++calls; };
  b.Append("abc", 3);
  b.Consume(1);
  b.Clear();
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.ConsumedCount, 0);
  EXPECT_EQ(calls, 1);
}

TEST(SimpleBuffer, ConsumeMovesTheRestAtOnce) {
  TNetSimpleBuffer b;
  b.Append("head-rest", 9);
  b.Consume(5);
  EXPECT_EQ(std::string(b.Data(), static_cast<size_t>(b.Size())), "rest");
}

}  // namespace
