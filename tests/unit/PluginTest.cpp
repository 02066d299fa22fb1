// The plug-in's entry points against a host played by the test: what it asks of the host, when,
// with which records, and what it does with the viewer window and its memory.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "ViewerSession.h"
#include "host/Plugin.h"
#include "platform/HostMessage.h"
#include "ui/headless/Driver.h"
#include "viewer/FormAbout.h"

namespace tolv::host {
namespace {

// The host's side: channel records, filter requests and stops, as the plug-in sends them.
struct FakeHost {
  std::uint16_t channelPid = 0x13F0;
  std::uint32_t nextFilterId = 77;
  std::vector<std::uint32_t> commands;
  std::vector<TFilterRequest> requests;  // as received, before the id is written
  std::vector<std::intptr_t> stopped;
  std::function<void()> whileStopping;  // what happens on the window thread while a stop is sent

  FakeHost() {
    platform::SetHostAnswer([this](void* window, std::uint32_t command, std::intptr_t parameter) -> std::intptr_t {
      EXPECT_EQ(window, HostWindow());
      commands.push_back(command);
      if (command == kHostGetChannel) {
        auto* channel = reinterpret_cast<std::uint8_t*>(parameter);
        channel[TChannelInfo::kPidOffset] = static_cast<std::uint8_t>(channelPid);
        channel[TChannelInfo::kPidOffset + 1] = static_cast<std::uint8_t>(channelPid >> 8);
      } else if (command == kHostStartFilter) {
        auto* request = reinterpret_cast<TFilterRequest*>(parameter);
        requests.push_back(*request);
        request->FilterId = nextFilterId;
      } else if (command == kHostStopFilter) {
        stopped.push_back(parameter);
        if (whileStopping) whileStopping();
      }
      return 1;
    });
  }
  ~FakeHost() { platform::SetHostAnswer(nullptr); }
  static void* HostWindow() { return reinterpret_cast<void*>(0x1234); }
};

TChannelInfo Channel(std::uint16_t pid) {
  TChannelInfo channel{};
  channel.Bytes[TChannelInfo::kPidOffset] = static_cast<std::uint8_t>(pid);
  channel.Bytes[TChannelInfo::kPidOffset + 1] = static_cast<std::uint8_t>(pid >> 8);
  return channel;
}

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    State().FilterRunning = false;
    State().TeletextPid = 0;
    State().DataCallbackAddress = 0xCAFE;
    Start(FakeHost::HostWindow(), 0xABCD1234);
  }
  void TearDown() override {
    ui::Application().FreeAllForms();
    State().FilterRunning = false;
  }
  void Feed(const std::vector<testing::Buffer>& buffers) {
    for (const testing::Buffer& b : buffers) FilterReceive(static_cast<std::int32_t>(b.size()), b.data());
  }
  static bool MemoryHolds(std::uint16_t number) {
    FormTolvUse window = UseFormTolv();
    if (!window || !window->HandOver.LockPageData()) return false;
    const bool held = window->AllPages().GetPage(number, 0, gmFirst) != nullptr;
    window->HandOver.UnlockPageData();
    return held;
  }

  testing::HostDirectory directory_;
  ui::headless::Session session_;
  FakeHost host_;
};

TEST_F(PluginTest, DisplayNameIsNineBytes) {
  const TDllIdName name = DllIdName();
  EXPECT_EQ(std::memcmp(name.Name, "Tol-Vane\0", 9), 0);
}

TEST_F(PluginTest, OpeningTheViewerRequestsOneFilterOnTheChannelsPid) {
  MenuSelect(kMenuViewer);
  ASSERT_NE(FormTolv.load(), nullptr);
  EXPECT_TRUE(State().FilterRunning);
  ASSERT_EQ(host_.requests.size(), 1u);
  const TFilterRequest& r = host_.requests[0];
  EXPECT_EQ(r.Tag, 0x1234);
  EXPECT_EQ(r.Reserved, 0);
  EXPECT_EQ(r.Pid, 0x13F0);
  EXPECT_EQ(std::string(r.Name, 32), std::string("TOLVANE Filter") + std::string(18, '\0'));
  EXPECT_EQ(r.Padding[0] | r.Padding[1], 0);
  EXPECT_EQ(r.Callback, 0xCAFEu);
  EXPECT_EQ(r.FilterId, 0u) << "zero when sent";
  EXPECT_EQ(State().FilterRequest.FilterId, 77u) << "the host's id stays in the record";

  MenuSelect(kMenuViewer);  // only brings the window up
  EXPECT_EQ(host_.requests.size(), 1u);
  EXPECT_EQ(host_.commands, (std::vector<std::uint32_t>{kHostGetChannel, kHostStartFilter}));
}

TEST_F(PluginTest, AChannelWithoutTeletextRequestsNoFilter) {
  host_.channelPid = 0;
  MenuSelect(kMenuViewer);
  EXPECT_NE(FormTolv.load(), nullptr);
  EXPECT_FALSE(State().FilterRunning);
  EXPECT_TRUE(host_.requests.empty());
}

