// The readable source of the demo's teletext pages.
//
//   # a comment
//   page 100              starts a page (100..899); every page has its own block
//   subcode 2             the page's subcode (decimal 0..3979); default 0
//   control newsflash     header control bits: erase, newsflash, subtitle, suppress, inhibit
//   national 0            the national option the header sends (0..7, before the rows); default
//                         1, German
//   row 3 {yellow}Text    row 1..23; text is shown as written: ASCII, and the letters and signs
//                         of the page's national option subset (German ÄÖÜäöüß§°, English £½―,
//                         French éèàç ...) go out at their codes; a letter with a diacritical
//                         mark that the subset lacks (É, À, Ô ...) goes out as its basic letter
//                         and a packet X/26 places it; {name} is a code
//   mosaic 5 1            sixel art from row 5, column 1 on, two pixels across and three down
//   | ..####..            per cell; '#' is set, anything else clear. The art overwrites the
//   | .######.            cells it covers with mosaic characters, so the row text must put a
//   end                   mosaic colour code before them.
//
// Control codes: black red green yellow blue magenta cyan white (alphanumeric colours),
// gblack .. gwhite (mosaic colours), flash steady endbox startbox normal double dwidth dsize
// conceal contiguous separated esc blackbg newbg hold release, block (the full mosaic 0x7F);
// {xNN} is any byte in hex, and {name*N} repeats a code N times.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolv::demo {

using RowBytes = std::array<std::uint8_t, 40>;

struct SourcePage {
  unsigned number = 0;  // 100..899
  unsigned subcode = 0;
  std::uint8_t control = 0;                      // C4..C11 as the decoder packs them
  std::uint8_t national = 1;                     // 4*C12 + 2*C13 + C14
  std::array<std::optional<RowBytes>, 24> rows;  // rows 1..23 used
  std::vector<std::uint32_t> enhancements;       // X/26 triplets (18-bit values), in order
};

// A letter of the page that its national subset lacks: packets X/26 place it.
struct PlacedLetter {
  std::size_t column;
  std::uint8_t mark;  // diacritical mark 1..15
  std::uint8_t base;  // basic G0 letter
};

struct ParseResult {
  std::vector<SourcePage> pages;
  std::string error;  // "file:line: what" on failure, empty on success
};

// Parses one source text; name is used in error messages.
ParseResult ParsePages(std::string_view text, const std::string& name);

// Text with {codes} -> bytes in the given national option, or nullopt with a message when a code
// or a character is unknown.
// Letters the subset lacks are sent as their basic letter and listed in placed, when given.
std::optional<std::vector<std::uint8_t>> ExpandCodes(std::string_view text, std::string& error,
                                                     std::uint8_t national = 1,
                                                     std::vector<PlacedLetter>* placed = nullptr);

}  // namespace tolv::demo
