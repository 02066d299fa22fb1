// The end of one latency sample, watched on the host's window thread: every message is
// dispatched as the host's loop would (the viewer runs on this thread), and after each one, and
// at least every millisecond, the paint box's pixels are checked against the expected drawing.
// What the viewer's window ran meanwhile is timed from outside: its timer periods and how long
// each dispatch took, so that a slow sample tells a late tick from a slow paint.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace tolv::hostsim {

struct PollOutcome {
  bool Shown = false;
  bool Quit = false;               // WM_QUIT came (posted again for the host's loop)
  std::int64_t ShownMicros = 0;    // the check that found the drawing
  std::int64_t CheckedMicros = 0;  // the check before it: the sample ends between the two
  int Checks = 0;
  // The viewer's message after whose dispatch the drawing was there, and how long it ran.
  UINT PaintingMessage = 0;
  std::int64_t PaintingStartMicros = 0;
  std::int64_t PaintingMicros = 0;
};

// Figures of the viewer's window over every poll of a run.
struct ViewerTimings {
  std::vector<std::int64_t> TimerGaps;       // between two periods of its timer that followed each other
  std::vector<std::int64_t> TickDispatches;  // how long each tick (period or extra) ran
  std::int64_t LastTimerMicros = 0;
};

// Polls until the paint box shows expectedRows (from delivered(), nonzero once the page was
// handed over) or giveUpMicros has passed.
PollOutcome PollForDrawing(HWND hostWindow, const std::vector<std::uint64_t>& expectedRows,
                           const std::function<std::int64_t()>& delivered, std::int64_t giveUpMicros,
                           ViewerTimings& timings);

}  // namespace tolv::hostsim
