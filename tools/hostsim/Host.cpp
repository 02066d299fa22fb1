#include "tools/hostsim/Host.h"

#include <cstring>

#include "tools/hostsim/PluginTraces.h"
#include "tools/hostsim/PluginWindows.h"

namespace tolv::hostsim {
namespace {

constexpr char kHostClass[] = "TolvHostSimulator";
constexpr char kHostCaption[] = "Host simulator";

// The process's open kernel handles. Wine answers GetProcessHandleCount with 0, so they are
// counted by asking after every handle value in use up to 64 Ki (handle values are multiples of 4).
unsigned long ProcessHandles() {
  unsigned long count = 0;
  for (std::uintptr_t value = 4; value < 0x10000; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}

// Waits for the thread, handling the messages other threads send to this one meanwhile and
// leaving every posted message in the queue.
void WaitAnsweringSentMessages(HANDLE thread) {
  while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

const char* ThreadName(bool onThread) { return onThread ? "on a thread of its own" : "on the window thread"; }

struct ChannelChangeWork {
  const Plugin* plugin;
  std::array<std::uint8_t, kChannelInfoSize> record;
};

}  // namespace

Host::Host(RecordingFeeds& feeds, HostOptions options, HostLog& log)
    : feeds_(feeds), options_(std::move(options)), log_(log) {
  if (!feeds_.Channels().empty()) currentPid_ = feeds_.Channels().front().Pid;
}

Host::~Host() {
  StopAllFilters();
  if (window_ != nullptr) DestroyWindow(window_);
}

std::string Host::DisplayName() const {
  const auto* bytes = reinterpret_cast<const char*>(idName_.Bytes.data());
  return std::string(bytes, strnlen(bytes, kIdNameSize));
}

bool Host::Start(std::string& error) {
  windowThread_ = GetCurrentThreadId();
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &Host::WindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  windowClass.lpszClassName = kHostClass;
  if (RegisterClassExA(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    error = "cannot register the host's window class";
    return false;
  }
  window_ = CreateWindowExA(0, kHostClass, kHostCaption, WS_OVERLAPPEDWINDOW, 0, 0, 480, 300, nullptr, nullptr,
                            GetModuleHandleA(nullptr), this);
  if (window_ == nullptr) {
    error = "cannot create the host's window";
    return false;
  }
  // A television application has the common dialogs and controls loaded for its own use, so
  // loading the plug-in does not bring them in and unloading it does not take them out (Wine's
  // printer spooler, which the dialogs load, keeps a mutex, an event and a thread per load).
  for (const char* system : {"comctl32.dll", "comdlg32.dll"}) LoadLibraryA(system);
  handlesBeforeFirstLoad_ = ProcessHandles();
  if (!LoadPlugin(error)) return false;
  BuildMenu();
  SetTimer(window_, kHostTimer, kHostTimerMs, nullptr);
  if (options_.ShowWindow) ShowWindow(window_, SW_SHOWNORMAL);
  return true;
}

bool Host::LoadPlugin(std::string& error) {
  if (plugin_) {
    error = "the plug-in is loaded already";
    return false;
  }
  plugin_ = Plugin::Load(options_.PluginPath, error);
  if (!plugin_) return false;
  log_.Add("loaded %s", options_.PluginPath.c_str());

  idName_ = plugin_->SendDllIdName();
  log_.Add("call On_Send_Dll_ID_Name -> \"%s\" [%s], EAX %s the result pointer, %d pushed bytes left to the caller",
           DisplayName().c_str(), HexBytes(idName_.Bytes).c_str(),
           idName_.ReturnedItsPointer ? "holds" : "does not hold", idName_.PushedBytesLeft);
  log_.Add("call On_Start(0, 0x%08X, 0, 0x%08X)", static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(window_)),
           options_.Tag);
  plugin_->Start(0, window_, 0, options_.Tag);
  handlesAtStart_ = plugin_->LiveHandles();
  if (handlesAtStart_) log_.Add("plug-in's live handles: %s", handlesAtStart_->c_str());
  return true;
}

void Host::UnloadPluginAtOnce() {
  if (!plugin_) {
    log_.Add("unload: no plug-in loaded");
    return;
  }
  ++busy_;
  log_.Add("call On_Exit(), then FreeLibrary with no message dispatched in between");
  plugin_->Exit();
  const PluginTraces traces = TracesOfPlugin(plugin_->Module());
  const std::size_t windows = PluginTopLevelWindows(window_).size();
  const std::vector<std::uint32_t> running = RunningFilterIds();
  // The stop command only signals a data thread: it is waited for before the code it calls goes,
  // answering only what other threads send meanwhile (their commands), no posted message.
  for (auto& [id, filter] : filters_) {
    filter->RequestStop();
    if (filter->Thread() != nullptr) WaitAnsweringSentMessages(filter->Thread());
  }
  filters_.clear();
  // A window left behind would run unloaded code on its next message: the library stays then.
  if (windows > 0) plugin_->KeepLoaded();
  plugin_.reset();
  log_.Add("after unloading: %zu plug-in window(s), %zu filter(s) the plug-in left running, %s", windows,
           running.size(), traces.Text().c_str());
  log_.Add("after unloading: process handles %lu, %lu before the first load", ProcessHandles(),
           handlesBeforeFirstLoad_);
  --busy_;
}

void Host::BuildMenu() {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, kExitCommand, "E&xit");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  const std::string name = DisplayName();
  HMENU plugins = CreatePopupMenu();
  AppendMenuA(plugins, MF_STRING, kMenuViewer, name.c_str());
  AppendMenuA(plugins, MF_STRING, kMenuAbout, ("About " + name).c_str());
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(plugins), "&Plug-ins");
  channelMenu_ = CreatePopupMenu();
  const std::vector<Channel>& channels = feeds_.Channels();
  for (std::size_t i = 0; i < channels.size(); ++i) {
    AppendMenuA(channelMenu_, MF_STRING, kFirstChannelCommand + i, channels[i].Name.c_str());
  }
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(channelMenu_), "&Channel");
  SetMenu(window_, bar);
  CheckChannel();
}

