// The simulated host: its main window with the plug-in's two menu entries and a channel menu,
// the answers to the plug-in's WM_USER commands, its PID filters, and the calls it makes into
// the plug-in, all on the thread that creates it (the host's window thread).
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/hostsim/Feed.h"
#include "tools/hostsim/Filter.h"
#include "tools/hostsim/HostLog.h"
#include "tools/hostsim/Plugin.h"

namespace tolv::hostsim {

struct HostOptions {
  std::string PluginPath = "plugins\\tolv.dll";
  Pacing Pace;
  std::uint32_t Tag = 0x00C0FFEE;  // On_Start's fourth argument; its low 16 bits tag filter requests
  bool ShowWindow = true;
};

// A filter request as the host received it, before it wrote the filter id.
struct ReceivedFilterRequest {
  std::array<std::uint8_t, kFilterRequestSize> Bytes{};
  std::uint32_t AssignedId = 0;  // 0: refused
  bool FromOtherThread = false;
};

class Host {
 public:
  Host(RecordingFeeds& feeds, HostOptions options, HostLog& log);
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // Creates the window, loads the plug-in, asks its name and starts it; false with error set.
  bool Start(std::string& error);
  // On_Exit, and FreeLibrary straight after without a message dispatched in between; logs what
  // the plug-in left behind. The host goes on without a plug-in until LoadPlugin.
  void UnloadPluginAtOnce();
  // Loads the plug-in, asks its name and starts it; false with error set.
  bool LoadPlugin(std::string& error);
  // The host's end: On_Exit, every filter stopped, the window destroyed (WM_QUIT with exitCode).
  void Quit(int exitCode);

  // After the host's own loop has ended: windows an On_Exit from inside a dialog of the plug-in
  // left go once that dialog's handler has returned. Pumps for them (at most 2 s) and logs what
  // is left.
  void AwaitPluginWindows();

  HWND Window() const { return window_; }
  const Plugin* LoadedPlugin() const { return plugin_.get(); }
  const IdNameResult& IdName() const { return idName_; }
  // The plug-in's live handle counts right after On_Start, when it reports them.
  const std::optional<std::string>& HandlesAtStart() const { return handlesAtStart_; }
  std::string DisplayName() const;

  // What the user does in the host's menus.
  void MenuSelect(std::uint32_t code);
  void SwitchChannel(std::uint16_t pid, bool onThread);
  // The two calls on their own, for scripts that test the plug-in's handling of them.
  void CallFilterClose();
  void CallChannelChange(std::uint16_t pid, bool onThread);

  std::uint16_t CurrentPid() const { return currentPid_; }
  // While the host waits for a thread of its own it pumps messages; scripts hold still then.
  bool Busy() const { return busy_ > 0; }
  bool FiltersIdle() const;
  const std::vector<ReceivedFilterRequest>& FilterRequests() const { return requests_; }
  // Running or stopped filters whose data thread has not been waited for yet, by id.
  const Filter* FindFilter(std::uint32_t id) const;
  std::vector<std::uint32_t> RunningFilterIds() const;
  // Ends the filters whose data thread is gone: called on the host's timer.
  void ReapEndedFilters();
  // Called on every tick of the host's 10 ms timer (the script runs there).
  void SetTickHandler(std::function<void()> onTick) { onTick_ = std::move(onTick); }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HostCommand(WPARAM code, LPARAM argument);
  LRESULT GetChannel(std::uint8_t* record);
  LRESULT StartFilter(std::uint8_t* request);
  LRESULT StopFilter(std::uint32_t id);
  void BuildMenu();
  void CheckChannel();
  // Signals every filter and waits (pumping) for their threads; true when one was running.
  bool StopAllFilters();
  void RunOnThread(void (*work)(void*), void* context);

  RecordingFeeds& feeds_;
  HostOptions options_;
  HostLog& log_;
  HWND window_ = nullptr;
  HMENU channelMenu_ = nullptr;
  std::unique_ptr<Plugin> plugin_;
  IdNameResult idName_;
  std::optional<std::string> handlesAtStart_;
  unsigned long handlesBeforeFirstLoad_ = 0;
  std::uint16_t currentPid_ = 0;
  std::uint32_t nextFilterId_ = 0x0F01;
  std::map<std::uint32_t, std::unique_ptr<Filter>> filters_;
  std::vector<std::uint32_t> stoppedByPlugin_;
  std::vector<ReceivedFilterRequest> requests_;
  std::function<void()> onTick_;
  int busy_ = 0;
  bool quitting_ = false;
  bool windowsLeftAtExit_ = false;
  DWORD windowThread_ = 0;
};

inline constexpr UINT_PTR kHostTimer = 1;
inline constexpr UINT kHostTimerMs = 10;
// Host menu command ids beside the plug-in's codes.
inline constexpr UINT kExitCommand = 100;
inline constexpr UINT kFirstChannelCommand = 1000;

}  // namespace tolv::hostsim
