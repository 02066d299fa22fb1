#include "tools/hostsim/LatencyPoll.h"

#include <span>
#include <string>

#include "tools/hostsim/HostLog.h"
#include "tools/hostsim/Latency.h"
#include "tools/hostsim/PluginWindows.h"

namespace tolv::hostsim {
namespace {

// The extra tick a form's timer posts for itself (ui/win32/FormPeer.h); the plug-ins before it
// post none.
constexpr UINT kTimerTickSoon = WM_APP + 2;

bool ShowsDrawing(HWND viewer, const std::vector<std::uint64_t>& expectedRows) {
  HWND box = viewer == nullptr ? nullptr : FindDescendantOfClass(viewer, "TolvPaintBox");
  Pixels pixels;
  std::string error;
  GdiFlush();
  if (box == nullptr || !ReadClientPixels(box, pixels, error)) return false;
  if (pixels.Width < kPageLeftInPaintBox + kPageAreaWidth || pixels.Height < kCheckedBottom) return false;
  for (int y = kCheckedTop; y < kCheckedBottom; ++y) {
    const std::size_t start = (static_cast<std::size_t>(y) * pixels.Width + kPageLeftInPaintBox) * 3;
    const std::span<const std::uint8_t> row(pixels.Rgb.data() + start, static_cast<std::size_t>(kPageAreaWidth) * 3);
    if (RowHash(row) != expectedRows[y - kCheckedTop]) return false;
  }
  return true;
}

}  // namespace

PollOutcome PollForDrawing(HWND hostWindow, const std::vector<std::uint64_t>& expectedRows,
                           const std::function<std::int64_t()>& delivered, std::int64_t giveUpMicros,
                           ViewerTimings& timings) {
  PollOutcome outcome;
  HWND viewer = FindViewerWindow(hostWindow);
  timings.LastTimerMicros = 0;  // the periods between two polls ran in the host's loop, unseen
  const auto check = [&](UINT message, std::int64_t start, std::int64_t took) {
    if (delivered() == 0) return false;  // nothing to see before the hand-over
    const std::int64_t before = NowMicroseconds();
    if (!ShowsDrawing(viewer, expectedRows)) {
      outcome.CheckedMicros = before;
      ++outcome.Checks;
      return false;
    }
    outcome.Shown = true;
    outcome.ShownMicros = before;  // the pixels were there when the check began
    outcome.PaintingMessage = message;
    outcome.PaintingStartMicros = start;
    outcome.PaintingMicros = took;
    return true;
  };
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));
        outcome.Quit = true;
        return outcome;
      }
      const bool viewerTick = message.hwnd == viewer && viewer != nullptr &&
                              (message.message == WM_TIMER || message.message == kTimerTickSoon);
      const std::int64_t start = NowMicroseconds();
      TranslateMessage(&message);
      DispatchMessageA(&message);
      const std::int64_t took = NowMicroseconds() - start;
      if (viewerTick) {
        timings.TickDispatches.push_back(took);
        if (message.message == WM_TIMER) {
          if (timings.LastTimerMicros != 0) timings.TimerGaps.push_back(start - timings.LastTimerMicros);
          timings.LastTimerMicros = start;
        }
      }
      if (check(message.message, start, took)) return outcome;
    }
    if (check(0, 0, 0)) return outcome;
    if (NowMicroseconds() >= giveUpMicros) return outcome;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
}

}  // namespace tolv::hostsim
