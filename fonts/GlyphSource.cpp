#include "fonts/GlyphSource.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace tolv::fonts {
namespace {

std::string_view NextLine(std::string_view& text) {
  std::size_t end = text.find('\n');
  std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

std::optional<std::uint8_t> ParseGlyphHeader(std::string_view line) {
  constexpr std::string_view kPrefix = "glyph 0x";
  if (line.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
  line.remove_prefix(kPrefix.size());
  unsigned code = 0;
  auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), code, 16);
  bool separated = end == line.data() + line.size() || *end == ' ';
  if (error != std::errc() || !separated || code > 0xFF) return std::nullopt;
  return static_cast<std::uint8_t>(code);
}

std::optional<std::uint32_t> ParsePixelRow(std::string_view line) {
  if (line.size() != kCellWidth) return std::nullopt;
  std::uint32_t bits = 0;
  for (unsigned x = 0; x < kCellWidth; ++x) {
    if (line[x] == '#') {
      bits |= 0x80000000u >> x;
    } else if (line[x] != '.') {
      return std::nullopt;
    }
  }
  return bits;
}

}  // namespace

GlyphSource ParseGlyphSource(std::string_view text) {
  GlyphSource source;
  for (unsigned lineNumber = 1; !text.empty(); ++lineNumber) {
    std::string_view line = NextLine(text);
    if (line.empty() || line.front() == '#') continue;
    std::optional<std::uint8_t> code = ParseGlyphHeader(line);
    if (!code || source.Glyphs.count(*code) != 0) {
      source.Error = "line " + std::to_string(lineNumber) + ": expected a new \"glyph 0xNN\" line";
      return source;
    }
    BitmapGlyph glyph{kCellWidth, {}};
    for (unsigned y = 0; y < kCellHeight; ++y) {
      std::optional<std::uint32_t> row = ParsePixelRow(NextLine(text));
      if (!row) {
        source.Error = "line " + std::to_string(lineNumber + y + 1) + ": expected 14 pixels of '#' and '.'";
        return source;
      }
      glyph.Rows.push_back(*row);
    }
    lineNumber += kCellHeight;
    source.Glyphs.emplace(*code, std::move(glyph));
  }
  return source;
}

std::optional<std::string> ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace tolv::fonts
