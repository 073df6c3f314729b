// The FLTK widget back-end: a double-buffered window per form, with labels,
// push buttons, the gauge and the grid built from the form description.

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/x.H>

#include <functional>
#include <map>
#include <memory>

#include "core/exceptions.h"
#include "platform/codepage.h"
#include "ui/anchors.h"
#include "ui/application.h"
#include "ui/fltk/fltk_boxes.h"
#include "ui/fltk/fltk_canvas.h"
#include "ui/fltk/fltk_gauge.h"
#include "ui/fltk/fltk_grid.h"
#include "ui/fltk/fltk_label.h"
#include "ui/form.h"
#include "ui/native_backend.h"

namespace ui::fltk {

namespace {

struct ClickTarget {
  TControl* control;
};

// A form's window. A new size places the controls by their anchors instead
// of scaling them.
class TFltkFormWindow : public Fl_Double_Window {
 public:
  TFltkFormWindow(int w, int h, const char* caption) : Fl_Double_Window(w, h, caption) {}

  std::function<void(int width, int height)> OnResize;

  void resize(int x, int y, int w, int h) override {
    const bool resized = w != this->w() || h != this->h();
    Fl_Double_Window::resize(x, y, w, h);
    if (resized && OnResize) OnResize(w, h);
  }
};

class TFltkForm : public TFormPeer {
 public:
  explicit TFltkForm(TForm& form) : form(form) {
    const TFormDesc& d = form.Desc;
    caption = platform::AnsiToUtf8(d.Caption);
    window = std::make_unique<TFltkFormWindow>(d.ClientWidth, d.ClientHeight, caption.c_str());
    window->color(ToFlColor(d.Color));
    window->xclass("qdupdate");
    for (const auto& c : form.Controls()) build(*c);
    window->end();
    window->resizable(nullptr);
    window->OnResize = [this](int width, int height) { applyAnchors(width, height); };
    // A dialog frame: the size is fixed.
    window->size_range(d.ClientWidth, d.ClientHeight, d.ClientWidth, d.ClientHeight);
    window->callback(
        [](Fl_Widget*, void* self) {
          TForm& f = static_cast<TFltkForm*>(self)->form;
          f.Application.Dispatch([&f] { f.Close(); });
        },
        this);
  }

  void ControlChanged(TControl& control) override {
    const auto it = widgets.find(&control);
    if (it == widgets.end()) return;
    if (control.Kind == TControlClass::RichStringGrid)
      static_cast<TFltkGrid*>(it->second)->Refresh();
    it->second->redraw();
  }

  TForm& form;
  std::unique_ptr<TFltkFormWindow> window;

 private:
  // The frame is fixed, so the client area keeps the size of the form's
  // description; the anchors matter should the window get another one.
  void applyAnchors(int width, int height) {
    const int dx = width - form.Desc.ClientWidth, dy = height - form.Desc.ClientHeight;
    for (const auto& [control, widget] : widgets) {
      const TRect r = AnchoredBounds(control->Bounds, control->Anchors, dx, dy);
      widget->resize(r.Left, r.Top, r.Width(), r.Height());
    }
    window->redraw();
  }

  void styleLabel(Fl_Widget& w, const TFont& font) {
    w.labelcolor(ToFlColor(font.Color));
    w.labelsize(PointsToPixels(font.Size));
    w.labelfont(FaceOf(font));
  }

