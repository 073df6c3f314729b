#include "net/component.h"

#include <algorithm>

#include "net/stack.h"

const AnsiString& StatusFormat(TNetStatus status) {
  static const AnsiString texts[] = {
      "Resolving hostname %s.", "Connecting to %s.", "Connected.",
      "Disconnecting.",         "Disconnected.",     "%s",
  };
  static const AnsiString other = "%s";
  return status >= stResolving && status <= stText ? texts[status] : other;
}

TNetComponent::TNetComponent() {
  NetStackAddUser();
}

TNetComponent::~TNetComponent() {
  // Tell every component that refers to this one, and forget the references
  // this one holds, before the stack registration ends.
  const std::vector<TNetComponent*> others = std::move(watchers);
  watchers.clear();
  for (TNetComponent* other : others) {
    std::erase(other->watchers, this);
    other->Notification(this);
  }
  NetStackRemoveUser();
}

void TNetComponent::FreeNotification(TNetComponent* other) {
  if (other == nullptr || other == this) return;
  if (std::find(watchers.begin(), watchers.end(), other) == watchers.end()) {
    watchers.push_back(other);
    other->watchers.push_back(this);
  }
}

void TNetComponent::RemoveFreeNotification(TNetComponent* other) {
  if (other == nullptr) return;
  std::erase(watchers, other);
  std::erase(other->watchers, this);
}

void TNetComponent::StartWork(TWorkMode mode, int64_t max) {
  WorkState& w = work[mode];
  if (++w.level == 1) {
    w.max = max;
    w.count = 0;
    if (OnWorkBegin) OnWorkBegin(this, mode, max);
  }
}

void TNetComponent::ReportWork(TWorkMode mode, int64_t count) {
  WorkState& w = work[mode];
  if (w.level > 0) {
    w.count += count;
    if (OnWork) OnWork(this, mode, w.count);
  }
}

void TNetComponent::FinishWork(TWorkMode mode) {
  WorkState& w = work[mode];
  if (w.level == 1 && OnWorkEnd) OnWorkEnd(this, mode);
  if (w.level > 0) --w.level;
}

void TNetComponent::ReportStatus(TNetStatus status) {
  ReportStatus(status, {""});
}

void TNetComponent::ReportStatus(TNetStatus status, std::initializer_list<FormatArg> args) {
  if (!OnStatus) return;
  OnStatus(this, status, Format(StatusFormat(status), args));
}
