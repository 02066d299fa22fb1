#include "faces/FonReader.h"

#include <algorithm>

namespace tolv {
namespace {

// Little-endian reads that fail instead of leaving the buffer.
class Bytes {
 public:
  explicit Bytes(std::span<const std::uint8_t> data) : data_(data) {}
  std::size_t Size() const { return data_.size(); }
  bool Has(std::uint64_t offset, std::uint64_t length) const {
    return offset <= data_.size() && length <= data_.size() - offset;
  }
  std::optional<unsigned> U8(std::uint64_t at) const {
    if (!Has(at, 1)) return std::nullopt;
    return data_[at];
  }
  std::optional<unsigned> U16(std::uint64_t at) const {
    if (!Has(at, 2)) return std::nullopt;
    return data_[at] | (data_[at + 1] << 8);
  }
  std::optional<std::uint32_t> U32(std::uint64_t at) const {
    if (!Has(at, 4)) return std::nullopt;
    return static_cast<std::uint32_t>(*U16(at) | (*U16(at + 2) << 16));
  }
  std::span<const std::uint8_t> Slice(std::uint64_t offset, std::uint64_t length) const {
    return Has(offset, length) ? data_.subspan(offset, length) : std::span<const std::uint8_t>();
  }

 private:
  std::span<const std::uint8_t> data_;
};

constexpr std::size_t kFntV2HeaderSize = 118;
constexpr std::size_t kFntV3HeaderSize = 148;
constexpr std::size_t kMaxFaceName = 31;  // LF_FACESIZE less the terminator
constexpr unsigned kMaxPixelHeight = 255;

std::optional<std::string> FaceName(const Bytes& fnt, std::uint32_t offset) {
  std::string name;
  for (std::uint64_t at = offset;; ++at) {
    std::optional<unsigned> c = fnt.U8(at);
    if (!c || name.size() > kMaxFaceName) return std::nullopt;
    if (*c == 0) return name;
    name.push_back(static_cast<char>(*c));
  }
}

// Bytes arranged in columns of 8 pixels, each column top to bottom.
std::optional<BitmapGlyph> ReadGlyph(const Bytes& fnt, unsigned width, std::uint32_t offset, unsigned height) {
  if (width > kMaxGlyphWidth) return std::nullopt;
  const unsigned columns = (width + 7) / 8;
  if (!fnt.Has(offset, std::uint64_t{columns} * height)) return std::nullopt;
  BitmapGlyph glyph{static_cast<std::uint8_t>(width), std::vector<std::uint32_t>(height, 0)};
  const std::uint32_t widthMask = width == 0 ? 0 : ~std::uint32_t{0} << (32 - width);
  for (unsigned column = 0; column < columns; ++column) {
    for (unsigned y = 0; y < height; ++y) {
      glyph.Rows[y] |= static_cast<std::uint32_t>(*fnt.U8(offset + column * height + y)) << (24 - 8 * column);
    }
  }
  for (std::uint32_t& row : glyph.Rows) row &= widthMask;  // padding bits are not pixels
  return glyph;
}

}  // namespace

std::optional<BitmapFace> ReadFntResource(std::span<const std::uint8_t> resource) {
  const Bytes fnt(resource);
  std::optional<unsigned> version = fnt.U16(0);
  if (!version || (*version != 0x200 && *version != 0x300)) return std::nullopt;
  const bool v3 = *version == 0x300;
  const std::size_t headerSize = v3 ? kFntV3HeaderSize : kFntV2HeaderSize;
  std::optional<std::uint32_t> declaredSize = fnt.U32(2);
  if (!fnt.Has(0, headerSize) || *declaredSize < headerSize || *declaredSize > fnt.Size()) return std::nullopt;
  const Bytes font(resource.first(*declaredSize));
  if ((*font.U16(66) & 1) != 0) return std::nullopt;  // vector font

  BitmapFace face;
  face.Ascent = static_cast<std::uint16_t>(*font.U16(74));
  face.CharSet = static_cast<std::uint8_t>(*font.U8(85));
  face.PixelWidth = static_cast<std::uint16_t>(*font.U16(86));
  face.PixelHeight = static_cast<std::uint16_t>(*font.U16(88));
  face.FirstChar = static_cast<std::uint8_t>(*font.U8(95));
  face.LastChar = static_cast<std::uint8_t>(*font.U8(96));
  const unsigned defaultChar = face.FirstChar + *font.U8(97);
  if (face.PixelHeight == 0 || face.PixelHeight > kMaxPixelHeight || face.FirstChar > face.LastChar ||
      defaultChar > face.LastChar) {
    return std::nullopt;
  }
  face.DefaultChar = static_cast<std::uint8_t>(defaultChar);
  std::optional<std::string> name = FaceName(font, *font.U32(105));
  if (!name) return std::nullopt;
  face.Name = std::move(*name);

  const std::size_t entrySize = v3 ? 6 : 4;
  for (unsigned c = face.FirstChar; c <= face.LastChar; ++c) {
    const std::uint64_t entry = headerSize + std::uint64_t{c - face.FirstChar} * entrySize;
    std::optional<unsigned> width = font.U16(entry);
    std::optional<std::uint32_t> offset = v3 ? font.U32(entry + 2) : font.U16(entry + 2);
    if (!width || !offset) return std::nullopt;
    std::optional<BitmapGlyph> glyph = ReadGlyph(font, *width, *offset, face.PixelHeight);
    if (!glyph) return std::nullopt;
    face.Glyphs.push_back(std::move(*glyph));
  }
  return face;
}

std::optional<std::vector<BitmapFace>> ReadFonFile(std::span<const std::uint8_t> file) {
  const Bytes fon(file);
  if (fon.U16(0) != ('M' | ('Z' << 8))) return std::nullopt;
  std::optional<std::uint32_t> ne = fon.U32(0x3C);
  if (!ne || fon.U16(*ne) != ('N' | ('E' << 8))) return std::nullopt;
  std::optional<unsigned> resourceTable = fon.U16(std::uint64_t{*ne} + 0x24);
  if (!resourceTable) return std::nullopt;

  std::uint64_t at = std::uint64_t{*ne} + *resourceTable;
  std::optional<unsigned> shift = fon.U16(at);
  if (!shift || *shift > 16) return std::nullopt;
  at += 2;

  std::vector<BitmapFace> faces;
  // Each pass consumes at least one entry of the table, and the table lies inside the file.
  for (;;) {
    std::optional<unsigned> type = fon.U16(at);
    std::optional<unsigned> count = fon.U16(at + 2);
    if (!type) return std::nullopt;
    if (*type == 0) break;
    if (!count || !fon.Has(at + 8, std::uint64_t{*count} * 12)) return std::nullopt;
    for (unsigned i = 0; *type == 0x8008 && i < *count; ++i) {
      const std::uint64_t entry = at + 8 + std::uint64_t{i} * 12;
      const std::uint64_t offset = std::uint64_t{*fon.U16(entry)} << *shift;
      const std::uint64_t length = std::uint64_t{*fon.U16(entry + 2)} << *shift;
      // The last resource's alignment padding may run past the end of an unpadded file.
      const std::uint64_t available = offset <= fon.Size() ? std::min<std::uint64_t>(length, fon.Size() - offset) : 0;
      std::optional<BitmapFace> face = ReadFntResource(fon.Slice(offset, available));
      if (!face) return std::nullopt;
      faces.push_back(std::move(*face));
    }
    at += 8 + std::uint64_t{*count} * 12;
  }
  if (faces.empty()) return std::nullopt;
  return faces;
}

}  // namespace tolv