TEST_F(PluginTest, ChannelChangeWaitsForTheHostToCloseTheFilter) {
  MenuSelect(kMenuViewer);
  Feed(testing::RecordingBuffers(testing::kArd));
  ASSERT_TRUE(MemoryHolds(100));

  ChannelChange(Channel(0x0200));  // the filter still runs: ignored
  EXPECT_TRUE(MemoryHolds(100));
  EXPECT_EQ(host_.requests.size(), 1u);

  FilterClose();
  ChannelChange(Channel(0x0200));
  EXPECT_FALSE(MemoryHolds(100)) << "the memory of the old channel is gone";
  EXPECT_TRUE(State().ResetPending);
  ASSERT_EQ(host_.requests.size(), 2u);
  EXPECT_EQ(host_.requests[1].Pid, 0x0200);
  EXPECT_TRUE(State().FilterRunning);
}

TEST_F(PluginTest, TheFirstDataAfterTheWindowClosedStopsTheFilter) {
  MenuSelect(kMenuViewer);
  FormTolv.load()->Close();  // the user closes the window
  ui::Application().FreeReleasedForms();
  EXPECT_EQ(FormTolv.load(), nullptr);
  host_.nextFilterId = 5;  // the id in the request is the one the host gave at the start
  const std::uint8_t unit[46] = {};
  FilterReceive(46, unit);
  EXPECT_EQ(host_.stopped, (std::vector<std::intptr_t>{77}));
  EXPECT_FALSE(State().FilterRunning);
  FilterReceive(46, unit);
  EXPECT_EQ(host_.stopped.size(), 1u) << "stopped once";
}

// The host may unload the library as soon as On_Exit returns: by then the filter is stopped and
// every window is gone, without another event.
TEST_F(PluginTest, NothingOfThePluginRunsOnceExitHasReturned) {
  MenuSelect(kMenuViewer);
  Feed(testing::RecordingBuffers(testing::kArd));
  Exit();
  EXPECT_EQ(FormTolv.load(), nullptr);
  EXPECT_EQ(ui::Application().FormCount(), 0u);
  EXPECT_EQ(host_.stopped, (std::vector<std::intptr_t>{77}));
  EXPECT_FALSE(State().FilterRunning);
  const std::uint8_t unit[46] = {};
  FilterReceive(46, unit);  // a call the host's data thread had already begun
  EXPECT_EQ(host_.stopped.size(), 1u);
}

// On_Exit from the host's timer while the about dialog runs: the dialog ends as if cancelled,
// before its user acts again, and the windows go once it has returned.
TEST_F(PluginTest, ExitInsideTheAboutDialogEndsIt) {
  MenuSelect(kMenuViewer);
  session_.Backend().QueueModalScript([](ui::Form& /*dialog*/) { Exit(); });
  session_.Backend().QueueModalScript([](ui::Form& dialog) { ui::headless::Click(dialog, "OK"); });
  MenuSelect(kMenuAbout);
  EXPECT_EQ(session_.Backend().PendingModalScripts(), 1u) << "the dialog ended with On_Exit";
  EXPECT_EQ(host_.stopped.size(), 1u);
  ui::Application().FreeReleasedForms();
  EXPECT_EQ(ui::Application().FormCount(), 0u);
}

// The user reopens the viewer while the data thread stops the closed window's filter: the new
// window saw that filter still running and started none, so without help it would get no data.
TEST_F(PluginTest, AViewerReopenedWhileTheOldFilterStopsGetsOneOnItsNextTick) {
  MenuSelect(kMenuViewer);
  FormTolv.load()->Close();
  ui::Application().FreeReleasedForms();
  host_.whileStopping = [] { MenuSelect(kMenuViewer); };
  const std::uint8_t unit[46] = {};
  FilterReceive(46, unit);
  ASSERT_NE(FormTolv.load(), nullptr);
  EXPECT_EQ(host_.requests.size(), 1u) << "no filter is started inside the data callback";
  ui::headless::TickTimers(*FormTolv.load());
  EXPECT_EQ(host_.requests.size(), 2u);
  EXPECT_TRUE(State().FilterRunning);
  ui::headless::TickTimers(*FormTolv.load());
  EXPECT_EQ(host_.requests.size(), 2u) << "asked once";
}

TEST_F(PluginTest, ReopeningStartsFromNothing) {
  MenuSelect(kMenuViewer);
  Feed(testing::RecordingBuffers(testing::kArd));
  FormTolv.load()->Close();
  ui::Application().FreeReleasedForms();
  FilterReceive(0, nullptr);  // stops the filter
  MenuSelect(kMenuViewer);
  EXPECT_TRUE(State().ResetPending);
  EXPECT_FALSE(MemoryHolds(100));
  EXPECT_EQ(host_.requests.size(), 2u);
}

TEST_F(PluginTest, OtherMenuCodesDoNothingAndTheAboutCodeShowsTheDialog) {
  for (std::uint32_t code : {0u, 59999u, 60002u, 0xFFFFFFFFu}) MenuSelect(code);
  EXPECT_EQ(FormTolv.load(), nullptr);
  EXPECT_TRUE(host_.commands.empty());

  bool shown = false;
  session_.Backend().QueueModalScript([&](ui::Form& dialog) {
    shown = &dialog == frmAbout;
    ui::headless::Click(dialog, "OK");
  });
  MenuSelect(kMenuAbout);
  ui::Application().FreeReleasedForms();
  EXPECT_TRUE(shown);
  EXPECT_EQ(frmAbout, nullptr);
}

}  // namespace
}  // namespace tolv::host
