#include "faces/FaceRegistry.h"

#include <cstdlib>

namespace tolv {
namespace {

bool SameFaceName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

FaceRegistry& FaceRegistry::Instance() {
  static FaceRegistry registry;
  return registry;
}

void FaceRegistry::Add(const std::string& path, std::vector<BitmapFace> faces) {
  Installation installation{path, {}};
  for (BitmapFace& face : faces) installation.Faces.push_back(std::make_shared<const BitmapFace>(std::move(face)));
  std::lock_guard lock(mutex_);
  installations_.push_back(std::move(installation));
  generation_.fetch_add(1, std::memory_order_release);
}

bool FaceRegistry::Remove(const std::string& path) {
  std::lock_guard lock(mutex_);
  for (auto it = installations_.rbegin(); it != installations_.rend(); ++it) {
    if (it->Path == path) {
      installations_.erase(std::next(it).base());
      generation_.fetch_add(1, std::memory_order_release);
      return true;
    }
  }
  return false;
}

std::shared_ptr<const BitmapFace> FaceRegistry::Find(std::string_view name, int pixelHeight) const {
  std::lock_guard lock(mutex_);
  std::shared_ptr<const BitmapFace> best;
  for (auto it = installations_.rbegin(); it != installations_.rend(); ++it) {
    for (const auto& face : it->Faces) {
      if (!SameFaceName(face->Name, name)) continue;
      if (!best || std::abs(face->PixelHeight - pixelHeight) < std::abs(best->PixelHeight - pixelHeight)) best = face;
    }
  }
  return best;
}

}  // namespace tolv
