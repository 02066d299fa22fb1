// Runs a parsed script on the host's window thread, one step per tick of the host's timer;
// waiting steps check their condition on every tick until it holds or their time is up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/hostsim/Host.h"
#include "tools/hostsim/HostLog.h"
#include "tools/hostsim/Latency.h"
#include "tools/hostsim/LatencyPoll.h"
#include "tools/hostsim/Script.h"

namespace tolv::hostsim {

// Exit codes keep 8 bits; the count of failed steps stops here.
inline constexpr int kMaxReportedFailures = 100;

class ScriptRunner {
 public:
  // The steps run passes times over; with quitAtEnd, the host quits when they are through (exit
  // code: the failures).
  ScriptRunner(Host& host, HostLog& log, std::vector<Step> steps, bool quitAtEnd, int passes = 1);

  // One tick: goes on with a waiting step or starts the next one.
  void Tick();

  bool Finished() const { return finished_; }
  int Failures() const { return failures_; }
  int ExitCode() const { return failures_ < kMaxReportedFailures ? failures_ : kMaxReportedFailures; }

 private:
  void Execute(const Step& step);
  std::string startFolder_;
  // True while the waiting step has not finished: its condition has not held yet, or it has
  // keys left to type.
  bool StillWaiting(const Step& step);
  void Fail(const Step& step, const std::string& reason);
  bool WriteText(const Step& step, const std::string& text);
  // A file name of the script, relative to the folder the script started in: a system dialog
  // may move the process to another folder while it is open.
  std::string PathOf(const std::string& name) const;
  void WritePng(const Step& step);
  // A save-dialog or dialog step, once its dialog is open.
  void ActOnDialog(const Step& step);
  void ExpectHandles(const Step& step);
  void StartLatency(const Step& step);
  // One tick of a latency step; false when it is through.
  bool LatencyTick(const Step& step);
  void FinishLatency(const Step& step);

  Host& host_;
  HostLog& log_;
  std::vector<Step> steps_;
  bool quitAtEnd_;
  int passes_;
  int pass_ = 1;
  std::size_t next_ = 0;
  const Step* waiting_ = nullptr;
  std::size_t nextKey_ = 0;  // of the key step being typed, one key a tick
  std::int64_t deadlineMicros_ = 0;
  int failures_ = 0;

  // The latency step under way.
  enum class LatencyPhase : std::uint8_t { kPick, kTyping, kShown };
  struct LatencyRun {
    std::int64_t EndMicros = 0;
    std::uint32_t FilterId = 0;
    std::vector<FirstCompletion> Firsts;  // of that filter's feed
    std::size_t NextFirst = 0;
    LatencyPhase Phase = LatencyPhase::kPick;
    FirstCompletion Target;
    std::string Digits;
    std::size_t Typed = 0;
    std::int64_t TypedMicros = 0;
    std::int64_t GiveUpMicros = 0;
    ExpectedDrawings Expected;
    ViewerTimings Viewer;
    std::vector<std::int64_t> Samples;
    std::vector<std::int64_t> Resolutions;
    int ShownEarly = 0;
    int Missed = 0;
  };
  LatencyRun latency_;
  bool polling_ = false;  // inside a latency poll, which dispatches the host's ticks itself
  bool finished_ = false;
};

}  // namespace tolv::hostsim
