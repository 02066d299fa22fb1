#include "fonts/MosaicGlyphs.h"

#include "fonts/GlyphSource.h"

namespace tolv::fonts {

BitmapGlyph MosaicGlyph(std::uint8_t code, bool separated) {
  BitmapGlyph glyph{kCellWidth, std::vector<std::uint32_t>(kCellHeight, 0)};
  const unsigned gap = separated ? kSeparationGap : 0;
  for (unsigned block = 0; block < kSixelBits.size(); ++block) {
    if ((code & kSixelBits[block]) == 0) continue;
    const unsigned left = (block % 2) * kBlockWidth + gap;
    const unsigned top = (block / 2) * kBlockHeight + gap;
    std::uint32_t bits = 0;
    for (unsigned x = left; x < left + kBlockWidth - 2 * gap; ++x) bits |= 0x80000000u >> x;
    for (unsigned y = top; y < top + kBlockHeight - 2 * gap; ++y) glyph.Rows[y] |= bits;
  }
  return glyph;
}

}  // namespace tolv::fonts
