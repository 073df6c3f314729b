#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/component.h"

namespace {

// Every work and status event of a component, as text.
struct EventLog {
  explicit EventLog(TNetComponent& c) {
    c.OnWorkBegin = [this](TNetComponent*, TWorkMode m, int64_t max) {
      events.push_back("begin " + std::to_string(m) + " " + std::to_string(max));
    };
    c.OnWork = [this](TNetComponent*, TWorkMode m, int64_t n) {
      events.push_back("work " + std::to_string(m) + " " + std::to_string(n));
    };
    c.OnWorkEnd = [this](TNetComponent*, TWorkMode m) {
      events.push_back("end " + std::to_string(m));
    };
    c.OnStatus = [this](TNetComponent*, TNetStatus s, const AnsiString& text) {
      events.push_back("status " + std::to_string(s) + " " + text);
    };
  }
  std::vector<std::string> events;
};

TEST(NetComponent, NestedWorkKeepsTheRunningTotalAndOneBeginEnd) {
  TNetComponent c;
  EventLog log(c);
  c.ReportWork(wkRead, 7);  // outside a phase: nothing
  c.StartWork(wkRead, 100);
  c.ReportWork(wkRead, 10);
  c.StartWork(wkRead, 5);  // nested: no begin, no reset
  c.ReportWork(wkRead, 20);
  c.ReportWork(wkWrite, 3);  // the other mode has no phase
  c.FinishWork(wkRead);      // nested: no end
  c.ReportWork(wkRead, 1);
  c.FinishWork(wkRead);
  c.FinishWork(wkRead);  // unbalanced: nothing, and the next phase still begins
  c.StartWork(wkRead, 2);
  c.FinishWork(wkRead);
  const std::vector<std::string> want = {"begin 0 100", "work 0 10", "work 0 30", "work 0 31",
                                         "end 0",       "begin 0 2", "end 0"};
  EXPECT_EQ(log.events, want);
}

TEST(NetComponent, StatusTexts) {
  struct Case {
    TNetStatus status;
    std::vector<FormatArg> args;
    std::string want;
  } cases[] = {
      {stResolving, {"example.org"}, "Resolving hostname example.org."},
      {stConnecting, {"10.0.0.1"}, "Connecting to 10.0.0.1."},
      {stConnected, {}, "Connected."},
      {stDisconnecting, {}, "Disconnecting."},
      {stDisconnected, {}, "Disconnected."},
      {stText, {"Chunk Started"}, "Chunk Started"},
      {stText, {}, ""},
  };
  for (const auto& c : cases) {
    TNetComponent component;
    std::vector<std::string> got;
    TNetComponent* sender = nullptr;
    component.OnStatus = [&](TNetComponent* s, TNetStatus st, const AnsiString& text) {
      sender = s;
      EXPECT_EQ(st, c.status);
      got.push_back(text);
    };
    if (c.args.empty()) {
      component.ReportStatus(c.status);
    } else {
      component.ReportStatus(c.status, {c.args[0]});
    }
    EXPECT_EQ(got, std::vector<std::string>{c.want});
    EXPECT_EQ(sender, &component);
  }
}

TEST(NetComponent, NoStatusHandlerFormatsNothing) {
  TNetComponent c;
  // A text that cannot be formatted would raise if it were formatted.
  EXPECT_NO_THROW(c.ReportStatus(stText, {42}));
  c.OnStatus = [](TNetComponent*, TNetStatus, const AnsiString&) {};
  EXPECT_ANY_THROW(c.ReportStatus(stText, {42}));
}

TEST(NetComponent, DestructionNoticeReachesTheWatcher) {
  struct Watcher : TNetComponent {
    TNetComponent* gone = nullptr;
    void Notification(TNetComponent* c) override { gone = c; }
  } watcher;
  auto watched = std::make_unique<TNetComponent>();
  TNetComponent* address = watched.get();
  watched->FreeNotification(&watcher);
  watched.reset();
  EXPECT_EQ(watcher.gone, address);
}

}  // namespace
