// Installing and removing a font file for the process, as AddFontResourceA and
// RemoveFontResourceA do. The portable back end parses the file itself and serves its faces to
// the raster canvas; the Win32 back end hands the path to GDI.
#pragma once

#include <string>

namespace tolv::platform {

// Returns the number of faces added: 0 for a missing or damaged file. A file added twice must be
// removed twice.
int AddFontFile(const std::string& path) noexcept;
// False when the file was not installed.
bool RemoveFontFile(const std::string& path) noexcept;

}  // namespace tolv::platform
