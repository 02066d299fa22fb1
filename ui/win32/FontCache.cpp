#include "ui/win32/FontCache.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace tolv::ui::win32 {

HFONT FontCache::Get(std::string_view face, int height, bool bold, bool underline) {
  std::string name(face.substr(0, LF_FACESIZE - 1));
  // GDI compares face names without regard to case; so does the cache.
  std::string folded = name;
  std::transform(folded.begin(), folded.end(), folded.begin(), [](unsigned char c) { return std::tolower(c); });
  Key key{std::move(folded), height, bold, underline};
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second.Get();

  LOGFONTA description{};
  description.lfHeight = height;
  description.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  description.lfUnderline = underline ? 1 : 0;
  // The font's own character set: asking ANSI_CHARSET of a font of another set makes GDI
  // substitute another face.
  description.lfCharSet = DEFAULT_CHARSET;
  description.lfOutPrecision = OUT_DEFAULT_PRECIS;
  description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  description.lfQuality = NONANTIALIASED_QUALITY;
  description.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  std::memcpy(description.lfFaceName, name.c_str(), name.size() + 1);
  FontHandle font = NewFont(description);
  if (!font) return nullptr;
  HFONT handle = font.Get();
  fonts_.emplace(std::move(key), std::move(font));
  return handle;
}

}  // namespace tolv::ui::win32