void Host::CheckChannel() {
  const std::vector<Channel>& channels = feeds_.Channels();
  for (std::size_t i = 0; i < channels.size(); ++i) {
    CheckMenuItem(channelMenu_, kFirstChannelCommand + i,
                  MF_BYCOMMAND | (channels[i].Pid == currentPid_ ? MF_CHECKED : MF_UNCHECKED));
  }
}

LRESULT CALLBACK Host::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* host = reinterpret_cast<Host*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (host == nullptr || host->window_ != window) return DefWindowProcA(window, message, wParam, lParam);
  return host->Handle(message, wParam, lParam);
}

LRESULT Host::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_USER: return HostCommand(wParam, lParam);
    case WM_COMMAND: {
      const UINT id = LOWORD(wParam);
      if (id == kMenuViewer || id == kMenuAbout) {
        MenuSelect(id);
      } else if (id == kExitCommand) {
        Quit(0);
      } else if (id >= kFirstChannelCommand && id - kFirstChannelCommand < feeds_.Channels().size()) {
        SwitchChannel(feeds_.Channels()[id - kFirstChannelCommand].Pid, false);
      }
      return 0;
    }
    case WM_TIMER:
      if (wParam == kHostTimer && !Busy()) {
        ReapEndedFilters();
        if (onTick_) onTick_();
      }
      return 0;
    case WM_KEYDOWN: {
      const std::uint32_t result = plugin_ ? plugin_->KeyDown() : 0;
      log_.Add("call On_Key_Down() -> %u", result);
      return 0;
    }
    case kSetKeyStateMessage: SetHeldModifiers(wParam); return 0;
    case WM_CLOSE: Quit(0); return 0;
    case WM_DESTROY: window_ = nullptr; return 0;
    default: return DefWindowProcA(window_, message, wParam, lParam);
  }
}

LRESULT Host::HostCommand(WPARAM code, LPARAM argument) {
  switch (static_cast<std::uint32_t>(code)) {
    case kHostGetChannel: return GetChannel(reinterpret_cast<std::uint8_t*>(argument));
    case kHostStartFilter: return StartFilter(reinterpret_cast<std::uint8_t*>(argument));
    case kHostStopFilter: return StopFilter(static_cast<std::uint32_t>(argument));
    default:
      log_.Add("command 0x%08X (unknown), lParam 0x%08lX -> 0", static_cast<unsigned>(code),
               static_cast<unsigned long>(argument));
      return 0;
  }
}

