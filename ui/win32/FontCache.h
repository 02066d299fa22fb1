// GDI fonts created once per description (face, height, weight, underline) and kept until the
// cache is cleared or destroyed: drawing a page sets the same face for each of its 960 cells.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <tuple>

#include "ui/win32/Handles.h"

namespace tolv::ui::win32 {

class FontCache {
 public:
  // Height in pixels as GDI takes it: positive the cell height, negative the character height.
  // Null when GDI refuses.
  HFONT Get(std::string_view face, int height, bool bold = false, bool underline = false);
  std::size_t Size() const { return fonts_.size(); }
  // Only when none of the fonts is selected into a DC any more.
  void Clear() { fonts_.clear(); }

 private:
  using Key = std::tuple<std::string, int, bool, bool>;
  std::map<Key, FontHandle> fonts_;
};

}  // namespace tolv::ui::win32
