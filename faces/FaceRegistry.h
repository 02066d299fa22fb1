// The process-wide list of installed raster faces, filled from font files by AddFontFile.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "faces/BitmapFace.h"

namespace tolv {

class FaceRegistry {
 public:
  static FaceRegistry& Instance();

  void Add(const std::string& path, std::vector<BitmapFace> faces);
  // Removes the faces of the latest installation of path; false when there is none.
  bool Remove(const std::string& path);
  // The face of that name (compared as GDI does, ignoring case) whose height is closest to
  // pixelHeight, the most recently installed among equals; null when no face has the name.
  std::shared_ptr<const BitmapFace> Find(std::string_view name, int pixelHeight) const;
  // Changes whenever faces come or go, so that callers can keep what they found until then.
  unsigned Generation() const { return generation_.load(std::memory_order_acquire); }

 private:
  struct Installation {
    std::string Path;
    std::vector<std::shared_ptr<const BitmapFace>> Faces;
  };
  mutable std::mutex mutex_;
  std::vector<Installation> installations_;
  std::atomic<unsigned> generation_{0};
};

}  // namespace tolv
