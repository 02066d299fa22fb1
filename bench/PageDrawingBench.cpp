// DrawPage of full pages of a real broadcast onto the raster canvas at the paint box's design
// size. Pages per second is the figure to watch: the window redraws the whole page on every
// page change.
#include <benchmark/benchmark.h>

#include "render/PageDrawing.h"
#include "render/RenderingSetup.h"
#include "support/RecordingFeed.h"
#include "ui/raster/RasterCanvas.h"

namespace {

constexpr char kRecording[] = TOLV_SAMPLES_DIR "/uk_bbc1_ceefax_2006-01-22.t42";

tolv::CVTAllPages& Pages() {
  static tolv::Reception reception;
  static const bool fed = tolv::testing::FeedT42(kRecording, reception);
  (void)fed;
  return reception.AllPages();
}

void DrawFullPage(benchmark::State& state) {
  tolv::CVTPage* page = Pages().GetPage(static_cast<std::uint32_t>(state.range(0)), 0, tolv::gmFirst);
  if (page == nullptr) {
    state.SkipWithError("page not in the recording");
    return;
  }
  tolv::ui::RasterCanvas canvas(733, 385);
  tolv::RenderWindow window;
  window.PaintBox = &canvas;
  window.PaintBoxWidth = canvas.Width();
  if (!tolv::SetUpRendering(window, TOLV_FONT_FILE)) {
    state.SkipWithError("tolv.fon not loaded");
    return;
  }
  for (auto _ : state) {
    tolv::DrawPage(window, page, false);
    benchmark::DoNotOptimize(canvas.Pixels().data());
  }
  state.SetItemsProcessed(state.iterations());  // pages
  tolv::RemoveRenderingFonts(TOLV_FONT_FILE);
  tolv::FreeRenderingBitmap(window);
}
// 100: text, mosaics and a double-height row; 420: a mosaic picture.
BENCHMARK(DrawFullPage)->Arg(100)->Arg(420);

}  // namespace

BENCHMARK_MAIN();
