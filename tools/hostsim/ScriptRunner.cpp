#include "tools/hostsim/ScriptRunner.h"

#include <algorithm>
#include <cstdio>

#include "pages/Header.h"

#include "tools/hostsim/ClipboardFiles.h"
#include "tools/hostsim/Dialogs.h"
#include "tools/hostsim/PluginWindows.h"
#include "tools/hostsim/PngEncoder.h"
#include "tools/hostsim/ProcessFigures.h"

namespace tolv::hostsim {

ScriptRunner::ScriptRunner(Host& host, HostLog& log, std::vector<Step> steps, bool quitAtEnd, int passes)
    : host_(host), log_(log), steps_(std::move(steps)), quitAtEnd_(quitAtEnd), passes_(passes) {
  char folder[MAX_PATH] = {};
  if (GetCurrentDirectoryA(MAX_PATH, folder) > 0) startFolder_ = folder;
}

std::string ScriptRunner::PathOf(const std::string& name) const {
  const bool absolute = name.size() > 1 && (name[1] == ':' || name[0] == '\\' || name[0] == '/');
  std::string path = absolute || startFolder_.empty() ? name : startFolder_ + "\\" + name;
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

void ScriptRunner::Tick() {
  if (finished_ || polling_ || host_.Busy()) return;
  if (waiting_ != nullptr) {
    if (!StillWaiting(*waiting_)) {
      const Step& step = *waiting_;
      waiting_ = nullptr;
      if (step.Kind == Command::kSaveDialog || step.Kind == Command::kDialog) ActOnDialog(step);
    } else if (NowMicroseconds() >= deadlineMicros_) {
      const Step& step = *waiting_;
      waiting_ = nullptr;
      Fail(step, "timed out");
    }
    return;
  }
  if (next_ >= steps_.size() && pass_ < passes_ && !steps_.empty()) {
    ++pass_;
    next_ = 0;
    log_.Add("script: pass %d of %d", pass_, passes_);
  }
  if (next_ >= steps_.size()) {
    finished_ = true;
    log_.Add("script: through, %d failed step(s)", failures_);
    if (quitAtEnd_) host_.Quit(ExitCode());
    return;
  }
  // The index moves on first: a step that runs a modal loop (the about dialog) lets the
  // following steps run inside it.
  const Step& step = steps_[next_++];
  Execute(step);
}

void ScriptRunner::Execute(const Step& step) {
  log_.Add("script: line %d", step.Line);
  const auto waitFor = [&](std::int64_t ms) {
    waiting_ = &step;
    deadlineMicros_ = NowMicroseconds() + ms * 1000;
  };
  std::string error;
  switch (step.Kind) {
    case Command::kWait: waitFor(step.Number); return;
    case Command::kMenu: host_.MenuSelect(static_cast<std::uint32_t>(step.Number)); return;
    case Command::kKey:
      nextKey_ = 0;
      if (StillWaiting(step)) waitFor(kDefaultTimeoutMs);
      return;
    case Command::kChannel: host_.SwitchChannel(static_cast<std::uint16_t>(step.Number), step.OnThread); return;
    case Command::kFilterClose: host_.CallFilterClose(); return;
    case Command::kUnload: host_.UnloadPluginAtOnce(); return;
    case Command::kLoad:
      if (!host_.LoadPlugin(error)) Fail(step, error);
      return;
    case Command::kChannelChange:
      host_.CallChannelChange(static_cast<std::uint16_t>(step.Number), step.OnThread);
      return;
    case Command::kClose: {
      HWND viewer = FindViewerWindow(host_.Window());
      if (viewer == nullptr) {
        Fail(step, "no viewer window");
      } else {
        PostMessageA(viewer, WM_CLOSE, 0, 0);
      }
      return;
    }
    case Command::kExit:
      finished_ = true;
      log_.Add("script: exit, %d failed step(s)", failures_);
      host_.Quit(ExitCode());
      return;
    case Command::kWaitCaption:
    case Command::kWaitIdle:
    case Command::kWaitClosed:
      if (StillWaiting(step)) waitFor(step.Number);
      return;
    case Command::kExpectLog:
      if (!log_.AnyLineContains(step.Text)) Fail(step, "no log line contains \"" + step.Text + "\"");
      return;
    case Command::kExpectHandles: ExpectHandles(step); return;
    case Command::kClick: {
      HWND button = FindButtonByCaption(host_.Window(), step.Text);
      if (button == nullptr) {
        Fail(step, "no button with the caption \"" + step.Text + "\"");
      } else {
        SendMessageA(button, BM_CLICK, 0, 0);
      }
      return;
    }
    case Command::kMenuItem:
      if (!ChooseMenuItem(host_.Window(), step.Text, error)) Fail(step, error);
      return;
    case Command::kClipboardText: {
      std::string text;
      if (!ReadClipboardText(host_.Window(), text, error)) {
        Fail(step, error);
      } else if (WriteText(step, text)) {
        log_.Add("script: %lu bytes of clipboard text written to %s", static_cast<unsigned long>(text.size()),
                 step.Text.c_str());
      }
      return;
    }
    case Command::kClipboardPng: {
      int width = 0;
      int height = 0;
      if (!WriteClipboardPng(host_.Window(), step.Text, width, height, error)) {
        Fail(step, error);
      } else {
        log_.Add("script: %dx%d pixels of the clipboard written to %s", width, height, step.Text.c_str());
      }
      return;
    }
    case Command::kSaveDialog:
    case Command::kDialog:
      if (StillWaiting(step)) {
        waitFor(kDefaultTimeoutMs);
      } else {
        ActOnDialog(step);
      }
      return;
    case Command::kPng: WritePng(step); return;
    case Command::kControls: WriteText(step, DumpControls(host_.Window())); return;
    case Command::kLog: WriteText(step, log_.Text()); return;
    case Command::kLatency:
      StartLatency(step);
      waitFor(step.Number + 10'000);  // the step ends itself at its time
      return;
  }
}

bool ScriptRunner::StillWaiting(const Step& step) {
  switch (step.Kind) {
    case Command::kWait: return true;  // until its deadline, which is no failure
    case Command::kWaitCaption: return !AnyCaptionContains(host_.Window(), step.Text);
    case Command::kWaitIdle: return !host_.FiltersIdle();
    case Command::kSaveDialog:
    case Command::kDialog: return FindOpenDialog() == nullptr;
    case Command::kWaitClosed: return !PluginTopLevelWindows(host_.Window()).empty();
    case Command::kKey: {
      // Types the next key: its messages are all read before the next tick, as when a user
      // types, so that each WM_CHAR follows its own key.
      if (nextKey_ >= step.Keys.size()) return false;
      std::string error;
      if (!PostKeys(host_.Window(), {step.Keys[nextKey_++]}, error)) {
        nextKey_ = step.Keys.size();
        Fail(step, error);
        return false;
      }
      return true;
    }
    case Command::kLatency: return LatencyTick(step);
    default: return false;
  }
}

void ScriptRunner::Fail(const Step& step, const std::string& reason) {
  if (step.Kind == Command::kWait) return;  // a plain wait ends at its time, as it should
  ++failures_;
  log_.Add("script: line %d FAILED: %s", step.Line, reason.c_str());
  std::fprintf(stderr, "hostsim: script line %d failed: %s\n", step.Line, reason.c_str());
}

// Inside the dialog's modal loop: its OK is posted, so the dialog ends once this tick is over.
void ScriptRunner::ActOnDialog(const Step& step) {
  HWND dialog = FindOpenDialog();
  std::string error;
  if (dialog == nullptr) {
    Fail(step, "no dialog open");
  } else if (step.Kind == Command::kSaveDialog) {
    if (!FillSaveDialog(dialog, PathOf(step.Text), static_cast<int>(step.Number), error)) {
      Fail(step, error);
    } else {
      log_.Add("script: saving as %s, type %d", step.Text.c_str(), static_cast<int>(step.Number));
    }
  } else if (WriteText(step, DialogTexts(dialog))) {
    const bool cancel = step.Extra == "cancel";
    log_.Add("script: the texts of dialog \"%s\" written to %s, %s pressed", WindowCaption(dialog).c_str(),
             step.Text.c_str(), cancel ? "Cancel" : "its default button");
    if (cancel) {
      PressCancel(dialog);
    } else {
      PressDefault(dialog);
    }
  }
}

bool ScriptRunner::WriteText(const Step& step, const std::string& text) {
  if (step.Text == "-") {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    return true;
  }
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  if (WriteFileBytes(PathOf(step.Text), {bytes, text.size()})) return true;
  Fail(step, "cannot write " + step.Text);
  return false;
}

void ScriptRunner::WritePng(const Step& step) {
  HWND viewer = FindViewerWindow(host_.Window());
  if (viewer == nullptr) {
    Fail(step, "no viewer window");
    return;
  }
  HWND box = step.Extra == "viewer" ? viewer : FindDescendantOfClass(viewer, step.Extra);
  if (box == nullptr) {
    Fail(step, "the viewer window has no child of class " + step.Extra);
    return;
  }
  Pixels pixels;
  std::string error;
  if (!ReadClientPixels(box, pixels, error)) {
    Fail(step, error);
    return;
  }
  const std::vector<std::uint8_t> png = EncodePng(pixels.Width, pixels.Height, pixels.Rgb);
  if (png.empty() || !WriteFileBytes(step.Text, png)) {
    Fail(step, "cannot write " + step.Text);
    return;
  }
  log_.Add("script: %dx%d pixels of %s written to %s", pixels.Width, pixels.Height, step.Extra.c_str(),
           step.Text.c_str());
}

void ScriptRunner::ExpectHandles(const Step& step) {
  const Plugin* plugin = host_.LoadedPlugin();
  const std::optional<std::string> now = plugin == nullptr ? std::nullopt : plugin->LiveHandles();
  const std::optional<std::string>& start = host_.HandlesAtStart();
  const ProcessFigures figures = ReadProcessFigures();
  log_.Add("script: live handles %s; %d threads, %lld KB private memory", now ? now->c_str() : "not reported",
           figures.Threads, static_cast<long long>(figures.PrivateBytes / 1024));
  if (!now || !start) {
    Fail(step, "the plug-in does not report its live handles");
  } else if (*now != *start) {
    Fail(step, "live handles " + *now + "; after On_Start: " + *start);
  }
}

namespace {

// A searched page's first completion must lie at least this far ahead, so that its three keys
// are typed (a key a tick) before it comes.
constexpr std::int64_t kLatencyLeadMicros = 100'000;
// The expected drawings (tools/hostsim/LatencyExpected.cpp), in the working directory.
constexpr char kLatencyExpectedFile[] = "latency-expected.txt";
// A sample given up: the page did not appear this long after its completing call was due.
constexpr std::int64_t kLatencyGiveUpMicros = 3'000'000;

std::string ShowCaption(std::uint16_t page) { return " Zeige: " + std::to_string(DisplayNumber(page)); }

const char* MessageKind(UINT message) {
  switch (message) {
    case 0: return "poll";  // found by the millisecond check, after no message
    case WM_TIMER: return "timer";
    case WM_PAINT: return "paint";
    case WM_APP + 2: return "ticksoon";
    default: return "other";
  }
}

}  // namespace

void ScriptRunner::StartLatency(const Step& step) {
  latency_ = {};
  latency_.EndMicros = NowMicroseconds() + step.Number * 1000;
  if (!ReadExpectedDrawings(kLatencyExpectedFile, latency_.Expected)) {
    Fail(step, std::string("cannot read the expected drawings ") + kLatencyExpectedFile);
    latency_.EndMicros = 0;
  }
}

bool ScriptRunner::LatencyTick(const Step& step) {
  const std::int64_t now = NowMicroseconds();
  if (now >= latency_.EndMicros) {
    FinishLatency(step);
    return false;
  }
  const std::vector<std::uint32_t> ids = host_.RunningFilterIds();
  const Filter* filter = ids.empty() ? nullptr : host_.FindFilter(ids.front());
  if (filter == nullptr) return true;  // until a filter runs
  if (filter->Id() != latency_.FilterId) {
    latency_.FilterId = filter->Id();
    latency_.Firsts = FirstCompletions(filter->FeedData());
    latency_.NextFirst = 0;
    latency_.Phase = LatencyPhase::kPick;
  }
  const std::vector<FeedCall>& calls = filter->FeedData().Calls;
  switch (latency_.Phase) {
    case LatencyPhase::kPick: {
      const std::int64_t passTime = now - filter->StartMicroseconds();
      while (latency_.NextFirst < latency_.Firsts.size()) {
        const FirstCompletion& first = latency_.Firsts[latency_.NextFirst];
        // A page on show already would not show a change.
        if (calls[first.Call].AtMicroseconds >= passTime + kLatencyLeadMicros &&
            latency_.Expected.count(ExpectedKey(first)) != 0 &&
            !AnyCaptionContains(host_.Window(), ShowCaption(first.Page))) {
          break;
        }
        ++latency_.NextFirst;
      }
      if (latency_.NextFirst >= latency_.Firsts.size()) {
        if (!filter->Idle()) return true;
        FinishLatency(step);
        return false;
      }
      latency_.Target = latency_.Firsts[latency_.NextFirst++];
      latency_.Digits = std::to_string(DisplayNumber(latency_.Target.Page));
      latency_.Typed = 0;
      latency_.Phase = LatencyPhase::kTyping;
      return true;
    }
    case LatencyPhase::kTyping: {
      Key key;
      key.VirtualKey = static_cast<std::uint8_t>(latency_.Digits[latency_.Typed++]);
      std::string error;
      if (!PostKeys(host_.Window(), {key}, error)) {
        Fail(step, error);
        return false;
      }
      if (latency_.Typed == latency_.Digits.size()) {
        latency_.TypedMicros = NowMicroseconds();
        latency_.GiveUpMicros =
            filter->StartMicroseconds() + calls[latency_.Target.Call].AtMicroseconds + kLatencyGiveUpMicros;
        latency_.Phase = LatencyPhase::kShown;
      }
      return true;
    }
    case LatencyPhase::kShown: {
      latency_.Phase = LatencyPhase::kPick;
      const std::size_t call = latency_.Target.Call;
      polling_ = true;
      const PollOutcome outcome = PollForDrawing(
          host_.Window(), latency_.Expected.at(ExpectedKey(latency_.Target)),
          [filter, call] { return filter->DeliveredAt(call); }, latency_.GiveUpMicros, latency_.Viewer);
      polling_ = false;
      if (outcome.Quit) return false;
      const std::int64_t delivered = filter->DeliveredAt(call);
      if (!outcome.Shown) {
        ++latency_.Missed;
        return true;
      }
      if (delivered < latency_.TypedMicros) {
        ++latency_.ShownEarly;  // from the viewer's memory: not what is measured
        return true;
      }
      const std::int64_t sample = outcome.ShownMicros - delivered;
      // How long the drawing may have been complete before the check saw it: since the end of the
      // message that drew it, or since the check before when none did.
      const std::int64_t resolution = outcome.PaintingMessage != 0
                                          ? outcome.ShownMicros - (outcome.PaintingStartMicros + outcome.PaintingMicros)
                                          : outcome.ShownMicros - std::max(outcome.CheckedMicros, delivered);
      latency_.Samples.push_back(sample);
      latency_.Resolutions.push_back(resolution);
      if (FILE* file = std::fopen(step.Text.c_str(), "a")) {
        // page, call, latency, resolution, then the viewer's message that painted: which, when
        // it began after the hand-over, how long it ran (microseconds).
        std::fprintf(
            file, "%u %zu %lld %lld %s %lld %lld\n", DisplayNumber(latency_.Target.Page), call,
            static_cast<long long>(sample), static_cast<long long>(resolution), MessageKind(outcome.PaintingMessage),
            static_cast<long long>(outcome.PaintingStartMicros == 0 ? -1 : outcome.PaintingStartMicros - delivered),
            static_cast<long long>(outcome.PaintingMicros));
        std::fclose(file);
      }
      return true;
    }
  }
  return true;
}

void ScriptRunner::FinishLatency(const Step& step) {
  const auto ms = [](std::int64_t micros) { return static_cast<double>(micros) / 1000.0; };
  const std::vector<std::int64_t>& samples = latency_.Samples;
  const ViewerTimings& viewer = latency_.Viewer;
  char line[512];
  std::snprintf(line, sizeof line,
                "latency: %zu samples, median %.1f ms, p90 %.1f ms, p99 %.1f ms, max %.1f ms (%d shown before their "
                "call, %d missed); resolution max %.2f ms; viewer timer gaps median %.1f ms, max %.1f ms; ticks ran "
                "median %.2f ms, max %.1f ms",
                samples.size(), ms(Percentile(samples, 50)), ms(Percentile(samples, 90)), ms(Percentile(samples, 99)),
                ms(Percentile(samples, 100)), latency_.ShownEarly, latency_.Missed,
                ms(Percentile(latency_.Resolutions, 100)), ms(Percentile(viewer.TimerGaps, 50)),
                ms(Percentile(viewer.TimerGaps, 100)), ms(Percentile(viewer.TickDispatches, 50)),
                ms(Percentile(viewer.TickDispatches, 100)));
  log_.Add("script: line %d %s", step.Line, line);
  std::printf("%s\n", line);
  std::fflush(stdout);
  if (FILE* file = std::fopen((step.Text + ".viewer").c_str(), "a")) {
    for (const std::int64_t gap : viewer.TimerGaps) std::fprintf(file, "gap %lld\n", static_cast<long long>(gap));
    for (const std::int64_t took : viewer.TickDispatches) {
      std::fprintf(file, "tick %lld\n", static_cast<long long>(took));
    }
    std::fclose(file);
  }
}

}  // namespace tolv::hostsim
