#include "tools/tolvane/FontLocation.h"

#include <cstdlib>
#include <filesystem>

namespace tolv::tolvane {
namespace {

// The folder of the running program; empty where the system does not say.
std::filesystem::path ProgramFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : program.parent_path();
}

}  // namespace

std::vector<std::string> FontFileCandidates() {
  const char* named = std::getenv(kFontVariable);
  if (named != nullptr && *named != '\0') return {named};
  const std::filesystem::path folder = ProgramFolder();
  if (folder.empty()) return {};
  return {(folder / ".." / "share" / "tolvane" / "tolv.fon").lexically_normal().string(),
          (folder / ".." / ".." / "fonts" / "tolv.fon").lexically_normal().string()};
}

std::string FindFontFile(const std::vector<std::string>& candidates) {
  for (const std::string& candidate : candidates) {
    std::error_code error;
    if (std::filesystem::is_regular_file(candidate, error)) return candidate;
  }
  return {};
}

}  // namespace tolv::tolvane
