// The drawings, one character a pixel ('.' transparent).
#include "viewer/Glyphs.h"

namespace tolv {
namespace {
constexpr std::initializer_list<std::pair<char, ui::TColor>> kPalette = {
    {'k', ui::clBlack}, {'w', ui::clWhite}, {'s', ui::clSilver}, {'g', ui::clGray}, {'y', ui::clYellow},
    {'d', 0x008080u},   {'b', ui::clNavy},  {'r', ui::clRed},    {'G', 0x00C000u},  {'c', 0xFFFF00u},
};
}  // namespace

// An opening folder.
ui::PixelImage OpenGlyph() {
  return ui::ImageFromRows(
      {
          "................",
          "................",
          "................",
          ".kkkk...........",
          "kyyyyk..........",
          "kyyyyykkkkkkk...",
          "kyyyyyyyyyyyk...",
          "kyyyykkkkkkkkkkk",
          "kyyykdddddddddk.",
          "kyykdddddddddk..",
          "kyykddddddddk...",
          "kykdddddddddk...",
          "kykddddddddk....",
          "kkdddddddddk....",
          "kkkkkkkkkkk.....",
          "................",
      },
      kPalette);
}

// A floppy disk.
ui::PixelImage SaveAsGlyph() {
  return ui::ImageFromRows(
      {
          "................",
          ".kkkkkkkkkkkkkk.",
          ".kbbkwwwwwwkbbk.",
          ".kbbkwwwwwwkbbk.",
          ".kbbkwkkkkwkbbk.",
          ".kbbkwwwwwwkbbk.",
          ".kbbkwkkkkwkbbk.",
          ".kbbkwwwwwwkbbk.",
          ".kbbbkkkkkkbbbk.",
          ".kbbbbbbbbbbbbk.",
          ".kbbbkkkkkkkbbk.",
          ".kbbbksskkskbbk.",
          ".kbbbksskkskbbk.",
          ".kbbbksskkskbbk.",
          ".kkkkkkkkkkkkkk.",
          "................",
      },
      kPalette);
}

// A printer.
ui::PixelImage PrintGlyph() {
  return ui::ImageFromRows(
      {
          "................",
          "....kkkkkkkk....",
          "....kwwwwwwk....",
          "....kwkkkkwk....",
          "....kwwwwwwk....",
          "..kkkkkkkkkkkk..",
          ".kssssssssssssk.",
          ".kssssssssssGsk.",
          ".kssssssssssssk.",
          ".kggggggggggggk.",
          ".kkkkkkkkkkkkkk.",
          "...kwwwwwwwwk...",
          "...kwkkkkkkwk...",
          "...kwwwwwwwwk...",
          "...kkkkkkkkkk...",
          "................",
      },
      kPalette);
}

// A question mark: the riddle key.
ui::PixelImage RevealGlyph() {
  return ui::ImageFromRows(
      {
          "................",
          ".kkkkkkkkkkkkkk.",
          ".kyyyyyyyyyyyyk.",
          ".kyyyykkkkyyyyk.",
          ".kyyykkyykkyyyk.",
          ".kyyykkyykkyyyk.",
          ".kyyyyyyykkyyyk.",
          ".kyyyyyykkyyyyk.",
          ".kyyyyykkyyyyyk.",
          ".kyyyyykkyyyyyk.",
          ".kyyyyyyyyyyyyk.",
          ".kyyyyykkyyyyyk.",
          ".kyyyyykkyyyyyk.",
          ".kyyyyyyyyyyyyk.",
          ".kkkkkkkkkkkkkk.",
          "................",
      },
      kPalette);
}

// A clock.
ui::PixelImage SetClockGlyph() {
  return ui::ImageFromRows(
      {
          "................",
          ".....kkkkkk.....",
          "...kkwwwwwwkk...",
          "..kwwwwkwwwwwk..",
          "..kwwwwkwwwwwk..",
          ".kwwwwwkwwwwwwk.",
          ".kwwwwwkwwwwwwk.",
          ".kwwwwwkkkkkwwk.",
          ".kwwwwwwwwwwwwk.",
          ".kwwwwwwwwwwwwk.",
          "..kwwwwwwwwwwk..",
          "..kwwwwwwwwwwk..",
          "...kkwwwwwwkk...",
          ".....kkkkkk.....",
          "................",
          "................",
      },
      kPalette);
}

// A sheet crossed out.
ui::PixelImage DelAllGlyph() {
  return ui::ImageFromRows(
      {
          "................",
          "..kkkkkkkkk.....",
          "..kwwwwwwwkk....",
          "..kwwwwwwwkwk...",
          "..kwrrwwwrrwk...",
          "..kwwrrwrrwwk...",
          "..kwwwrrrwwwk...",
          "..kwwwwrwwwwk...",
          "..kwwwrrrwwwk...",
          "..kwwrrwrrwwk...",
          "..kwrrwwwrrwk...",
          "..kwwwwwwwwwk...",
          "..kwwwwwwwwwk...",
          "..kkkkkkkkkkk...",
          "................",
          "................",
      },
      kPalette);
}

// Two bars.
ui::PixelImage PauseGlyph() {
  return ui::ImageFromRows(
      {
          "................",
          "................",
          "...kkkk..kkkk...",
          "...kbbk..kbbk...",
          "...kbbk..kbbk...",
          "...kbbk..kbbk...",
          "...kbbk..kbbk...",
          "...kbbk..kbbk...",
          "...kbbk..kbbk...",
          "...kbbk..kbbk...",
          "...kbbk..kbbk...",
          "...kbbk..kbbk...",
          "...kbbk..kbbk...",
          "...kkkk..kkkk...",
          "................",
          "................",
      },
      kPalette);
}

// An arrow to the right.
ui::PixelImage NextGlyph() {
  return ui::ImageFromRows(
      {
          "................",
          "................",
          "................",
          "........k.......",
          "........kk......",
          "........kGk.....",
          ".kkkkkkkkGGk....",
          ".kGGGGGGGGGGk...",
          ".kGGGGGGGGGGGk..",
          ".kGGGGGGGGGGk...",
          ".kkkkkkkkGGk....",
          "........kGk.....",
          "........kk......",
          "........k.......",
          "................",
          "................",
      },
      kPalette);
}

// A television set showing a teletext page.
ui::PixelImage ProgramIconImage() {
  return ui::ImageFromRows(
      {
          "..........k..........k..........", "...........k........k...........", "............k......k............",
          ".............k....k.............", "..............k..k..............", "...............kk...............",
          "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk", "kssssssssssssssssssssssssssssssk", "kskkkkkkkkkkkkkkkkkkkkkkkksssssk",
          "kskwkwwkwwwkwkwwkkwwkwwkkksgggsk", "kskkkkkkkkkkkkkkkkkkkkkkkksssssk", "kskyyyyyyyyyyyyyyyyyyyykkksgggsk",
          "kskyyyyyyyyyyyyyyyyyyyykkksssssk", "kskkkkkkkkkkkkkkkkkkkkkkkksgggsk", "kskcckcccckccckcckcccckkkksssssk",
          "kskkkkkkkkkkkkkkkkkkkkkkkksrrrsk", "kskcckccckcccckcckccckkkkksrrrsk", "kskkkkkkkkkkkkkkkkkkkkkkkksssssk",
          "kskGGkGGGGkGGkGGGkGGGkkkkksgggsk", "kskkkkkkkkkkkkkkkkkkkkkkkksssssk", "kskrrrrrkbbbbbbkGGGGGkyyyksgggsk",
          "kskkkkkkkkkkkkkkkkkkkkkkkksssssk", "kssssssssssssssssssssssssssssssk", "kkkkkkkkkkkkkkkkkkkkkkkkkkkkkkkk",
          "...kkkk..................kkkk...", "...kkkk..................kkkk...", "................................",
          "................................",
      },
      kPalette);
}
}  // namespace tolv