LRESULT Host::GetChannel(std::uint8_t* record) {
  if (record == nullptr) {
    log_.Add("command HOST_GET_CHANNEL with a null record -> 0");
    return 0;
  }
  const std::array<std::uint8_t, kChannelInfoSize> channel = ChannelRecord(currentPid_);
  std::memcpy(record, channel.data(), channel.size());
  log_.Add("command HOST_GET_CHANNEL%s -> PID 0x%04X", InSendMessage() ? " from another thread" : "", currentPid_);
  return 1;
}

LRESULT Host::StartFilter(std::uint8_t* request) {
  ReceivedFilterRequest received;
  received.FromOtherThread = InSendMessage() != FALSE;
  if (request == nullptr) {
    log_.Add("command HOST_START_FILTER with a null request -> 0");
    requests_.push_back(received);
    return 0;
  }
  std::memcpy(received.Bytes.data(), request, kFilterRequestSize);
  const std::uint16_t pid = ReadU16(request + kFilterPidOffset);
  const std::uint32_t callback = ReadU32(request + kFilterCallbackOffset);
  const auto* name = reinterpret_cast<const char*>(request + kFilterNameOffset);
  log_.Add("command HOST_START_FILTER%s: tag 0x%04X, PID 0x%04X, name \"%s\", callback 0x%08X%s, bytes [%s]",
           received.FromOtherThread ? " from another thread" : "", ReadU16(request + kFilterTagOffset), pid,
           std::string(name, strnlen(name, kFilterNameSize)).c_str(), callback,
           plugin_ && callback == plugin_->FilterReceiveAddress() ? " (On_Filter_Receive)" : "",
           HexBytes(received.Bytes).c_str());
  if (callback == 0) {
    log_.Add("filter refused: no data callback -> 0");
    requests_.push_back(received);
    return 0;
  }
  const std::uint32_t id = nextFilterId_++;
  auto filter = std::make_unique<Filter>(id, pid, reinterpret_cast<DataCallback>(static_cast<std::uintptr_t>(callback)),
                                         feeds_.FeedOf(pid), options_.Pace, log_);
  // The id is in the request before the data thread can call back.
  WriteU32(request + kFilterIdOffset, id);
  if (!filter->Start()) {
    WriteU32(request + kFilterIdOffset, 0);
    log_.Add("filter refused: no data thread -> 0");
    requests_.push_back(received);
    return 0;
  }
  received.AssignedId = id;
  requests_.push_back(received);
  log_.Add("filter %u started on PID 0x%04X (%zu calls in the recording) -> 1", id, pid,
           feeds_.FeedOf(pid).Calls.size());
  filters_.emplace(id, std::move(filter));
  return 1;
}

LRESULT Host::StopFilter(std::uint32_t id) {
  const auto found = filters_.find(id);
  const char* from = InSendMessage() ? " from another thread" : "";
  if (found == filters_.end()) {
    log_.Add("command HOST_STOP_FILTER%s: id %u, no such filter -> 0", from, id);
    return 0;
  }
  if (found->second->StopRequested()) {
    log_.Add("command HOST_STOP_FILTER%s: id %u, already stopping -> 1", from, id);
    return 1;
  }
  // Only a signal: the data thread may be the one waiting for this answer.
  found->second->RequestStop();
  stoppedByPlugin_.push_back(id);
  log_.Add("command HOST_STOP_FILTER%s: id %u stopped after %llu calls -> 1", from, id,
           static_cast<unsigned long long>(found->second->Calls()));
  return 1;
}

void Host::MenuSelect(std::uint32_t code) {
  if (!plugin_) return;
  log_.Add("call On_Menu_Select(%u)", code);
  plugin_->MenuSelect(code);
  log_.Add("On_Menu_Select(%u) returned", code);
}

void Host::SwitchChannel(std::uint16_t pid, bool onThread) {
  if (!plugin_) return;
  ++busy_;
  log_.Add("user switches to PID 0x%04X", pid);
  const bool closed = StopAllFilters();
  currentPid_ = pid;
  CheckChannel();
  if (closed) CallFilterClose();
  CallChannelChange(pid, onThread);
  --busy_;
}

