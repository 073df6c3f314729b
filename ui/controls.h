#pragma once
// The widget model: portable controls that hold what the user sees. A back-end
// builds real widgets for them and is told of every change through the
// form's peer.

#include <functional>
#include <memory>

#include "core/ansistring.h"
#include "ui/types.h"

namespace ui {

class TForm;

enum TAnchor : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };

enum class TControlClass { Label, PushButton, ProgressGauge, RichStringGrid };

class TControl {
 public:
  TControl(TForm& owner, TControlClass kind) : Owner(owner), Kind(kind) {}
  virtual ~TControl() = default;
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  TForm& Owner;
  const TControlClass Kind;
  AnsiString Name;
  TRect Bounds;  // left, top, right, bottom in the form's client pixels
  unsigned Anchors = akLeft | akTop;
  TFont Font;
  TColor Color = clBtnFace;
  bool TabStop = true;
  std::function<void()> OnClick;

 protected:
  void Changed();
};

class TLabel : public TControl {
 public:
  explicit TLabel(TForm& owner) : TControl(owner, TControlClass::Label) {}
  const AnsiString& Caption() const { return caption; }
  void SetCaption(const AnsiString& value);
  bool AutoSize = false;
  bool WordWrap = true;

 private:
  AnsiString caption;
};

class TPushButton : public TControl {
 public:
  explicit TPushButton(TForm& owner) : TControl(owner, TControlClass::PushButton) {}
  AnsiString Caption;
};

// A horizontal progress bar that shows its whole percentage in its centre.
class TProgressGauge : public TControl {
 public:
  explicit TProgressGauge(TForm& owner) : TControl(owner, TControlClass::ProgressGauge) {}
  long MinValue = 0;
  long MaxValue = 100;
  TColor ForeColor = clBlack;
  TColor BackColor = clWhite;

  long Progress() const { return progress; }
  // Clamps to MinValue..MaxValue; the bar repaints only when the whole
  // percentage changes.
  void SetProgress(long value);
  int PercentDone() const;

 private:
  long progress = 0;
};

}  // namespace ui
