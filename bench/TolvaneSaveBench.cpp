// Whole-file `tolvane save` per recording: reading the file, choosing the PID, reception and
// writing the page file, through the same function the program runs.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tools/tolvane/Tolvane.h"

namespace {

void BM_TolvaneSave(benchmark::State& state, const std::string& recording) {
  const std::string output = (std::filesystem::temp_directory_path() / "tolvane_save_bench.vtx").string();
  const std::vector<std::string> args = {"save", std::string(TOLV_SAMPLES_DIR) + "/" + recording, "-o", output};
  for (auto _ : state) {
    std::istringstream in;
    std::ostringstream out, err;
    if (tolv::tolvane::RunTolvane(args, in, out, err) != tolv::tolvane::kExitSuccess) {
      state.SkipWithError(err.str().c_str());
      break;
    }
  }
  std::remove(output.c_str());
}

const int kRegistered = [] {
  for (const char* recording : {"de_ard_text_subtitleedit.ts", "fr_arte_tnt_teletext_test-012.ts",
                                "it_rai_mux1_televideo_test-108.ts", "se_animalplanet_subtitles_corrupt_test-143.ts",
                                "uk_bbc1_ceefax_2006-01-22.t42", "uk_ceefax_vhs_deconvolved.t42"}) {
    benchmark::RegisterBenchmark(recording, BM_TolvaneSave, std::string(recording))->Unit(benchmark::kMillisecond);
  }
  return 0;
}();

}  // namespace
