#include "ui/controls.h"

#include "ui/form.h"

namespace ui {

void TControl::Changed() {
  if (Owner.Peer) Owner.Peer->ControlChanged(*this);
}

void TLabel::SetCaption(const AnsiString& value) {
  if (value == caption) return;
  caption = value;
  Changed();
}

int TProgressGauge::PercentDone() const {
  const long range = MaxValue - MinValue;
  if (range <= 0) return 0;
  return static_cast<int>((static_cast<long long>(progress - MinValue) * 100) / range);
}

void TProgressGauge::SetProgress(long value) {
  if (value < MinValue) value = MinValue;
  if (value > MaxValue) value = MaxValue;
  if (value == progress) return;
  const int before = PercentDone();
  progress = value;
  if (PercentDone() != before) Changed();
}

}  // namespace ui
