// Data units per second through the data callback's body (magazine assembly and page store),
// from recordings held in memory.
#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>

#include "decoder/StoreOnlyTarget.h"
#include "decoder/Vt_fkt.h"
#include "tools/recordings/Recording.h"
#include "tools/recordings/T42Reader.h"

namespace {

using tolv::kDataUnitSize;
using tolv::Reception;
namespace recordings = tolv::recordings;

const std::string kBbc = std::string(TOLV_SAMPLES_DIR) + "/uk_bbc1_ceefax_2006-01-22.t42";
const std::string kArte = std::string(TOLV_SAMPLES_DIR) + "/fr_arte_tnt_teletext_test-012.ts";

std::vector<std::uint8_t> Load(const std::string& path) {
  std::istringstream none;
  return recordings::ReadWholeInput(path, none).TakeBytes();
}

// The BBC recording wrapped once as data units, as the host would hold them.
const std::vector<std::uint8_t>& BbcUnits() {
  static const std::vector<std::uint8_t> units = [] {
    std::vector<std::uint8_t> all;
    recordings::ReadT42(
        Load(kBbc), [&](const std::uint8_t* data, std::int32_t length) { all.insert(all.end(), data, data + length); });
    return all;
  }();
  return units;
}

// Each iteration is one pass of the whole recording into an empty store, in buffers of
// state.range(0) units; building and freeing the store are not timed.
void BM_DataCallback(benchmark::State& state) {
  const std::vector<std::uint8_t>& units = BbcUnits();
  if (units.empty()) {
    state.SkipWithError("recording not found");
    return;
  }
  const std::size_t bufferSize = static_cast<std::size_t>(state.range(0)) * kDataUnitSize;
  for (auto _ : state) {
    state.PauseTiming();
    auto reception = std::make_unique<Reception>();
    state.ResumeTiming();
    for (std::size_t at = 0; at < units.size(); at += bufferSize) {
      const std::size_t length = std::min(bufferSize, units.size() - at);
      reception->Receive(units.data() + at, static_cast<std::int32_t>(length));
    }
    benchmark::DoNotOptimize(reception->AllPages().FirstSubpage(100));
    state.PauseTiming();
    reception.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * (units.size() / kDataUnitSize)));
}
BENCHMARK(BM_DataCallback)->Arg(recordings::kT42UnitsPerBatch)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

// The readers alone: raw recording bytes to callback buffers, counted in data units delivered.
void BM_Reader(benchmark::State& state, const std::string& path) {
  const std::vector<std::uint8_t> bytes = Load(path);
  const recordings::RecordingFormat format = recordings::FormatOfInputName(path);
  std::int64_t units = 0;
  for (auto _ : state) {
    recordings::ReadRecording(bytes, format, std::nullopt, [&](const std::uint8_t* data, std::int32_t length) {
      benchmark::DoNotOptimize(data);
      units += length / static_cast<std::int32_t>(kDataUnitSize);
    });
  }
  state.SetItemsProcessed(units);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK_CAPTURE(BM_Reader, bbc_t42, kBbc)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Reader, arte_ts, kArte)->Unit(benchmark::kMillisecond);

}  // namespace
