#include "fonts/FonWriter.h"

#include <algorithm>
#include <string>

namespace tolv::fonts {
namespace {

class ByteWriter {
 public:
  std::size_t Size() const { return bytes_.size(); }
  void U8(unsigned v) { bytes_.push_back(static_cast<std::uint8_t>(v)); }
  void U16(unsigned v) { U8(v & 0xFF), U8(v >> 8); }
  void U32(std::uint32_t v) { U16(v & 0xFFFF), U16(v >> 16); }
  void Zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
  void Text(std::string_view text, std::size_t width) {  // padded or cut to width
    for (std::size_t i = 0; i < width; ++i) U8(i < text.size() ? static_cast<unsigned char>(text[i]) : 0);
  }
  void CString(std::string_view text) { Text(text, text.size()), U8(0); }
  void PascalString(std::string_view text) { U8(static_cast<unsigned>(text.size())), Text(text, text.size()); }
  void Append(const std::vector<std::uint8_t>& more) { bytes_.insert(bytes_.end(), more.begin(), more.end()); }
  void AlignTo(std::size_t alignment) { Zeros((alignment - bytes_.size() % alignment) % alignment); }
  void PatchU16(std::size_t at, unsigned v) {
    bytes_[at] = static_cast<std::uint8_t>(v & 0xFF);
    bytes_[at + 1] = static_cast<std::uint8_t>(v >> 8);
  }
  void PatchU32(std::size_t at, std::uint32_t v) { PatchU16(at, v & 0xFFFF), PatchU16(at + 2, v >> 16); }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

constexpr std::size_t kFntHeaderSize = 118;     // version 2
constexpr std::size_t kFontDirEntrySize = 113;  // the FNT header up to dfBitsPointer
constexpr std::size_t kFntFaceOffsetField = 105;
constexpr std::size_t kFntSizeField = 2;
constexpr std::size_t kFntBitsOffsetField = 113;
constexpr unsigned kAlignmentShift = 4;
constexpr unsigned kFixedPitchModernFamily = 0x30;  // FF_MODERN; bit 0 clear = fixed pitch

unsigned ByteColumns(unsigned width) { return (width + 7) / 8; }

// The glyph's bitmap as FNT stores it: byte columns of 8 pixels, each column top to bottom.
void WriteGlyphBits(ByteWriter& out, const BitmapGlyph& glyph, unsigned height) {
  for (unsigned column = 0; column < ByteColumns(glyph.Width); ++column) {
    for (unsigned y = 0; y < height; ++y) {
      std::uint32_t row = y < glyph.Rows.size() ? glyph.Rows[y] : 0;
      out.U8((row << (column * 8)) >> 24);
    }
  }
}

std::vector<std::uint8_t> FntResource(const BitmapFace& face) {
  // One entry more than characters: the blank "absolute space" FNT version 2 expects at the end.
  std::vector<BitmapGlyph> glyphs = face.Glyphs;
  glyphs.push_back(BitmapGlyph{static_cast<std::uint8_t>(face.PixelWidth), {}});
  unsigned maxWidth = 0, totalWidth = 0;
  for (const BitmapGlyph& glyph : glyphs) {
    maxWidth = std::max<unsigned>(maxWidth, glyph.Width);
    totalWidth += glyph.Width;
  }

  ByteWriter out;
  out.U16(0x0200);
  out.U32(0);  // dfSize, patched below
  out.Text("Teletext faces of the tolv viewer", 60);
  out.U16(0);                           // raster
  out.U16(face.PixelHeight * 72 / 96);  // points at 96 dpi
  out.U16(96), out.U16(96);
  out.U16(face.Ascent);
  out.U16(0), out.U16(0);           // internal and external leading
  out.U8(0), out.U8(0), out.U8(0);  // italic, underline, strike-out
  out.U16(400);
  out.U8(face.CharSet);
  out.U16(face.PixelWidth), out.U16(face.PixelHeight);
  out.U8(kFixedPitchModernFamily | (face.PixelWidth == 0 ? 1 : 0));
  out.U16(face.PixelWidth != 0 ? face.PixelWidth : maxWidth), out.U16(maxWidth);
  out.U8(face.FirstChar), out.U8(face.LastChar);
  out.U8(face.DefaultChar - face.FirstChar), out.U8(0x20 - std::min<unsigned>(face.FirstChar, 0x20));
  out.U16((totalWidth + 15) / 16 * 2);
  out.U32(0);  // no device name
  out.U32(0);  // dfFace, patched below
  out.U32(0);
  out.U32(0);  // dfBitsOffset, patched below
  out.U8(0);

  const std::size_t bitsOffset = kFntHeaderSize + glyphs.size() * 4;
  std::size_t glyphOffset = bitsOffset;
  for (const BitmapGlyph& glyph : glyphs) {
    out.U16(glyph.Width), out.U16(static_cast<unsigned>(glyphOffset));
    glyphOffset += ByteColumns(glyph.Width) * face.PixelHeight;
  }
  for (const BitmapGlyph& glyph : glyphs) WriteGlyphBits(out, glyph, face.PixelHeight);
  const std::size_t faceOffset = out.Size();
  out.CString(face.Name);

  out.PatchU32(kFntSizeField, static_cast<std::uint32_t>(out.Size()));
  out.PatchU32(kFntFaceOffsetField, static_cast<std::uint32_t>(faceOffset));
  out.PatchU32(kFntBitsOffsetField, static_cast<std::uint32_t>(bitsOffset));
  return out.Bytes();
}

std::vector<std::uint8_t> FontDirectory(const std::vector<BitmapFace>& faces,
                                        const std::vector<std::vector<std::uint8_t>>& fonts) {
  ByteWriter out;
  out.U16(static_cast<unsigned>(fonts.size()));
  for (std::size_t i = 0; i < fonts.size(); ++i) {
    out.U16(static_cast<unsigned>(i + 1));
    out.Append(std::vector<std::uint8_t>(fonts[i].begin(), fonts[i].begin() + kFontDirEntrySize));
    out.CString("");
    out.CString(faces[i].Name);
  }
  return out.Bytes();
}

void WriteMzStub(ByteWriter& out, unsigned neOffset) {
  out.U8('M'), out.U8('Z');
  out.U16(neOffset), out.U16(1);  // bytes in the last page, pages
  out.U16(0), out.U16(4);         // relocations, header paragraphs
  out.U16(0), out.U16(0xFFFF);    // extra paragraphs needed, wanted
  out.U16(0), out.U16(0xB8);      // SS, SP
  out.U16(0), out.U16(0), out.U16(0);
  out.U16(0x40);  // relocation table offset: 0x40 or more marks a new executable
  out.Zeros(0x3C - out.Size());
  out.U32(neOffset);
}

}  // namespace

std::vector<std::uint8_t> WriteFonFile(const std::vector<BitmapFace>& faces, std::string_view moduleName) {
  std::vector<std::vector<std::uint8_t>> fonts;
  std::string description = "FONTRES 100,96,96 : ";
  for (const BitmapFace& face : faces) {
    fonts.push_back(FntResource(face));
    description += face.Name + (&face == &faces.back() ? "" : ", ");
  }
  const std::vector<std::uint8_t> directory = FontDirectory(faces, fonts);

  constexpr unsigned kNeOffset = 0x40;
  constexpr unsigned kNeHeaderSize = 0x40;
  ByteWriter out;
  WriteMzStub(out, kNeOffset);
  const std::size_t ne = out.Size();
  out.Zeros(kNeHeaderSize);

  // Resource table: the font directory (named "FONTDIR") and the fonts (ordinals 1..n).
  const std::size_t resourceTable = out.Size();
  out.U16(kAlignmentShift);
  out.U16(0x8007), out.U16(1), out.U32(0);
  const std::size_t directoryEntry = out.Size();
  out.Zeros(12);
  out.U16(0x8008), out.U16(static_cast<unsigned>(fonts.size())), out.U32(0);
  const std::size_t fontEntries = out.Size();
  out.Zeros(12 * fonts.size());
  out.U16(0);
  const std::size_t directoryName = out.Size();
  out.PascalString("FONTDIR");
  out.U8(0);

  const std::size_t residentNames = out.Size();
  out.PascalString(moduleName), out.U16(0), out.U8(0);
  const std::size_t importedNames = out.Size();
  out.U8(0);
  const std::size_t entryTable = out.Size();
  out.U16(0);
  const std::size_t nonResidentNames = out.Size();
  out.PascalString(description), out.U16(0), out.U8(0);
  const std::size_t nonResidentSize = out.Size() - nonResidentNames;

  auto placeResource = [&](std::size_t entry, const std::vector<std::uint8_t>& data, unsigned flags, unsigned id) {
    out.AlignTo(std::size_t{1} << kAlignmentShift);
    const std::size_t units = (data.size() + (1u << kAlignmentShift) - 1) >> kAlignmentShift;
    out.PatchU16(entry, static_cast<unsigned>(out.Size() >> kAlignmentShift));
    out.PatchU16(entry + 2, static_cast<unsigned>(units));
    out.PatchU16(entry + 4, flags);
    out.PatchU16(entry + 6, id);
    out.Append(data);
  };
  placeResource(directoryEntry, directory, 0x0C50, static_cast<unsigned>(directoryName - resourceTable));
  for (std::size_t i = 0; i < fonts.size(); ++i) {
    placeResource(fontEntries + 12 * i, fonts[i], 0x1C30, 0x8001 + static_cast<unsigned>(i));
  }
  out.AlignTo(std::size_t{1} << kAlignmentShift);

  out.PatchU16(ne, 'N' | ('E' << 8));
  out.PatchU16(ne + 0x02, 5 | (10 << 8));  // linker version
  out.PatchU16(ne + 0x04, static_cast<unsigned>(entryTable - ne));
  out.PatchU16(ne + 0x06, 2);
  out.PatchU16(ne + 0x0C, 0x8000);  // a library module
  out.PatchU16(ne + 0x20, static_cast<unsigned>(nonResidentSize));
  out.PatchU16(ne + 0x22, static_cast<unsigned>(resourceTable - ne));  // no segments
  out.PatchU16(ne + 0x24, static_cast<unsigned>(resourceTable - ne));
  out.PatchU16(ne + 0x26, static_cast<unsigned>(residentNames - ne));
  out.PatchU16(ne + 0x28, static_cast<unsigned>(importedNames - ne));  // no module references
  out.PatchU16(ne + 0x2A, static_cast<unsigned>(importedNames - ne));
  out.PatchU32(ne + 0x2C, static_cast<std::uint32_t>(nonResidentNames));
  out.PatchU16(ne + 0x32, kAlignmentShift);
  out.PatchU16(ne + 0x36, 2);  // target: Windows
  out.PatchU16(ne + 0x3E, 0x0300);
  return out.Bytes();
}

}  // namespace tolv::fonts
