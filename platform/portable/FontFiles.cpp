// The portable font installer: the faces of a font file become available to the raster canvas.
#include "platform/FontFiles.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "faces/FaceRegistry.h"
#include "faces/FonReader.h"

namespace tolv::platform {
namespace {

// Paths come in the Windows form (".\plugins\tolv.fon"); this back end runs where '/' separates.
std::string PortablePath(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace

int AddFontFile(const std::string& path) noexcept {
  try {
    std::ifstream in(PortablePath(path), std::ios::binary);
    if (!in) return 0;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::optional<std::vector<BitmapFace>> faces = ReadFonFile(bytes);
    if (!faces) return 0;
    const int count = static_cast<int>(faces->size());
    FaceRegistry::Instance().Add(PortablePath(path), std::move(*faces));
    return count;
  } catch (...) {  // out of memory: the file is not installed
    return 0;
  }
}

bool RemoveFontFile(const std::string& path) noexcept {
  try {
    return FaceRegistry::Instance().Remove(PortablePath(path));
  } catch (...) {
    return false;
  }
}

}  // namespace tolv::platform
