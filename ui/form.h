#pragma once
// A dialog: its description as data (the form resource), the controls built
// from it, and its modal state.

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "ui/controls.h"

namespace ui {

class TApplication;
class TRichStringGrid;

// One control of a form description. Event is the name of the form's handler
// that OnClick runs ("" for none).
struct TControlDesc {
  TControlClass Class;
  const char* Name;
  TRect Bounds;  // left, top, width, height as written; see ControlBounds
  AnsiString Caption;
  TFont Font;
  unsigned Anchors = akLeft | akTop;
  bool TabStop = true;
  const char* OnClick = "";
  TColor ForeColor = clBlack;  // the gauge's bar colour
};

enum class TPosition { ScreenCenter, MainFormCenter };

struct TFormDesc {
  const char* Name;
  AnsiString Caption;
  int ClientWidth, ClientHeight;
  TPosition Position = TPosition::ScreenCenter;
  TColor Color = clBtnFace;
  TFont Font;
  const char* OnShow = "";
  std::vector<TControlDesc> Controls;
};

// What a back-end attaches to a form to hear of its changes.
class TFormPeer {
 public:
  virtual ~TFormPeer() = default;
  virtual void ControlChanged(TControl& control) = 0;
};

using THandlers = std::map<std::string, std::function<void()>>;

class TForm {
 public:
  // Builds the controls of desc and binds the events it names to handlers;
  // an event name without a handler is a programming error (std::logic_error).
  TForm(TApplication& app, const TFormDesc& desc, const THandlers& handlers);
  ~TForm();

  TApplication& Application;
  const TFormDesc& Desc;
  std::function<void()> OnShow;

  const std::vector<std::unique_ptr<TControl>>& Controls() const { return controls; }
  TControl* FindControl(std::string_view name) const;
  template <typename T>
  T& Get(std::string_view name) const {
    return dynamic_cast<T&>(*FindControl(name));
  }

  bool Visible() const { return visible; }
  // Shows the form modally: raises OnShow, runs the loop until the form
  // closes, and returns.
  void ShowModal();
  // Closes the form: ends its modal run, or the loop when it is the main form.
  void Close();

  TFormPeer* Peer = nullptr;

 private:
  friend class TApplication;
  std::vector<std::unique_ptr<TControl>> controls;
  bool visible = false;
};

}  // namespace ui
