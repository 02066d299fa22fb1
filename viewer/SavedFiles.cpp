#include "viewer/SavedFiles.h"

#include <cstdio>
#include <memory>

#include "pages/PageText.h"
#include "ui/PngFile.h"

namespace tolv {
namespace {

constexpr const char* kExtensions[] = {".png", ".txt", ".vtx"};

// Where the file name starts: after the last '/' or '\'.
std::size_t FileNameStart(const std::string& path) {
  const std::size_t separator = path.find_last_of("/\\");
  return separator == std::string::npos ? 0 : separator + 1;
}

}  // namespace

std::vector<ui::FileType> SaveFileTypes() {
  return {{"PNG-Bild (*.png)", "*.png"}, {"Text (*.txt)", "*.txt"}, {"Seitendatei (*.vtx)", "*.vtx"}};
}

SaveFormat SaveFormatOfType(std::size_t type) {
  return type < std::size(kExtensions) ? static_cast<SaveFormat>(type) : SaveFormat::kPng;
}

std::string WithExtension(const std::string& path, SaveFormat format) {
  if (path.find('.', FileNameStart(path)) != std::string::npos) return path;
  return path + kExtensions[static_cast<std::size_t>(format)];
}

std::string NumberedPath(const std::string& path, const CVTPage& page) {
  char number[24];
  std::snprintf(number, sizeof number, "-%03u-%04u", DisplayNumber(page.Number()) % 1000u,
                static_cast<unsigned>(page.GetSubcode()) % 10000u);
  std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < FileNameStart(path)) dot = path.size();
  return path.substr(0, dot) + number + path.substr(dot);
}

std::string PageTextFile(CVTPage& page, bool reveal) {
  std::string text;
  for (const std::string& line : PageTextLines(page, reveal)) text += line + '\n';
  return text;
}

std::vector<std::uint8_t> PagePngFile(RenderWindow& window, CVTPage& page, bool reveal) {
  const std::unique_ptr<ui::Bitmap> image = ui::NewBitmap();
  if (!image || !DrawPageArea(window, page, reveal, *image)) return {};
  return ui::EncodePng(image->Width(), image->Height(), image->ReadPixels());
}

}  // namespace tolv
