#include "tools/demostream/PageSource.h"

#include <charconv>
#include <map>

#include "pages/Header.h"
#include "pages/NationalSubsets.h"
#include "pages/PageText.h"
#include "pages/SupplementarySets.h"

namespace tolv::demo {
namespace {

const std::map<std::string_view, std::uint8_t>& CodeNames() {
  static const std::map<std::string_view, std::uint8_t> names = {
      {"black", 0x00},      {"red", 0x01},       {"green", 0x02},  {"yellow", 0x03},  {"blue", 0x04},
      {"magenta", 0x05},    {"cyan", 0x06},      {"white", 0x07},  {"flash", 0x08},   {"steady", 0x09},
      {"endbox", 0x0A},     {"startbox", 0x0B},  {"normal", 0x0C}, {"double", 0x0D},  {"dwidth", 0x0E},
      {"dsize", 0x0F},      {"gblack", 0x10},    {"gred", 0x11},   {"ggreen", 0x12},  {"gyellow", 0x13},
      {"gblue", 0x14},      {"gmagenta", 0x15},  {"gcyan", 0x16},  {"gwhite", 0x17},  {"conceal", 0x18},
      {"contiguous", 0x19}, {"separated", 0x1A}, {"esc", 0x1B},    {"blackbg", 0x1C}, {"newbg", 0x1D},
      {"hold", 0x1E},       {"release", 0x1F},   {"block", 0x7F},
  };
  return names;
}

const std::map<std::string_view, std::uint8_t>& ControlNames() {
  static const std::map<std::string_view, std::uint8_t> names = {
      {"erase", kErasePage},         {"newsflash", kNewsflash},    {"subtitle", kSubtitle},
      {"suppress", kSuppressHeader}, {"inhibit", kInhibitDisplay},
  };
  return names;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// A character of the page's national option subset beyond ASCII, at the code that sends it.
struct SubsetCode {
  std::uint8_t code;
  std::size_t length;  // of the UTF-8 sequence
};
std::optional<SubsetCode> SubsetLetter(std::string_view text, std::uint8_t national) {
  for (const std::uint8_t code : kNationalCodes) {
    const char32_t unicode = TextCharacter(national, code).Unicode;
    if (unicode < 0x80) continue;  // ASCII goes out as itself
    std::string utf8;
    AppendUtf8(utf8, unicode);
    if (text.substr(0, utf8.size()) == utf8) return SubsetCode{code, utf8.size()};
  }
  return std::nullopt;
}

// A letter with a diacritical mark that packets X/26 can place, at the start of text.
struct ComposedCode {
  ComposedLetter letter;
  std::size_t length;  // of the UTF-8 sequence
};
std::optional<ComposedCode> ComposedLetterAt(std::string_view text) {
  for (const ComposedLetter& letter : kComposedLetters) {
    std::string utf8;
    AppendUtf8(utf8, letter.Unicode);
    if (text.substr(0, utf8.size()) == utf8) return ComposedCode{letter, utf8.size()};
  }
  return std::nullopt;
}

// Splits off the first word of s.
std::string_view Word(std::string_view& s) {
  s = Trim(s);
  const std::size_t end = s.find_first_of(" \t");
  const std::string_view word = s.substr(0, end);
  s = end == std::string_view::npos ? std::string_view{} : s.substr(end + 1);
  return word;
}

std::optional<unsigned> Number(std::string_view s, int base = 10) {
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
  if (ec != std::errc{} || end != s.data() + s.size() || s.empty()) return std::nullopt;
  return value;
}

// A named code, or {xNN} for any 7-bit byte.
std::optional<std::uint8_t> CodeByte(std::string_view code) {
  if (code.size() == 3 && code[0] == 'x') {
    const auto value = Number(code.substr(1), 16);
    if (value && *value < 0x80) return static_cast<std::uint8_t>(*value);
    return std::nullopt;
  }
  const auto it = CodeNames().find(code);
  if (it == CodeNames().end()) return std::nullopt;
  return it->second;
}

// The mosaic character of a 2 x 3 block of pixels (bits 0..5, top-left first).
std::uint8_t Sixel(unsigned bits) { return static_cast<std::uint8_t>(0x20 | (bits & 0x1F) | ((bits & 0x20) << 1)); }

struct Parser {
  std::string name;
  ParseResult result;
  unsigned lineNumber = 0;
  SourcePage* page = nullptr;
  // An open mosaic block: its origin and the art lines so far.
  bool inMosaic = false;
  unsigned mosaicRow = 0, mosaicColumn = 0;
  std::vector<std::string_view> art;

  bool Fail(const std::string& what) {
    result.error = name + ":" + std::to_string(lineNumber) + ": " + what;
    return false;
  }

  bool Line(std::string_view line) {
    line = Trim(line);
    if (inMosaic) return MosaicLine(line);
    if (line.empty() || line.front() == '#') return true;
    std::string_view rest = line;
    const std::string_view keyword = Word(rest);
    if (keyword == "page") return StartPage(Trim(rest));
    if (page == nullptr) return Fail("'" + std::string(keyword) + "' before the first 'page'");
    if (keyword == "subcode") return SetSubcode(Trim(rest));
    if (keyword == "control") return SetControl(rest);
    if (keyword == "national") return SetNational(Trim(rest));
    if (keyword == "row") return SetRow(rest);
    if (keyword == "mosaic") return StartMosaic(rest);
    return Fail("unknown keyword '" + std::string(keyword) + "'");
  }

  bool StartPage(std::string_view arg) {
    const auto number = Number(arg);
    if (!number || *number < 100 || *number > 899) return Fail("page number must be 100..899");
    result.pages.emplace_back();
    page = &result.pages.back();
    page->number = *number;
    return true;
  }

  bool SetSubcode(std::string_view arg) {
    const auto value = Number(arg);
    // Digits as transmitted: S1 and S3 0..9, S2 0..7, S4 0..3.
    if (!value || *value > 3979 || (*value / 10) % 10 > 7) return Fail("subcode must be a valid subcode 0..3979");
    page->subcode = *value;
    return true;
  }

  bool SetControl(std::string_view rest) {
    for (std::string_view w = Word(rest); !w.empty(); w = Word(rest)) {
      const auto it = ControlNames().find(w);
      if (it == ControlNames().end()) return Fail("unknown control bit '" + std::string(w) + "'");
      page->control |= it->second;
    }
    return true;
  }

  bool SetNational(std::string_view arg) {
    const auto value = Number(arg);
    if (!value || *value >= kCharSetCount) return Fail("national option must be 0..7");
    page->national = static_cast<std::uint8_t>(*value);
    return true;
  }

  bool SetRow(std::string_view rest) {
    const auto row = Number(Word(rest));
    if (!row || *row < 1 || *row > 23) return Fail("row number must be 1..23");
    std::string error;
    std::vector<PlacedLetter> placed;
    const auto bytes = ExpandCodes(rest, error, page->national, &placed);
    if (!bytes) return Fail(error);
    if (bytes->size() > 40) return Fail("row is " + std::to_string(bytes->size()) + " characters, at most 40");
    if (!placed.empty()) {
      // Set the active position to the row, then place each letter at its column.
      page->enhancements.push_back((40 + *row) | 0x04u << 6);
      for (const PlacedLetter& p : placed) {
        page->enhancements.push_back(static_cast<std::uint32_t>(p.column) | (0x10u + p.mark) << 6 |
                                     std::uint32_t{p.base} << 11);
      }
    }
    RowBytes out;
    out.fill(0x20);
    std::copy(bytes->begin(), bytes->end(), out.begin());
    page->rows[*row] = out;
    return true;
  }

  bool StartMosaic(std::string_view rest) {
    const auto row = Number(Word(rest));
    const auto column = Number(Word(rest));
    if (!row || !column || *row < 1 || *row > 23 || *column > 39)
      return Fail("mosaic needs a row 1..23 and column 0..39");
    inMosaic = true;
    mosaicRow = *row;
    mosaicColumn = *column;
    art.clear();
    return true;
  }

  bool MosaicLine(std::string_view line) {
    if (line == "end") {
      inMosaic = false;
      return PlaceMosaic();
    }
    if (line.empty() || line.front() != '|') return Fail("mosaic art lines start with '|'; close the block with 'end'");
    art.push_back(line.substr(1));
    return true;
  }

  bool PlaceMosaic() {
    std::size_t width = 0;
    for (std::string_view a : art) width = std::max(width, a.size());
    const unsigned cellsDown = static_cast<unsigned>((art.size() + 2) / 3);
    const unsigned cellsAcross = static_cast<unsigned>((width + 1) / 2);
    if (mosaicRow + cellsDown > 24 || mosaicColumn + cellsAcross > 40) return Fail("mosaic art runs off the page");
    auto pixel = [&](std::size_t x, std::size_t y) { return y < art.size() && x < art[y].size() && art[y][x] == '#'; };
    for (unsigned cy = 0; cy < cellsDown; ++cy) {
      auto& row = page->rows[mosaicRow + cy];
      if (!row) row.emplace().fill(0x20);
      for (unsigned cx = 0; cx < cellsAcross; ++cx) {
        unsigned bits = 0;
        for (unsigned k = 0; k < 6; ++k)
          if (pixel(2 * cx + k % 2, 3 * cy + k / 2)) bits |= 1u << k;
        (*row)[mosaicColumn + cx] = Sixel(bits);
      }
    }
    return true;
  }
};

}  // namespace

std::optional<std::vector<std::uint8_t>> ExpandCodes(std::string_view text, std::string& error, std::uint8_t national,
                                                     std::vector<PlacedLetter>* placed) {
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    if (const auto letter = SubsetLetter(text.substr(i), national)) {
      out.push_back(letter->code);
      i += letter->length - 1;
      continue;
    }
    if (const auto composed = ComposedLetterAt(text.substr(i)); composed && placed != nullptr) {
      placed->push_back({out.size(), composed->letter.Mark, static_cast<std::uint8_t>(composed->letter.Base)});
      out.push_back(static_cast<std::uint8_t>(composed->letter.Base));
      i += composed->length - 1;
      continue;
    }
    if (ch != '{') {
      if (static_cast<unsigned char>(ch) < 0x20 || static_cast<unsigned char>(ch) > 0x7F) {
        error = "only 7-bit characters and the letters of the page's national option can be sent";
        return std::nullopt;
      }
      out.push_back(static_cast<std::uint8_t>(ch));
      continue;
    }
    const std::size_t close = text.find('}', i);
    if (close == std::string_view::npos) {
      error = "'{' without '}'";
      return std::nullopt;
    }
    std::string_view code = text.substr(i + 1, close - i - 1);
    i = close;
    unsigned count = 1;
    if (const std::size_t star = code.find('*'); star != std::string_view::npos) {
      const auto n = Number(code.substr(star + 1));
      if (!n || *n == 0 || *n > 40) {
        error = "repeat count in {" + std::string(code) + "} must be 1..40";
        return std::nullopt;
      }
      count = *n;
      code = code.substr(0, star);
    }
    const auto byte = CodeByte(code);
    if (!byte) {
      error = "unknown code {" + std::string(code) + "}";
      return std::nullopt;
    }
    out.insert(out.end(), count, *byte);
  }
  return out;
}

ParseResult ParsePages(std::string_view text, const std::string& name) {
  Parser parser;
  parser.name = name;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++parser.lineNumber;
    if (!parser.Line(line)) return std::move(parser.result);
  }
  if (parser.inMosaic && !parser.Fail("mosaic block without 'end'")) return std::move(parser.result);
  return std::move(parser.result);
}

}  // namespace tolv::demo
