#pragma once
// The base of every network component: work events that count the bytes a
// transfer consumes or sends, status events with fixed texts, and the notice
// a component gives the components that refer to it when it is destroyed.
// Constructing a component also registers it with the process-wide socket
// stack (net/stack.h).

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

#include "core/ansistring.h"
#include "core/format.h"

enum TWorkMode { wkRead = 0, wkWrite = 1 };

enum TNetStatus {
  stResolving = 0,
  stConnecting = 1,
  stConnected = 2,
  stDisconnecting = 3,
  stDisconnected = 4,
  stText = 5,
};

class TNetComponent;

using TNetStatusEvent =
    std::function<void(TNetComponent* ASender, TNetStatus AStatus, const AnsiString& AStatusText)>;
using TWorkEvent =
    std::function<void(TNetComponent* Sender, TWorkMode AWorkMode, int64_t AWorkCount)>;
using TWorkBeginEvent =
    std::function<void(TNetComponent* Sender, TWorkMode AWorkMode, int64_t AWorkCountMax)>;
using TWorkEndEvent = std::function<void(TNetComponent* Sender, TWorkMode AWorkMode)>;
using TNotifyEvent = std::function<void(TNetComponent* Sender)>;

// The format text of a status: "Resolving hostname %s.", "Connected." ...
const AnsiString& StatusFormat(TNetStatus status);

class TNetComponent {
 public:
  TNetComponent();
  virtual ~TNetComponent();
  TNetComponent(const TNetComponent&) = delete;
  TNetComponent& operator=(const TNetComponent&) = delete;

  TNetStatusEvent OnStatus;
  TWorkEvent OnWork;
  TWorkBeginEvent OnWorkBegin;
  TWorkEndEvent OnWorkEnd;

  // Only the outermost start of a mode raises OnWorkBegin and resets the
  // running total; OnWork carries that total, never the increment.
  virtual void StartWork(TWorkMode mode, int64_t max);
  virtual void ReportWork(TWorkMode mode, int64_t count);
  virtual void FinishWork(TWorkMode mode);

  // Formats the status text with the arguments (one empty text when none are
  // given) and raises OnStatus; nothing at all when OnStatus is not set.
  void ReportStatus(TNetStatus status);
  void ReportStatus(TNetStatus status, std::initializer_list<FormatArg> args);

  int64_t WorkCount(TWorkMode mode) const { return work[mode].count; }
  int WorkLevel(TWorkMode mode) const { return work[mode].level; }

  // Asks for a call of Notification(this) on other when this component is
  // destroyed, and the other way round.
  void FreeNotification(TNetComponent* other);
  void RemoveFreeNotification(TNetComponent* other);

 protected:
  // Called when a component this one refers to is being destroyed.
  virtual void Notification(TNetComponent*) {}

 private:
  struct WorkState {
    int64_t count = 0;
    int64_t max = 0;
    int level = 0;
  };
  WorkState work[2];
  std::vector<TNetComponent*> watchers;
};