void Host::CallFilterClose() {
  if (!plugin_) return;
  log_.Add("call On_Filter_Close()");
  plugin_->FilterClose();
}

void Host::CallChannelChange(std::uint16_t pid, bool onThread) {
  if (!plugin_) return;
  ++busy_;
  log_.Add("call On_Channel_Change(PID 0x%04X, 1356 bytes by value) %s", pid, ThreadName(onThread));
  ChannelChangeWork work{plugin_.get(), ChannelRecord(pid)};
  const auto call = [](void* context) {
    auto& w = *static_cast<ChannelChangeWork*>(context);
    w.plugin->ChannelChange(w.record);
  };
  if (onThread) {
    RunOnThread(call, &work);
  } else {
    call(&work);
  }
  log_.Add("On_Channel_Change returned");
  --busy_;
}

void Host::RunOnThread(void (*work)(void*), void* context) {
  struct Work {
    void (*work)(void*);
    void* context;
    static DWORD WINAPI Main(void* self) {
      auto& w = *static_cast<Work*>(self);
      w.work(w.context);
      return 0;
    }
  } start{work, context};
  HANDLE thread = CreateThread(nullptr, 0, &Work::Main, &start, 0, nullptr);
  if (thread == nullptr) {
    work(context);
    return;
  }
  WaitPumping(thread);
  CloseHandle(thread);
}

bool Host::StopAllFilters() {
  ++busy_;
  bool anyRunning = false;
  for (auto& [id, filter] : filters_) {
    if (!filter->StopRequested()) {
      anyRunning = true;
      log_.Add("host closes filter %u after %llu calls", id, static_cast<unsigned long long>(filter->Calls()));
    }
    filter->RequestStop();
  }
  for (auto& [id, filter] : filters_) {
    if (filter->Thread() != nullptr) WaitPumping(filter->Thread());
  }
  filters_.clear();
  --busy_;
  return anyRunning;
}

void Host::ReapEndedFilters() {
  for (auto it = filters_.begin(); it != filters_.end();) {
    if (it->second->StopRequested() && it->second->Ended()) {
      it = filters_.erase(it);
    } else {
      ++it;
    }
  }
}

bool Host::FiltersIdle() const {
  for (const auto& [id, filter] : filters_) {
    if (!filter->Idle()) return false;
  }
  return true;
}

const Filter* Host::FindFilter(std::uint32_t id) const {
  const auto found = filters_.find(id);
  return found == filters_.end() ? nullptr : found->second.get();
}

std::vector<std::uint32_t> Host::RunningFilterIds() const {
  std::vector<std::uint32_t> ids;
  for (const auto& [id, filter] : filters_) {
    if (!filter->StopRequested()) ids.push_back(id);
  }
  return ids;
}

void Host::Quit(int exitCode) {
  if (quitting_ || window_ == nullptr) return;
  quitting_ = true;
  ++busy_;
  if (plugin_) {
    log_.Add("call On_Exit()");
    plugin_->Exit();
    // What the plug-in's windows posted while closing is handled before the host looks.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    const std::size_t left = PluginTopLevelWindows(window_).size();
    log_.Add("after On_Exit: %zu plug-in window(s) left", left);
    if (const std::optional<std::string> handles = plugin_->LiveHandles()) {
      log_.Add("after On_Exit: live handles %s", handles->c_str());
    }
    if (left > 0) {
      plugin_->KeepLoaded();
      windowsLeftAtExit_ = true;
    }
  }
  StopAllFilters();
  KillTimer(window_, kHostTimer);
  --busy_;
  DestroyWindow(window_);
  window_ = nullptr;
  PostQuitMessage(exitCode);
}

void Host::AwaitPluginWindows() {
  if (!windowsLeftAtExit_ || !plugin_) return;
  PumpUntil([] { return PluginTopLevelWindows(nullptr).empty(); }, 2000);
  log_.Add("after the host's loop: %zu plug-in window(s) left", PluginTopLevelWindows(nullptr).size());
  if (const std::optional<std::string> handles = plugin_->LiveHandles()) {
    log_.Add("after the host's loop: live handles %s", handles->c_str());
  }
}

}  // namespace tolv::hostsim