  void build(TControl& c) {
    const TRect& b = c.Bounds;
    Fl_Widget* w = nullptr;
    switch (c.Kind) {
      case TControlClass::Label:
        w = new TFltkLabel(static_cast<TLabel&>(c), b.Left, b.Top, b.Width(), b.Height());
        break;
      case TControlClass::PushButton: {
        texts[&c] = platform::AnsiToUtf8(static_cast<TPushButton&>(c).Caption);
        auto* button = new Fl_Button(b.Left, b.Top, b.Width(), b.Height(), texts[&c].c_str());
        if (!c.TabStop) button->visible_focus(0);
        targets.push_back(std::make_unique<ClickTarget>(ClickTarget{&c}));
        button->callback(
            [](Fl_Widget*, void* data) {
              TControl* control = static_cast<ClickTarget*>(data)->control;
              if (control->OnClick) control->Owner.Application.Dispatch(control->OnClick);
            },
            targets.back().get());
        w = button;
        break;
      }
      case TControlClass::ProgressGauge:
        w = new TFltkGauge(static_cast<TProgressGauge&>(c), b.Left, b.Top, b.Width(), b.Height());
        break;
      case TControlClass::RichStringGrid:
        w = new TFltkGrid(static_cast<TRichStringGrid&>(c), b.Left, b.Top, b.Width(), b.Height());
        break;
    }
    if (c.Kind == TControlClass::PushButton || c.Kind == TControlClass::ProgressGauge)
      styleLabel(*w, c.Font);
    widgets[&c] = w;
  }

  std::string caption;
  std::map<TControl*, std::string> texts;  // FLTK keeps caption pointers, not copies
  std::map<TControl*, Fl_Widget*> widgets;
  std::vector<std::unique_ptr<ClickTarget>> targets;
};

class TFltkBackend : public TWidgetBackend {
 public:
  TFltkBackend() {
    // FLTK ends the process when it cannot open the display; open it here,
    // so that the failure reaches the caller as an exception, and hand the
    // connection over. Closing it and letting FLTK connect again would race
    // with a server that resets when its last client leaves.
    Display* display = XOpenDisplay(nullptr);
    if (!display)
      throw Exception("Cannot open the display (use --silent for runs without a desktop)");
    fl_open_display(display);
    // The dialogs are laid out for a narrow sans-serif face; Liberation Sans
    // has the metrics of the face they were drawn with, where installed
    // (fontconfig falls back to the desktop's sans-serif face otherwise). The
    // first letter of each name selects the style.
    Fl::set_font(FL_HELVETICA, " Liberation Sans");
    Fl::set_font(FL_HELVETICA_BOLD, "BLiberation Sans");
    Fl::set_font(FL_HELVETICA_ITALIC, "ILiberation Sans");
    Fl::set_font(FL_HELVETICA_BOLD_ITALIC, "PLiberation Sans");
    Fl::visual(FL_DOUBLE | FL_INDEX);
  }

  void FormCreated(TForm& form) override {
    peers.push_back(std::make_unique<TFltkForm>(form));
    form.Peer = peers.back().get();
  }

  void ShowForm(TForm& form) override {
    TFltkForm& peer = peerOf(form);
    Fl_Window& w = *peer.window;
    TForm* main = form.Application.MainForm();
    if (form.Desc.Position == TPosition::MainFormCenter && main && main != &form) {
      const Fl_Window& m = *peerOf(*main).window;
      w.position(m.x() + (m.w() - w.w()) / 2, m.y() + (m.h() - w.h()) / 2);
    } else {
      w.position((Fl::w() - w.w()) / 2, (Fl::h() - w.h()) / 2);
    }
    if (form.Application.ModalForm() == &form) w.set_modal();
    w.show();
  }

  void HideForm(TForm& form) override { peerOf(form).window->hide(); }

  void RunLoop(TForm&, const std::function<bool()>& done) override {
    while (!done()) Fl::wait();
  }

  void ProcessMessages() override { Fl::check(); }

  int MessageBox(TBoxKind kind, const AnsiString& title, const AnsiString& text,
                 const std::vector<int>& buttons) override {
    return RunMessageBox(kind, title, text, buttons);
  }

  bool InputBox(const AnsiString& caption, const AnsiString& prompt, AnsiString& value) override {
    return RunInputBox(caption, prompt, value);
  }

 private:
  TFltkForm& peerOf(TForm& form) { return *static_cast<TFltkForm*>(form.Peer); }

  std::vector<std::unique_ptr<TFltkForm>> peers;
};

}  // namespace

}  // namespace ui::fltk

namespace ui {

std::unique_ptr<TWidgetBackend> MakeNativeBackend() {
  return std::make_unique<fltk::TFltkBackend>();
}

}  // namespace ui
