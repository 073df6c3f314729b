// The Win32 widget back-end: a window per form with native labels and push
// buttons and the back-end's own gauge and grid, the message loop, and the
// message boxes.

#include <memory>
#include <vector>

#include "core/exceptions.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/native_backend.h"
#include "ui/win32/win32_boxes.h"
#include "ui/win32/win32_form.h"
#include "ui/win32/win32_headers.h"

namespace ui::win32 {

namespace {

class TWin32Backend : public TWidgetBackend {
 public:
  TWin32Backend() {
    // The manifest asks for version 6 of the common controls; loading them
    // gives the push buttons the system's current look.
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&init);
    // Without a display (Wine started without an X server) no top-level
    // window can be made; that is found out here, where it can still be
    // reported, rather than in the middle of building the dialogs.
    HWND probe = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
    if (!probe) throw Exception("Cannot create a window: no display");
    ::DestroyWindow(probe);
  }

  ~TWin32Backend() override {
    // The forms' windows go before the forms they show.
    while (!peers.empty()) peers.pop_back();
  }

  void FormCreated(TForm& form) override {
    TForm* main = form.Application.MainForm();
    HWND owner = main && main != &form && main->Peer ? peerOf(*main).Handle() : nullptr;
    peers.push_back(std::make_unique<TWin32Form>(form, owner));
    form.Peer = peers.back().get();
  }

  void ShowForm(TForm& form) override {
    TWin32Form& peer = peerOf(form);
    TForm* main = form.Application.MainForm();
    peer.Place(main && main->Peer ? peerOf(*main).Handle() : nullptr);
    if (form.Application.ModalForm() == &form) {
      // While a form is shown modally the other forms take no input.
      for (const auto& other : peers)
        if (other.get() != &peer && ::IsWindowEnabled(other->Handle())) {
          ::EnableWindow(other->Handle(), FALSE);
          disabledBy[&form].push_back(other->Handle());
        }
    }
    ::ShowWindow(peer.Handle(), SW_SHOW);
    ::SetForegroundWindow(peer.Handle());
    ::UpdateWindow(peer.Handle());
  }

  void HideForm(TForm& form) override {
    // The forms that the modal run disabled come back first, so that one of
    // them becomes the active window when this one goes.
    if (const auto it = disabledBy.find(&form); it != disabledBy.end()) {
      for (HWND w : it->second) ::EnableWindow(w, TRUE);
      disabledBy.erase(it);
    }
    ::ShowWindow(peerOf(form).Handle(), SW_HIDE);
  }

  void RunLoop(TForm&, const std::function<bool()>& done) override {
    MSG msg;
    while (!done()) {
      const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
      if (got <= 0) {
        if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      handle(msg);
    }
  }

  void ProcessMessages() override {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      handle(msg);
    }
  }

  int MessageBox(TBoxKind kind, const AnsiString& title, const AnsiString& text,
                 const std::vector<int>& buttons) override {
    return RunMessageBox(boxOwner(), kind, title, text, buttons);
  }

  bool InputBox(const AnsiString& caption, const AnsiString& prompt, AnsiString& value) override {
    return RunInputBox(boxOwner(), caption, prompt, value);
  }

 private:
  TWin32Form& peerOf(TForm& form) { return *static_cast<TWin32Form*>(form.Peer); }

  // Keyboard navigation between a form's controls, then the usual dispatch.
  void handle(MSG& msg) {
    HWND root = msg.hwnd ? ::GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    for (const auto& peer : peers)
      if (peer->Handle() == root && ::IsDialogMessageW(root, &msg)) return;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }

  // A box belongs to the innermost modal form, else to the main form while
  // it is shown.
  HWND boxOwner() {
    TApplication* app = TApplication::Current();
    if (!app) return nullptr;
    TForm* form = app->ModalForm();
    if (!form || !form->Visible()) form = app->MainForm();
    if (!form || !form->Visible() || !form->Peer) return nullptr;
    return peerOf(*form).Handle();
  }

  std::vector<std::unique_ptr<TWin32Form>> peers;
  std::map<TForm*, std::vector<HWND>> disabledBy;
};

}  // namespace

}  // namespace ui::win32

namespace ui {

std::unique_ptr<TWidgetBackend> MakeNativeBackend() {
  return std::make_unique<win32::TWin32Backend>();
}

}  // namespace ui
