// Where the tests find the recordings of real broadcasts (never copied into the project).
#pragma once

#include <string>

namespace tolv::testing {

inline std::string SamplePath(const std::string& name) { return std::string(TOLV_SAMPLES_DIR) + "/" + name; }

inline const char* const kArd = "de_ard_text_subtitleedit.ts";
inline const char* const kArte = "fr_arte_tnt_teletext_test-012.ts";
inline const char* const kRai = "it_rai_mux1_televideo_test-108.ts";
inline const char* const kAnimalPlanet = "se_animalplanet_subtitles_corrupt_test-143.ts";
inline const char* const kBbc = "uk_bbc1_ceefax_2006-01-22.t42";
inline const char* const kVhs = "uk_ceefax_vhs_deconvolved.t42";

}  // namespace tolv::testing
