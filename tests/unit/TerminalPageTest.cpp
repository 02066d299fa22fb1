#include <gtest/gtest.h>

#include <regex>
#include <string_view>

#include "tools/tolvane/TerminalPage.h"

namespace tolv::tolvane {
namespace {

std::unique_ptr<CVTPage> PageWithRows(const std::vector<std::pair<unsigned, std::string>>& rows) {
  std::unique_ptr<CVTPage> page = CVTPage::New();
  for (const auto& [r, text] : rows) {
    auto row = NewRow();
    row->fill(' ');
    std::copy(text.begin(), text.end(), row->begin());
    page->StoreRow(r, std::move(row));
  }
  return page;
}

std::vector<std::string> Lines(const std::string& out) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < out.size();) {
    const std::size_t end = out.find('\n', at);
    lines.push_back(out.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

std::string WithoutEscapes(const std::string& line) {
  return std::regex_replace(line, std::regex("\x1b\\[[0-9;]*m"), "");
}

TEST(TerminalPage, WritesTwentyFourLinesOfFortyCells) {
  const auto page = PageWithRows({{1, "Hello"}});
  const std::vector<std::string> lines = Lines(TerminalPage(*page, false));
  ASSERT_EQ(lines.size(), 24u);
  for (const std::string& line : lines) {
    EXPECT_EQ(WithoutEscapes(line).size(), 40u);
    EXPECT_TRUE(line.ends_with("\x1b[0m")) << "each line resets the colours";
  }
  EXPECT_TRUE(WithoutEscapes(lines[1]).starts_with("Hello"));
}

TEST(TerminalPage, ColoursEachCellInTwentyFourBits) {
  // Red text on a new red background (0x1D takes the foreground colour at its own cell).
  const auto page = PageWithRows({{2,
                                   "\x01\x1D"
                                   "A"}});
  const std::string line = Lines(TerminalPage(*page, false))[2];
  EXPECT_NE(line.find("\x1b[38;2;255;255;255;48;2;0;0;0m "), std::string::npos) << "white on black first";
  EXPECT_NE(line.find("\x1b[38;2;255;0;0;48;2;255;0;0m A"), std::string::npos) << "then red on red";
}

TEST(TerminalPage, ConcealedCellsAreBlankUntilRevealed) {
  const auto page = PageWithRows({{3,
                                   "\x18"
                                   "SECRET\x07"
                                   "open"}});
  EXPECT_EQ(WithoutEscapes(Lines(TerminalPage(*page, false))[3]).substr(0, 12), "        open");
  EXPECT_EQ(WithoutEscapes(Lines(TerminalPage(*page, true))[3]).substr(0, 12), " SECRET open");
}

TEST(TerminalPage, FlashingCellsBlink) {
  const auto page = PageWithRows({{4,
                                   "\x08"
                                   "F\x09"
                                   "S"}});
  const std::string line = Lines(TerminalPage(*page, false))[4];
  const std::size_t blink = line.find("\x1b[5mF");
  ASSERT_NE(blink, std::string::npos);
  EXPECT_NE(line.find("\x1b[25m", blink), std::string::npos) << "steady again after the steady code";
}

TEST(TerminalPage, MosaicsAreSextantsAndSeparatedOnesBrailleDots) {
  // Mosaic white, the full block 0x7F; then separated, the full block again.
  const auto page = PageWithRows({{5, "\x17\x7F\x1A\x7F"}});
  const std::string line = WithoutEscapes(Lines(TerminalPage(*page, false))[5]);
  EXPECT_EQ(line.substr(0, 1 + 3 + 1 + 3), " █ ⠿");
}

TEST(TerminalPage, DoubleHeightShowsOverTwoRows) {
  // Row 6: double height from column 1: a letter and a mosaic whose top row only is set.
  const auto page = PageWithRows({{6,
                                   "\x0D"
                                   "D\x17\x23"},
                                  {7, "lower row bytes are not shown"}});
  const std::vector<std::string> lines = Lines(TerminalPage(*page, false));
  const std::string upper = WithoutEscapes(lines[6]), lower = WithoutEscapes(lines[7]);
  EXPECT_EQ(upper.substr(0, 3), " D ");
  EXPECT_EQ(lower.substr(0, 3), " D ");
  EXPECT_EQ(upper.substr(3, 4), "\U0001FB0E") << "BLOCK SEXTANT-1234: the top row twice, the empty middle row";
  EXPECT_EQ(lower.substr(3, 1), " ") << "the lower half of a top-row mosaic is empty";
  EXPECT_EQ(lower.find("lower row"), std::string::npos);
}

}  // namespace
}  // namespace tolv::tolvane
