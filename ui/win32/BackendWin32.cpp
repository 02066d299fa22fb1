#include "ui/win32/BackendWin32.h"

#include <cstring>

#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/TextEncoding.h"
#include "ui/win32/FormPeer.h"
#include "ui/win32/MessageGuard.h"
#include "ui/win32/ModalLoop.h"
#include "ui/win32/Peers.h"

namespace tolv::ui {

Backend& DefaultBackend() {
  static win32::BackendWin32 backend;
  return backend;
}

}  // namespace tolv::ui

namespace tolv::ui::win32 {
namespace {

constexpr UINT kFreeReleasedForms = WM_APP + 1;
constexpr UINT_PTR kReleaseRetryTimer = 1;
constexpr UINT kReleaseRetryMilliseconds = 50;

BackendWin32& TheBackend() { return static_cast<BackendWin32&>(DefaultBackend()); }

// The tab strip of a tab control in the controls' font, measured on a hidden one.
TInsets MeasureTabStrip() {
  constexpr TInsets kClassic{4, 24, 4, 4};
  WindowHandle probe = CreateLibraryWindow({WC_TABCONTROLA, WS_POPUP, 0, "", {0, 0, 200, 200}, nullptr, 0}, nullptr);
  if (!probe) return kClassic;
  SendMessageA(probe.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont(TFont{})), FALSE);
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  char text[] = "Tab";
  item.pszText = text;
  SendMessageA(probe.Get(), TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  RECT display{0, 0, 200, 200};
  TabCtrl_AdjustRect(probe.Get(), FALSE, &display);
  return {display.left, display.top, 200 - display.right, 200 - display.bottom};
}

}  // namespace

LRESULT CALLBACK MessageWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto defaultHandling = [&] { return DefWindowProcA(window, message, wParam, lParam); };
  const bool release = message == kFreeReleasedForms || (message == WM_TIMER && wParam == kReleaseRetryTimer);
  if (!release) return defaultHandling();
  return GuardedMessage(
      [] {
        TheBackend().ReleaseArrived();
        return LRESULT{0};
      },
      defaultHandling);
}

void BackendWin32::ReleaseArrived() {
  // Handled inside a dialog that a handler of the library runs (the host's loop is not the one
  // that dispatched it): the released form may be the one whose handler waits below. It goes
  // once that has returned.
  if (MessagesBeingHandled() > 1 || modalLoops_ > 0) {
    if (!releaseRetry_)
      releaseRetry_ = WindowTimer(messageWindow_.Get(), kReleaseRetryTimer, kReleaseRetryMilliseconds);
    return;
  }
  FreeReleasedForms();
}

std::unique_ptr<ComponentPeer> BackendWin32::CreatePeer(Component& component) {
  auto* control = dynamic_cast<Control*>(&component);
  if (control == nullptr) return NewFormPartPeer(component);
  std::unique_ptr<WindowPeer> peer;
  if (auto* form = dynamic_cast<Form*>(control)) {
    peer = std::make_unique<FormPeer>(*form);
  } else {
    for (auto make : {NewPageControlPeer, NewContainerPeer, NewButtonPeer, NewControlPeer}) {
      if ((peer = make(*control)) != nullptr) break;
    }
  }
  if (peer != nullptr) peer->Create();
  return peer;
}

TInsets BackendWin32::FormFrame(const Form& form) const {
  const auto* peer = dynamic_cast<const FormPeer*>(form.Peer());
  return peer != nullptr && peer->Hwnd() != nullptr ? peer->MeasuredFrame() : FormPeer::EstimatedFrame(form);
}

TInsets BackendWin32::TabStripFrame() const {
  if (!tabStripFrame_) tabStripFrame_ = MeasureTabStrip();
  return *tabStripFrame_;
}

TRect BackendWin32::WorkArea() const {
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  return {area.left, area.top, area.right - area.left, area.bottom - area.top};
}

class BackendWin32::ModalScope {
 public:
  explicit ModalScope(BackendWin32& backend) : backend_(backend) { ++backend_.modalLoops_; }
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;
  ~ModalScope() { --backend_.modalLoops_; }

 private:
  BackendWin32& backend_;
};

bool BackendWin32::RunModalLoop(Form& form) {
  const ModalScope scope(*this);
  return RunModal(form);
}

bool BackendWin32::HandlingEvent() const { return modalLoops_ > 0 || MessagesBeingHandled() > 0; }

void BackendWin32::ScheduleRelease() {
  // The host owns the message loop: a posted message brings the freeing back after the event.
  if (releasePosted_) return;
  if (!messageWindow_) {
    messageWindow_ = CreateLibraryWindow({kMessageClass, 0, 0, "", {}, HWND_MESSAGE, 0}, nullptr);
  }
  releasePosted_ = messageWindow_ && PostMessageA(messageWindow_.Get(), kFreeReleasedForms, 0, 0) != 0;
}

void BackendWin32::FreeReleasedForms() {
  releaseRetry_.Reset();
  releasePosted_ = false;
  Application().FreeReleasedForms();
  // The last window of the library must not be this one, or the classes would stay registered.
  if (!releasePosted_) messageWindow_.Reset();
}

TModalResult BackendWin32::ShowMessageBox(std::string_view text, std::string_view caption, MessageButtons buttons) {
  const ModalScope scope(*this);
  HWND owner = GetActiveWindow();
  const UINT kind = buttons == MessageButtons::OkCancel ? MB_OKCANCEL : MB_OK;
  const int answer = MessageBoxA(owner, Utf8ToWindows1252(text).c_str(), Utf8ToWindows1252(caption).c_str(),
                                 kind | (owner == nullptr ? MB_TASKMODAL : MB_APPLMODAL));
  return answer == IDOK ? mrOk : mrCancel;
}

namespace {

BOOL CALLBACK CancelLibraryDialog(HWND window, LPARAM /*unused*/) {
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  const HWND owner = GetWindow(window, GW_OWNER);
  if (std::strcmp(className, "#32770") == 0 && owner != nullptr && PeerOf(owner) != nullptr) {
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  }
  return TRUE;
}

}  // namespace

void BackendWin32::CancelDialogs() {
  if (modalLoops_ > 0) EnumThreadWindows(GetCurrentThreadId(), CancelLibraryDialog, 0);
}

bool BackendWin32::ExecutePrinterSetup(Form* owner) {
  const ModalScope scope(*this);
  PRINTDLGW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner != nullptr ? WindowOf(*owner) : nullptr;
  dialog.Flags = PD_PRINTSETUP;
  // The dialog takes the printer chosen last and may free it, giving back its own choice; the
  // print commands print on it.
  dialog.hDevMode = printerMode_.Get();
  dialog.hDevNames = printerNames_.Get();
  printerMode_.Abandon();
  printerNames_.Abandon();
  const bool confirmed = PrintDlgW(&dialog) != FALSE;
  printerMode_ = GlobalMemory(dialog.hDevMode);
  printerNames_ = GlobalMemory(dialog.hDevNames);
  return confirmed;
}

}  // namespace tolv::ui::win32
