#include "host/Plugin.h"

#include <cstring>
#include <memory>

#include "decoder/MagazineAssembly.h"
#include "platform/HostMessage.h"
#include "ui/Application.h"
#include "ui/Backend.h"
#include "viewer/FormAbout.h"
#include "viewer/Formtolvane.h"

namespace tolv::host {
namespace {

constexpr char kDisplayName[] = "Tol-Vane";
constexpr char kFilterName[] = "TOLVANE Filter";

// The page under assembly per magazine: the data thread's alone.
MagazineAssembly& Assembly() {
  static MagazineAssembly assembly;
  return assembly;
}

std::intptr_t Send(std::uint32_t command, std::intptr_t parameter) {
  return platform::SendToHost(State().HostWnd, command, parameter);
}

// Asks the host for the channel it shows and starts a filter on its teletext PID, unless one runs.
void StartFilterOnTheCurrentChannel() {
  ModuleState& s = State();
  if (s.FilterRunning) return;
  // The host fills a zeroed channel record; its answer is not looked at.
  auto channel = std::make_unique<TChannelInfo>();
  channel->Bytes.fill(0);
  Send(kHostGetChannel, reinterpret_cast<std::intptr_t>(channel.get()));
  s.TeletextPid = channel->TeletextPid();
  s.FilterRunning = StartFilter();
}

}  // namespace

ModuleState& State() {
  static ModuleState state;
  return state;
}

TDllIdName DllIdName() {
  TDllIdName name{};
  std::memcpy(name.Name, kDisplayName, sizeof kDisplayName);
  return name;
}

void Start(void* hostWindow, std::uint32_t tag) {
  State().HostWnd = hostWindow;
  State().HostTag = tag;
}

void MenuSelect(std::uint32_t code) {
  ModuleState& s = State();
  if (code == kMenuAbout) {
    ui::Application().CreateForm(frmAbout);
    if (frmAbout != nullptr) frmAbout->ShowModal();
    return;
  }
  if (code != kMenuViewer) return;
  TFormTolv* window = FormTolv.load();
  if (window == nullptr) {
    window = CreateFormTolv();
    s.ResetPending = true;
    if (window != nullptr) window->OnFilterWanted = StartFilterOnTheCurrentChannel;
  }
  if (window == nullptr) return;
  window->Show();
  StartFilterOnTheCurrentChannel();
}

void ChannelChange(const TChannelInfo& channel) {
  ModuleState& s = State();
  // A change announced while the filter still runs is ignored: the host closes the filter first.
  if (FormTolv.load() == nullptr || s.FilterRunning) return;
  ClearMemoryForChannelChange();
  s.ResetPending = true;
  s.TeletextPid = channel.TeletextPid();
  s.FilterRunning = StartFilter();
}

void FilterReceive(std::int32_t length, const std::uint8_t* data) {
  ModuleState& s = State();
  {
    // The window stays alive while the hold lasts; it is never held around a host message.
    FormTolvUse window = UseFormTolv();
    if (window) {
      if (length > 0 && data != nullptr) Assembly().Receive(data, length, window->HandOver, s.ResetPending);
      return;
    }
  }
  StopFilter();
  s.FilterRunning = false;
  // The user may have reopened the viewer while the stop was on its way: that window saw the old
  // filter running and started none, so it asks for one on its next tick.
  if (FormTolvUse reopened = UseFormTolv()) reopened->FilterWanted = true;
}

void FilterClose() { State().FilterRunning = false; }

void Exit() {
  // The host may unload the library as soon as this returns: its data thread must not call in
  // again.
  StopFilter();
  State().FilterRunning = false;
  if (TFormTolv* window = FormTolv.load()) window->Close();
  if (ui::CurrentBackend().HandlingEvent()) {
    // Called from inside a dialog of the plug-in (the host's timer runs in its loop): the
    // plug-in's frames lie below. The dialogs end as if cancelled, and the windows go once
    // those frames have returned.
    ui::Application().CloseModalForms();
    ui::CurrentBackend().CancelDialogs();
    return;
  }
  // Called from the host's own code: the windows go now, with their timer, font, mutexes and
  // classes.
  ui::CurrentBackend().FreeReleasedForms();
}

bool StartFilter() {
  ModuleState& s = State();
  if (s.FilterRunning) return true;
  if (FormTolv.load() == nullptr || s.TeletextPid == 0) return false;
  TFilterRequest& request = s.FilterRequest;
  std::memset(&request, 0, sizeof request);
  request.Tag = static_cast<std::uint16_t>(s.HostTag & 0xFFFF);
  request.Pid = s.TeletextPid;
  std::memcpy(request.Name, kFilterName, sizeof kFilterName - 1);
  request.Callback = s.DataCallbackAddress;
  return Send(kHostStartFilter, reinterpret_cast<std::intptr_t>(&request)) != 0;
}

bool StopFilter() {
  ModuleState& s = State();
  if (!s.FilterRunning) return false;
  return Send(kHostStopFilter, static_cast<std::intptr_t>(s.FilterRequest.FilterId)) != 0;
}

}  // namespace tolv::host
