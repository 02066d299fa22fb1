#include "tools/hostsim/ScriptRunner.h"

#include <cstdio>

#include "tools/hostsim/PluginWindows.h"
#include "tools/hostsim/PngEncoder.h"

namespace tolv::hostsim {

ScriptRunner::ScriptRunner(Host& host, HostLog& log, std::vector<Step> steps, bool quitAtEnd)
    : host_(host), log_(log), steps_(std::move(steps)), quitAtEnd_(quitAtEnd) {}

void ScriptRunner::Tick() {
  if (finished_ || host_.Busy()) return;
  if (waiting_ != nullptr) {
    if (!StillWaiting(*waiting_)) {
      waiting_ = nullptr;
    } else if (NowMicroseconds() >= deadlineMicros_) {
      const Step& step = *waiting_;
      waiting_ = nullptr;
      Fail(step, "timed out");
    }
    return;
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
      if (StillWaiting(step)) waitFor(step.Number);
      return;
    case Command::kExpectLog:
      if (!log_.AnyLineContains(step.Text)) Fail(step, "no log line contains \"" + step.Text + "\"");
      return;
    case Command::kClick: {
      HWND button = FindButtonByCaption(host_.Window(), step.Text);
      if (button == nullptr) {
        Fail(step, "no button with the caption \"" + step.Text + "\"");
      } else {
        SendMessageA(button, BM_CLICK, 0, 0);
      }
      return;
    }
    case Command::kPng: WritePng(step); return;
    case Command::kControls: WriteText(step, DumpControls(host_.Window())); return;
    case Command::kLog: WriteText(step, log_.Text()); return;
  }
}

bool ScriptRunner::StillWaiting(const Step& step) {
  switch (step.Kind) {
    case Command::kWait: return true;  // until its deadline, which is no failure
    case Command::kWaitCaption: return !AnyCaptionContains(host_.Window(), step.Text);
    case Command::kWaitIdle: return !host_.FiltersIdle();
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
    default: return false;
  }
}

void ScriptRunner::Fail(const Step& step, const std::string& reason) {
  if (step.Kind == Command::kWait) return;  // a plain wait ends at its time, as it should
  ++failures_;
  log_.Add("script: line %d FAILED: %s", step.Line, reason.c_str());
  std::fprintf(stderr, "hostsim: script line %d failed: %s\n", step.Line, reason.c_str());
}

bool ScriptRunner::WriteText(const Step& step, const std::string& text) {
  if (step.Text == "-") {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    return true;
  }
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  if (WriteFileBytes(step.Text, {bytes, text.size()})) return true;
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

}  // namespace tolv::hostsim
