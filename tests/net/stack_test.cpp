#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "net/component.h"
#include "net/exceptions.h"
#include "net/stack.h"
#include "net/sync.h"
#include "net_test_helpers.h"

namespace {

TEST(AddressLiteral, Forms) {
  struct Case {
    const char* text;
    const char* address;  // nullptr: not a literal
  } cases[] = {
      {"10.0.0.1", "10.0.0.1"},
      {"10.1", "10.0.0.1"},
      {"10.1.2", "10.1.0.2"},
      {"167772161", "10.0.0.1"},
      {"4294967295", "255.255.255.255"},
      {"0", "0.0.0.0"},
      {"1.16777215", "1.255.255.255"},
      {"1.2.65535", "1.2.255.255"},
      {"255.255.255.255", "255.255.255.255"},
      {"4294967296", nullptr},
      {"1.16777216", nullptr},
      {"1.2.65536", nullptr},
      {"256.1.1.1", nullptr},
      {"1.256.1.1", nullptr},
      {"1.1.1.256", nullptr},
      {"1.2.3.4.5", nullptr},
      {"1.2.3.x", nullptr},
      {"a.b.c.d", nullptr},
      {"example.org", nullptr},
      {"-1", nullptr},
      {" 1.2.3.4", nullptr},
      {"", nullptr},
      {".1", nullptr},
      {"1..2", nullptr},
  };
  TNetComponent user;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(TheStack->IsAddressLiteral(c.text), c.address != nullptr);
    if (c.address != nullptr) {
      EXPECT_EQ(TheStack->FormatAddress(TheStack->ParseAddressLiteral(c.text)), c.address);
    } else {
      try {
        TheStack->ParseAddressLiteral(c.text);
        ADD_FAILURE() << "parsed";
      } catch (const ENetInvalidIPAddress& e) {
        EXPECT_EQ(e.Message, std::string(c.text) + " is not a valid IP address.");
      }
    }
  }
}

TEST(ResolveHostAddress, LocalhostAndLiteralsNeedNoLookup) {
  TNetComponent user;
  struct Case {
    const char* host;
    const char* address;
  } cases[] = {
      {"LOCALHOST", "127.0.0.1"}, {"localhost", "127.0.0.1"}, {"LocalHost", "127.0.0.1"},
      {"10.1.2", "10.1.2"},       {"167772161", "167772161"},
  };
  for (const auto& c : cases) EXPECT_EQ(TheStack->ResolveHostAddress(c.host), c.address);
}

TEST(ResolveHostAddress, UnknownHostIs11001) {
  TNetComponent user;
  try {
    TheStack->ResolveHostAddress("no-such-host.invalid");
    FAIL() << "resolved";
  } catch (const ENetSocketError& e) {
    EXPECT_EQ(e.ErrorCode, 11001);
    EXPECT_EQ(e.Message, "Socket Error # 11001\r\nHost not found.");
  }
}

TEST(SocketError, MessagesFromTheTable) {
  TNetComponent user;
  struct Case {
    int code;
    const char* message;
  } cases[] = {
      {10061, "Socket Error # 10061\r\nConnection refused."},
      {10035, "Socket Error # 10035\r\nOperation would block. "},
      {10066, "Socket Error # 10066\r\nDirectory not empty"},
      {11001, "Socket Error # 11001\r\nHost not found."},
      {10093, "Socket Error # 10093\r\n"},
  };
  for (const auto& c : cases) {
    try {
      TheStack->RaiseSocketFailure(c.code);
    } catch (const ENetSocketError& e) {
      EXPECT_EQ(e.ErrorCode, c.code);
      EXPECT_EQ(e.Message, c.message);
    }
  }
}

TEST(CheckSocketResult, ToleratedCodesReturnTrueOthersRaise) {
  TNetComponent user;
  EXPECT_FALSE(TheStack->CheckSocketResult(0));
  EXPECT_FALSE(TheStack->CheckSocketResult(5, {10061}));
  const uint16_t port = nettest::ClosedPort();
  auto refusedConnect = [&] {
    const TNetSocket s = TheStack->NewSocket(NetSocketStream, 0);
    const int result = TheStack->Connect(s, NetAddressFamilyIPv4, {127, 0, 0, 1}, port);
    const int code = TheStack->LastErrorCode();
    TheStack->CloseSocket(s);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(code, 10061);
  };
  refusedConnect();
  EXPECT_TRUE(TheStack->CheckSocketResult(-1, {10054, 10061}));
  EXPECT_EQ(TheStack->LastSocketError, 10061);
  refusedConnect();
  EXPECT_THROW(TheStack->CheckSocketResult(-1, {10054}), ENetSocketError);
}

TEST(Select, SetOfMoreThan64SocketsIsRefused) {
  TNetComponent user;
  std::vector<TNetSocket> set(65, 0);
  try {
    TheStack->Select(set, 0);
    FAIL();
  } catch (const ENetStackSetSizeExceeded& e) {
    EXPECT_EQ(e.Message, "Set Size Exceeded.");
  }
}

TEST(TheStack, LivesWhileComponentsDo) {
  ASSERT_EQ(NetStackUsers(), 0);
  EXPECT_EQ(TheStack, nullptr);
  auto first = std::make_unique<TNetComponent>();
  TNetStack* stack = TheStack;
  ASSERT_NE(stack, nullptr);
  auto second = std::make_unique<TNetComponent>();
  EXPECT_EQ(TheStack, stack);
  EXPECT_EQ(NetStackUsers(), 2);
  first.reset();
  EXPECT_EQ(TheStack, stack);
  second.reset();
  EXPECT_EQ(NetStackUsers(), 0);
  EXPECT_EQ(TheStack, nullptr);
}

// Components made and freed on several threads at once: the count and the
// stack's life stay consistent (scripts/tsan.sh runs this under
// ThreadSanitizer, which reports any access outside the lock).
TEST(TheStack, CountedAcrossThreads) {
  ASSERT_EQ(NetStackUsers(), 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([] {
      for (int i = 0; i < 200; ++i) {
        TNetComponent component;
        EXPECT_NE(TheStack, nullptr);
        EXPECT_GE(NetStackUsers(), 1);
      }
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(NetStackUsers(), 0);
  EXPECT_EQ(TheStack, nullptr);
}

}  // namespace

namespace {

// A worker thread waited for with a limit: an ended thread is reported at
// once, one still running is not, and a later wait still finds its end.
TEST(WorkerThread, WaitWithALimit) {
  std::atomic<bool> release{false};
  std::atomic<bool> ran{false};
  TNetWorkerThread blocked([&] {
    while (!release.load()) std::this_thread::yield();
    ran.store(true);
  });
  EXPECT_FALSE(blocked.WaitFor(0));
  EXPECT_FALSE(blocked.WaitFor(20));
  release.store(true);
  EXPECT_TRUE(blocked.WaitFor(60000));
  EXPECT_TRUE(ran.load());
  // Waiting again after the end, with or without a limit, returns at once.
  EXPECT_TRUE(blocked.WaitFor(0));
  blocked.WaitFor();

  TNetWorkerThread quick([] {});
  EXPECT_TRUE(quick.WaitFor(60000));
}

}  // namespace
