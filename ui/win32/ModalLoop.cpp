#include "ui/win32/ModalLoop.h"

#include <utility>

#include "ui/win32/FormPeer.h"

namespace tolv::ui::win32 {
namespace {

// The owner disabled from construction to destruction. Enabled again before the dialog hides,
// so that the system gives the activation back to it.
class DisabledWindow {
 public:
  explicit DisabledWindow(HWND window) : window_(window != nullptr && IsWindowEnabled(window) ? window : nullptr) {
    if (window_ != nullptr) EnableWindow(window_, FALSE);
  }
  DisabledWindow(const DisabledWindow&) = delete;
  DisabledWindow& operator=(const DisabledWindow&) = delete;
  ~DisabledWindow() {
    if (window_ != nullptr && IsWindow(window_)) EnableWindow(window_, TRUE);
  }

 private:
  HWND window_;
};

}  // namespace

bool RunModal(Form& form) {
  auto* peer = dynamic_cast<FormPeer*>(form.Peer());
  HWND dialog = peer != nullptr ? peer->Hwnd() : nullptr;
  if (dialog == nullptr) return false;
  const DisabledWindow owner(peer->ModalOwner());
  while (form.ModalResult() == mrNone) {
    if (!IsWindow(dialog)) return false;
    MSG message{};
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == -1) return false;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));  // the outer loop must see it too
      return false;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return true;
}

}  // namespace tolv::ui::win32
