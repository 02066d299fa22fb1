// Writing a whole file so that the name never holds half of it: the bytes go to a new file
// beside the target, which is renamed onto the target (replacing a file there) once written.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tolv::platform {

// path: UTF-8. Empty on success; else the system's reason, and nothing of this write is left
// (the target keeps what it held, if anything).
std::string WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes) noexcept;

}  // namespace tolv::platform
