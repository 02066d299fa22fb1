#include "tools/tolvane/TerminalPage.h"

#include "pages/NationalSubsets.h"
#include "pages/PageText.h"
#include "pages/RowDecoder.h"
#include "tools/tolvane/TeletextGlyphs.h"

namespace tolv::tolvane {
namespace {

enum class Half : std::uint8_t { kWhole, kUpper, kLower };

struct Style {
  Colour fg = 0;
  Colour bg = 0;
  bool blink = false;
  friend bool operator==(const Style&, const Style&) = default;
};

void AppendRgb(std::string& out, Colour c) {
  // Colours are 0x00BBGGRR.
  out += std::to_string(c & 0xFF) + ';' + std::to_string((c >> 8) & 0xFF) + ';' + std::to_string((c >> 16) & 0xFF);
}

class RowWriter {
 public:
  RowWriter(std::string& out, bool reveal) : out_(out), reveal_(reveal) {}

  void Cell(const TVtCell& cell, Half half) {
    std::string glyph;
    const bool hidden = (cell.Flags & kConceal) != 0 && !reveal_;
    if (hidden) {
      glyph = " ";
    } else if (cell.Mosaic == 1) {
      const Sixels sixels = SixelsOfMosaic(cell.Ch);
      const Sixels shown = half == Half::kUpper ? UpperHalf(sixels) : half == Half::kLower ? LowerHalf(sixels) : sixels;
      AppendMosaic(glyph, shown, (cell.Flags & kSeparated) != 0);
    } else {
      tolv::AppendTextCell(glyph, cell);  // as the faces draw it
    }
    SetStyle({cell.FgColor, cell.BgColor, (cell.Flags & kFlash) != 0 && glyph != " "});
    out_ += glyph;
  }

  void Blank(Colour bg) {
    SetStyle({bg, bg, false});
    out_ += ' ';
  }

  void End() {
    out_ += "\x1b[0m\n";
    started_ = false;
  }

 private:
  void SetStyle(const Style& style) {
    if (started_ && style == style_) return;
    if (!started_ || style.fg != style_.fg || style.bg != style_.bg) {
      out_ += "\x1b[38;2;";
      AppendRgb(out_, style.fg);
      out_ += ";48;2;";
      AppendRgb(out_, style.bg);
      out_ += 'm';
    }
    if (!started_ ? style.blink : style.blink != style_.blink) out_ += style.blink ? "\x1b[5m" : "\x1b[25m";
    style_ = style;
    started_ = true;
  }

  std::string& out_;
  bool reveal_;
  Style style_;
  bool started_ = false;
};

}  // namespace

std::string TerminalPage(CVTPage& page, bool reveal) {
  std::string out;
  for (unsigned row = 0; row < kRows; ++row) {
    RowWriter writer(out, reveal);
    for (unsigned column = 0; column < kColumns; ++column) {
      const TVtCell cell = GetDisplayCell(page, column, row);
      const TVtCell above = row > 0 ? GetDisplayCell(page, column, row - 1) : TVtCell{};
      // A double-height cell covers the cell below it, whatever that one holds.
      if (row > 0 && (above.Flags & kDoubleHeight) != 0) {
        writer.Cell(above, Half::kLower);
      } else if ((cell.Flags & kVisible) == 0) {
        writer.Blank(cell.BgColor);
      } else {
        writer.Cell(cell, (cell.Flags & kDoubleHeight) != 0 ? Half::kUpper : Half::kWhole);
      }
    }
    writer.End();
  }
  return out;
}

}  // namespace tolv::tolvane
