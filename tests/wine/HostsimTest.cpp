// The host simulator under Wine with the test plug-in (TestPlugin.cpp): the calls it makes, the
// commands it answers, the data it feeds, the scripts it runs. The plug-in's journal tells what
// arrived on its side; the host's log and records tell what the host saw.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/unit/TsBuilder.h"
#include "tools/hostsim/Host.h"
#include "tools/hostsim/PngEncoder.h"
#include "tools/hostsim/ScriptRunner.h"

namespace tolv::hostsim {
namespace {

using testing::Append;
using testing::Bytes;

constexpr std::uint16_t kMarkedPid = 0x0101;  // the PMT's teletext PID: the first channel
constexpr std::uint16_t kOtherPid = 0x0202;   // teletext PES without a PMT entry
constexpr std::uint32_t kFirstFilterId = 0x0F01;

// Six PES 100 ms apart on the marked PID, three without stamps on the other one.
Bytes Recording() {
  Bytes stream = testing::PsiPacketOf(0, 0, testing::PatOf({0x100}));
  Append(stream, testing::PsiPacketOf(0x100, 0, testing::PmtOf(1, {{kMarkedPid, 0x06, testing::kTeletextDescriptor}})));
  std::uint8_t marked = 0, other = 0;
  for (unsigned i = 0; i < 6; ++i) {
    Append(stream, testing::Packetize(kMarkedPid,
                                      testing::PesOf(testing::DataUnits(i % 3 + 1, static_cast<std::uint8_t>(i)),
                                                     {.pts = 90'000 + i * 9000}),
                                      marked));
    if (i < 3) {
      Append(stream, testing::Packetize(
                         kOtherPid, testing::PesOf(testing::DataUnits(2, static_cast<std::uint8_t>(99 + i))), other));
    }
  }
  return stream;
}

struct DataLine {
  std::uint32_t first = 0;
  int length = 0;
  std::uint32_t crc = 0;
  long long at = 0;
  std::string thread;
};

// One host with the test plug-in on this thread, quit at the end of the test.
class Session {
 public:
  explicit Session(Pacing pace = {}, const char* plugin = TOLV_TEST_PLUGIN)
      : feeds_(Recording(), recordings::RecordingFormat::kTransportStream) {
    HostOptions options;
    options.PluginPath = plugin;
    options.Pace = pace;
    host_ = std::make_unique<Host>(feeds_, options, log_);
    started_ = host_->Start(error_);
  }
  ~Session() {
    host_->Quit(0);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    host_.reset();
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  bool Started() const { return started_; }
  const std::string& Error() const { return error_; }
  Host& host() { return *host_; }
  HostLog& log() { return log_; }
  RecordingFeeds& feeds() { return feeds_; }

  template <typename Fn>
  Fn Export(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(host_->LoadedPlugin()->Module(), name)));
  }

  std::vector<std::string> Journal() {
    const auto journal = Export<int(__cdecl*)(char*, int)>("Test_Journal");
    std::string text(static_cast<std::size_t>(journal(nullptr, 0)), '\0');
    journal(text.data(), static_cast<int>(text.size()));
    std::vector<std::string> lines;
    std::istringstream stream(text.c_str());
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
  }
  std::vector<DataLine> DataLines() {
    std::vector<DataLine> data;
    for (const std::string& line : Journal()) {
      DataLine d;
      char thread[16] = {};
      if (std::sscanf(line.c_str(), "data first=%u length=%d crc=%x at=%lld thread=%15s", &d.first, &d.length, &d.crc,
                      &d.at, thread) == 5) {
        d.thread = thread;
        data.push_back(d);
      }
    }
    return data;
  }
  // The index of the first journal line beginning with prefix, or -1.
  int Find(const std::string& prefix) {
    const std::vector<std::string> lines = Journal();
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
    }
    return -1;
  }
  void Configure(int stopAfter, int sleepMs) { Export<void(__cdecl*)(int, int)>("Test_Configure")(stopAfter, sleepMs); }

  // Dispatches this thread's messages until done holds; false after timeoutMs.
  bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10'000) {
    return hostsim::PumpUntil(done, timeoutMs);
  }
  // Runs script to its end; the number of failed steps.
  int RunScript(const std::string& text) {
    ParsedScript script = ParseScript(text);
    EXPECT_TRUE(script.Errors.empty());
    ScriptRunner runner(*host_, log_, std::move(script.Steps), false);
    host_->SetTickHandler([&runner] { runner.Tick(); });
    EXPECT_TRUE(PumpUntil([&] { return runner.Finished(); }, 30'000));
    host_->SetTickHandler(nullptr);
    return runner.Failures();
  }

 private:
  HostLog log_;
  RecordingFeeds feeds_;
  std::unique_ptr<Host> host_;
  bool started_ = false;
  std::string error_;
};

std::uint32_t CrcOfCall(const Feed& feed, const FeedCall& call) {
  return Crc32({feed.Bytes.data() + call.Offset, static_cast<std::size_t>(call.Length)});
}

// --- Start -------------------------------------------------------------------------------------

TEST(HostsimStart, CallsTheExportsInOrderAndReadsTheNameAsAnMsvcHost) {
  Session session;
  ASSERT_TRUE(session.Started()) << session.Error();
  const IdNameResult& name = session.host().IdName();
  EXPECT_EQ(std::string(name.Bytes.begin(), name.Bytes.end()), std::string("Tol-Vane\0", 9));
  EXPECT_TRUE(name.ReturnedItsPointer);
  EXPECT_EQ(name.PushedBytesLeft, 4);
  const std::vector<std::string> journal = session.Journal();
  ASSERT_EQ(journal.size(), 2u);
  EXPECT_EQ(journal[0], "On_Send_Dll_ID_Name");
  EXPECT_EQ(journal[1], "On_Start first=0 window=valid third=0 tag=0x00C0FFEE");
  // The two entries in the host's menu, captioned with the display name.
  char caption[64] = {};
  GetMenuStringA(GetMenu(session.host().Window()), kMenuViewer, caption, sizeof caption, MF_BYCOMMAND);
  EXPECT_STREQ(caption, "Tol-Vane");
  GetMenuStringA(GetMenu(session.host().Window()), kMenuAbout, caption, sizeof caption, MF_BYCOMMAND);
  EXPECT_STREQ(caption, "About Tol-Vane");
}

// The check can fail: a plug-in that pops the hidden pointer itself (ret 4) is caught, and the
// host's stack survives it.
TEST(HostsimStart, NoticesAPluginThatPopsTheHiddenPointer) {
  Session session({}, TOLV_TEST_PLUGIN_CALLEE_POPS);
  ASSERT_TRUE(session.Started()) << session.Error();
  EXPECT_EQ(session.host().IdName().PushedBytesLeft, 0);
  EXPECT_EQ(session.host().DisplayName(), "Tol-Vane");
  EXPECT_TRUE(session.log().AnyLineContains("0 pushed bytes left to the caller"));
}

TEST(HostsimStart, SaysWhichPluginItCannotLoad) {
  Session session({}, "plugins\\none-such.dll");
  EXPECT_FALSE(session.Started());
  EXPECT_NE(session.Error().find("plugins\\none-such.dll"), std::string::npos) << session.Error();
}

// --- Menu and commands ---------------------------------------------------------------------------

TEST(HostsimMenu, EntriesCallOnMenuSelectWithTheirCodes) {
  Session session;
  ASSERT_TRUE(session.Started()) << session.Error();
  SendMessageA(session.host().Window(), WM_COMMAND, kMenuAbout, 0);
  EXPECT_EQ(session.RunScript("menu 4711\n"), 0);
  SendMessageA(session.host().Window(), WM_COMMAND, kMenuViewer, 0);
  const std::vector<std::string> journal = session.Journal();
  ASSERT_GE(journal.size(), 5u);
  EXPECT_EQ(journal[2], "On_Menu_Select 60001 thread=window");
  EXPECT_EQ(journal[3], "On_Menu_Select 4711 thread=window");
  EXPECT_EQ(journal[4], "On_Menu_Select 60000 thread=window");
}

// The channel record's PID, then the filter request byte for byte as the plug-in sent it, and
// the id the host wrote into it before the command returned.
TEST(HostsimCommands, AnswerWithThePidAndTakeTheFilterRequestAsSent) {
  Session session({.Fast = false, .Speed = 0.001, .Loop = false});  // no data comes during the test
  ASSERT_TRUE(session.Started()) << session.Error();
  session.host().MenuSelect(kMenuViewer);
  EXPECT_GE(session.Find("channel pid=0x0101"), 0);
  ASSERT_EQ(session.host().FilterRequests().size(), 1u);
  const ReceivedFilterRequest& request = session.host().FilterRequests()[0];
  Bytes expected(48, 0);
  expected[0] = 0xEE;  // the low 16 bits of the tag 0x00C0FFEE
  expected[1] = 0xFF;
  expected[4] = kMarkedPid & 0xFF;
  expected[5] = kMarkedPid >> 8;
  const std::string name = "TOLVANE Filter";
  std::copy(name.begin(), name.end(), expected.begin() + 6);
  WriteU32(expected.data() + 40, session.host().LoadedPlugin()->FilterReceiveAddress());
  EXPECT_EQ(Bytes(request.Bytes.begin(), request.Bytes.end()), expected);
  EXPECT_FALSE(request.FromOtherThread);
  EXPECT_EQ(request.AssignedId, kFirstFilterId);
  EXPECT_GE(session.Find("start pid=0x0101 result=1 id=3841"), 0);
}

// --- Data ----------------------------------------------------------------------------------------

TEST(HostsimData, EachCallbackCarriesOnePesWholeOnTheDataThread) {
  Session session({.Fast = true, .Speed = 1, .Loop = false});
  ASSERT_TRUE(session.Started()) << session.Error();
  session.host().MenuSelect(kMenuViewer);
  ASSERT_TRUE(session.PumpUntil([&] { return session.host().FiltersIdle(); }));
  const Feed& feed = session.feeds().FeedOf(kMarkedPid);
  ASSERT_EQ(feed.Calls.size(), 6u);
  const std::vector<DataLine> data = session.DataLines();
  ASSERT_EQ(data.size(), feed.Calls.size());
  for (std::size_t i = 0; i < data.size(); ++i) {
    EXPECT_EQ(data[i].length, feed.Calls[i].Length) << i;
    EXPECT_EQ(data[i].length % 46, 0) << i;
    EXPECT_EQ(data[i].length, static_cast<int>(i % 3 + 1) * 46) << i;
    EXPECT_EQ(data[i].crc, CrcOfCall(feed, feed.Calls[i])) << i;
    EXPECT_EQ(data[i].first, kFirstFilterId) << i;
    EXPECT_EQ(data[i].thread, "other") << i;
  }
}

// Paced, a call never comes before its time (its PES's stamp, divided by the speed); fast, the
// calls do not wait for their times. Only the lower bound is asserted of pacing.
TEST(HostsimData, PacedCallsWaitForTheirTimesAndFastOnesDoNot) {
  struct Case {
    Pacing pace;
    bool paced;
  };
  const Case cases[] = {{{.Fast = false, .Speed = 5, .Loop = false}, true},
                        {{.Fast = false, .Speed = 1, .Loop = false}, true},
                        {{.Fast = true, .Speed = 1, .Loop = false}, false}};
  for (const Case& c : cases) {
    Session session(c.pace);
    ASSERT_TRUE(session.Started()) << session.Error();
    session.host().MenuSelect(kMenuViewer);
    ASSERT_TRUE(session.PumpUntil([&] { return session.host().FiltersIdle(); }));
    const Filter* filter = session.host().FindFilter(kFirstFilterId);
    ASSERT_NE(filter, nullptr);
    const Feed& feed = session.feeds().FeedOf(kMarkedPid);
    const std::vector<DataLine> data = session.DataLines();
    ASSERT_EQ(data.size(), feed.Calls.size()) << c.pace.Speed;
    const auto due = [&](std::size_t i) {
      return filter->StartMicroseconds() + static_cast<long long>(feed.Calls[i].AtMicroseconds / c.pace.Speed);
    };
    for (std::size_t i = 0; i < data.size(); ++i) {
      if (i > 0) {
        EXPECT_GE(data[i].at, data[i - 1].at);
      }
      if (c.paced) {
        EXPECT_GE(data[i].at, due(i)) << "call " << i << " at speed " << c.pace.Speed;
      }
    }
    // Fast: the last call (half a second into the recording) does not wait for its time.
    if (!c.paced) {
      EXPECT_LT(data.back().at, due(data.size() - 1));
    }
  }
}

TEST(HostsimData, AStopFromInsideTheCallbackEndsTheFeedThere) {
  Session session({.Fast = true, .Speed = 1, .Loop = true});
  ASSERT_TRUE(session.Started()) << session.Error();
  session.Configure(3, 0);
  session.host().MenuSelect(kMenuViewer);
  ASSERT_TRUE(session.PumpUntil([&] { return session.host().FiltersIdle(); }));
  EXPECT_EQ(session.DataLines().size(), 3u);
  EXPECT_GE(session.Find("stop id=3841 result=1 thread=other"), 0);
  EXPECT_TRUE(session.log().AnyLineContains("HOST_STOP_FILTER from another thread: id 3841 stopped after 2 calls"));
  EXPECT_TRUE(session.host().RunningFilterIds().empty());
}

// The host's window thread waits for the data thread while the callback, on that thread, sends
// the stop command to the host's window: the wait must answer it, not deadlock.
TEST(HostsimData, ASwitchWhileTheCallbackSendsItsStopDoesNotDeadlock) {
  for (const bool onThread : {false, true}) {
    // Not looped: the new channel's filter would call the plug-in back to back without end, and
    // its data thread could then keep the channel change's thread from the plug-in's journal lock.
    Session session({.Fast = true, .Speed = 1, .Loop = false});
    ASSERT_TRUE(session.Started()) << session.Error();
    session.Configure(1, 200);
    session.host().MenuSelect(kMenuViewer);
    // The first callback has begun: it sleeps, then sends its stop while the switch waits.
    ASSERT_TRUE(session.PumpUntil([&] { return !session.DataLines().empty(); }));
    session.host().SwitchChannel(kOtherPid, onThread);
    const int stop = session.Find("stop id=3841 result=1 thread=other");
    const int change = session.Find("On_Channel_Change pid=0x0202");
    EXPECT_GE(stop, 0) << onThread;
    EXPECT_GT(change, stop) << onThread;
    // One call of the first filter; the new channel's filter may have begun its own since.
    const std::vector<DataLine> data = session.DataLines();
    EXPECT_EQ(std::count_if(data.begin(), data.end(), [](const DataLine& d) { return d.first == kFirstFilterId; }), 1);
    // Each session loaded the plug-in afresh.
    const std::vector<std::string> journal = session.Journal();
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "On_Send_Dll_ID_Name"), 1);
  }
}

// --- Channels ------------------------------------------------------------------------------------

TEST(HostsimChannel, ASwitchClosesTheFilterThenAnnouncesTheNewChannelByValue) {
  for (const bool onThread : {false, true}) {
    Session session({.Fast = false, .Speed = 0.001, .Loop = false});
    ASSERT_TRUE(session.Started()) << session.Error();
    session.host().MenuSelect(kMenuViewer);
    session.host().SwitchChannel(kOtherPid, onThread);
    const int close = session.Find("On_Filter_Close thread=window");
    const std::array<std::uint8_t, kChannelInfoSize> record = ChannelRecord(kOtherPid);
    char change[96];
    std::snprintf(change, sizeof change, "On_Channel_Change pid=0x0202 thread=%s crc=%08X",
                  onThread ? "other" : "window", Crc32(record));
    const int announce = session.Find(change);
    const int start = session.Find("start pid=0x0202 result=1 id=3842");
    EXPECT_GE(close, 0) << onThread;
    EXPECT_GT(announce, close) << change;
    EXPECT_GT(start, announce) << onThread;
    EXPECT_TRUE(session.log().AnyLineContains("host closes filter 3841"));
    EXPECT_EQ(session.host().RunningFilterIds(), std::vector<std::uint32_t>{3842});
    EXPECT_EQ(session.host().CurrentPid(), kOtherPid);
  }
}

TEST(HostsimChannel, AChannelWithoutTeletextAnnouncesPidZero) {
  Session session({.Fast = false, .Speed = 0.001, .Loop = false});
  ASSERT_TRUE(session.Started()) << session.Error();
  session.host().MenuSelect(kMenuViewer);
  session.host().SwitchChannel(0, false);
  EXPECT_GE(session.Find("On_Channel_Change pid=0x0000"), 0);
  EXPECT_EQ(session.Find("start pid=0x0000"), -1);
  EXPECT_TRUE(session.host().RunningFilterIds().empty());
  // A switch with no filter running calls no On_Filter_Close.
  session.host().SwitchChannel(kMarkedPid, false);
  const std::vector<std::string> journal = session.Journal();
  EXPECT_EQ(std::count(journal.begin(), journal.end(), "On_Filter_Close thread=window"), 1);
  EXPECT_GE(session.Find("start pid=0x0101 result=1 id=3842"), 0);
}

// --- Scripts -------------------------------------------------------------------------------------

TEST(HostsimScript, ClosingTheViewerLetsTheNextCallbackStopTheFilter) {
  Session session({.Fast = false, .Speed = 1, .Loop = true});
  ASSERT_TRUE(session.Started()) << session.Error();
  EXPECT_EQ(session.RunScript("menu 60000\n"
                              "wait-caption \"Aufrufe: 1\"\n"
                              "close\n"
                              "wait-idle\n"
                              "expect-log \"HOST_STOP_FILTER from another thread: id 3841 stopped\"\n"),
            0);
  EXPECT_GE(session.Find("data after close"), 0);
  EXPECT_GT(session.Find("stop id=3841 result=1 thread=other"), session.Find("close"));
}

TEST(HostsimScript, KeysReachTheViewerWithShiftAndCtrlHeld) {
  Session session({.Fast = false, .Speed = 0.001, .Loop = false});
  ASSERT_TRUE(session.Started()) << session.Error();
  EXPECT_EQ(session.RunScript("menu 60000\nkey 1 shift+a ctrl+F1 PageUp\nwait 100\n"), 0);
  std::vector<std::string> keys;
  for (const std::string& line : session.Journal()) {
    const bool modifier = line.rfind("keydown vk=0x10", 0) == 0 || line.rfind("keydown vk=0x11", 0) == 0;
    if ((line.rfind("keydown", 0) == 0 && !modifier) || line.rfind("char", 0) == 0) keys.push_back(line);
  }
  const std::vector<std::string> expected = {"keydown vk=0x31 shift=0 ctrl=0", "char 0x31",
                                             "keydown vk=0x41 shift=1 ctrl=0", "char 0x41",
                                             "keydown vk=0x70 shift=0 ctrl=1", "keydown vk=0x21 shift=0 ctrl=0"};
  EXPECT_EQ(keys, expected);
  EXPECT_GE(GetKeyState(VK_SHIFT), 0) << "shift still held after the keys";
}

// The paint box's pixels, the controls and the failures a script counts.
TEST(HostsimScript, WritesThePaintBoxAndTheControlsAndCountsFailedSteps) {
  Session session({.Fast = false, .Speed = 0.001, .Loop = false});
  ASSERT_TRUE(session.Started()) << session.Error();
  std::remove("hostsim-box.png");
  std::remove("hostsim-controls.txt");
  EXPECT_EQ(session.RunScript("png hostsim-box.png\n"  // no viewer yet: fails
                              "channel 0\n"            // no data, so that the captions stay as they are
                              "menu 60000\n"
                              "png hostsim-box.png\n"
                              "controls hostsim-controls.txt\n"
                              "wait-caption \"never shown\" 50\n"  // fails
                              "expect-log \"call On_Menu_Select(60000)\"\n"
                              "expect-log \"no such line\"\n"  // fails
                              "wait-caption Knopf 50\n"),
            3);
  Bytes rgb;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 64; ++x) {
      const Bytes pixel = y >= 16 ? Bytes{0, 0, 255} : x < 32 ? Bytes{255, 0, 0} : Bytes{0, 255, 0};
      Append(rgb, pixel);
    }
  }
  std::ifstream png("hostsim-box.png", std::ios::binary);
  const Bytes written{std::istreambuf_iterator<char>(png), std::istreambuf_iterator<char>()};
  EXPECT_TRUE(written == EncodePng(64, 32, rgb)) << "the paint box's pixels differ";
  std::ifstream controls("hostsim-controls.txt");
  const std::string dump{std::istreambuf_iterator<char>(controls), std::istreambuf_iterator<char>()};
  EXPECT_EQ(dump,
            "TestPluginViewer\t\"Tol-Vane DVB\"\tvisible\tenabled\n"
            "  Static\t\"Aufrufe: 0\"\tvisible\tenabled\n"
            "  Button\t\"Knopf\"\tvisible\tdisabled\n"
            "  Static\t\"Versteckt\"\thidden\tenabled\n"
            "  TolvPaintBox\t\"\"\tvisible\tenabled\n");
}

TEST(HostsimExit, OnExitClosesTheOpenViewerAndTheFiltersStop) {
  Session session({.Fast = false, .Speed = 1, .Loop = true});
  ASSERT_TRUE(session.Started()) << session.Error();
  session.host().MenuSelect(kMenuViewer);
  session.host().Quit(0);
  EXPECT_GE(session.Find("On_Exit viewer=open"), 0);
  EXPECT_TRUE(session.log().AnyLineContains("after On_Exit: 0 plug-in window(s) left"));
  EXPECT_EQ(session.host().Window(), nullptr);
  EXPECT_TRUE(session.host().RunningFilterIds().empty());
}

}  // namespace
}  // namespace tolv::hostsim
