#include "pages/RowDecoder.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace tolv {
namespace {

constexpr Colour kBlack = 0x000000, kRed = 0x0000FF, kGreen = 0x00FF00, kYellow = 0x00FFFF, kWhite = 0xFFFFFF;

void SetRaw(CVTPage& page, unsigned row, std::vector<std::uint8_t> bytes) {
  auto raw = NewRow();
  std::copy(bytes.begin(), bytes.end(), raw->begin());
  page.StoreRow(row, std::move(raw));
}

TEST(Cells, PlainTextIsWhiteOnBlack) {
  CVTPage page;
  SetRaw(page, 3, {'H', 'i'});
  for (unsigned c = 0; c < kColumns; ++c) {
    const TVtCell cell = GetDisplayCell(page, c, 3);
    EXPECT_EQ(cell.Ch, c == 0 ? 'H' : c == 1 ? 'i' : ' ');
    EXPECT_EQ(cell.FgColor, kWhite);
    EXPECT_EQ(cell.BgColor, kBlack);
    EXPECT_EQ(cell.Mosaic, 0);
    EXPECT_EQ(cell.Flags, kVisible);
  }
}

TEST(Cells, ColourTakesHoldAfterItsCodeAndNewBackgroundAtIt) {
  CVTPage page;
  SetRaw(page, 1, {0x01, 0x1D, 0x41});
  const TVtCell c0 = GetDisplayCell(page, 0, 1), c1 = GetDisplayCell(page, 1, 1), c2 = GetDisplayCell(page, 2, 1);
  EXPECT_EQ(std::tuple(c0.Ch, c0.FgColor, c0.BgColor), std::tuple(0x20, kWhite, kBlack));
  EXPECT_EQ(std::tuple(c1.Ch, c1.FgColor, c1.BgColor), std::tuple(0x20, kRed, kRed));
  EXPECT_EQ(std::tuple(c2.Ch, c2.FgColor, c2.BgColor), std::tuple(0x41, kRed, kRed));
}

TEST(Cells, HeldMosaicRepeatsInControlCells) {
  CVTPage page;
  SetRaw(page, 1, {0x11, 0x1E, 0x7F, 0x03, 0x41});
  EXPECT_EQ(GetDisplayCell(page, 0, 1).Ch, 0x20);
  EXPECT_EQ(GetDisplayCell(page, 1, 1).Ch, 0x20);
  for (unsigned c : {2, 3}) {
    const TVtCell cell = GetDisplayCell(page, c, 1);
    EXPECT_EQ(cell.Ch, 0x5F) << c;  // mosaic 0x7F sits at 0x5F of the mosaic faces
    EXPECT_EQ(cell.Mosaic, 1);
    EXPECT_EQ(cell.FgColor, kRed);
  }
  const TVtCell a = GetDisplayCell(page, 4, 1);
  EXPECT_EQ(std::tuple(a.Ch, a.Mosaic, a.FgColor), std::tuple(0x41, 0, kYellow));
}

TEST(Cells, HeldMosaicUsesTheSeparationWhereItIsRepeated) {
  CVTPage page;
  SetRaw(page, 2, {0x17, 0x1E, 0x35, 0x1A, 0x19});
  EXPECT_EQ(GetDisplayCell(page, 3, 2).Ch, 0x35);
  EXPECT_TRUE(GetDisplayCell(page, 3, 2).Flags & kSeparated);
  EXPECT_FALSE(GetDisplayCell(page, 4, 2).Flags & kSeparated);
}

TEST(Cells, ReleaseAndSizeChangeDropTheHeldMosaic) {
  CVTPage page;
  SetRaw(page, 2, {0x17, 0x1E, 0x35, 0x1F, 0x1B, 0x35, 0x0D, 0x1B});
  EXPECT_EQ(GetDisplayCell(page, 3, 2).Ch, 0x35) << "release takes hold after its own cell";
  EXPECT_EQ(GetDisplayCell(page, 4, 2).Ch, 0x20);
  CVTPage sized;
  SetRaw(sized, 2, {0x17, 0x1E, 0x35, 0x0D, 0x1B});
  EXPECT_EQ(GetDisplayCell(sized, 3, 2).Ch, 0x35);
  EXPECT_EQ(GetDisplayCell(sized, 4, 2).Ch, 0x20);
}

TEST(Cells, ConcealEndsAfterTheNextColourCode) {
  CVTPage page;
  SetRaw(page, 4, {0x18, 0x41, 0x02, 0x42});
  for (unsigned c = 0; c < 3; ++c) EXPECT_TRUE(GetDisplayCell(page, c, 4).Flags & kConceal) << c;
  const TVtCell b = GetDisplayCell(page, 3, 4);
  EXPECT_FALSE(b.Flags & kConceal);
  EXPECT_EQ(std::tuple(b.Ch, b.FgColor), std::tuple(0x42, kGreen));
}

TEST(Cells, FlashStartsAfterItsCodeAndSteadyAtIts) {
  CVTPage page;
  SetRaw(page, 4, {0x08, 0x41, 0x09, 0x42});
  const bool flash[] = {false, true, false, false};
  for (unsigned c = 0; c < 4; ++c) EXPECT_EQ((GetDisplayCell(page, c, 4).Flags & kFlash) != 0, flash[c]) << c;
}

TEST(Cells, MosaicBlastThroughAndFontPositions) {
  CVTPage page;
  SetRaw(page, 5, {0x12, 0x41, 0x75, 0x35, 0x20});
  const TVtCell capital = GetDisplayCell(page, 1, 5), high = GetDisplayCell(page, 2, 5),
                low = GetDisplayCell(page, 3, 5);
  EXPECT_EQ(std::tuple(capital.Ch, capital.Mosaic), std::tuple(0x41, 0));
  EXPECT_EQ((*page.Cells[5])[1].Mosaic, 1) << "the stored cell keeps its mosaic mode";
  EXPECT_EQ(std::tuple(high.Ch, high.Mosaic), std::tuple(0x55, 1));
  EXPECT_EQ(std::tuple(low.Ch, low.Mosaic), std::tuple(0x35, 1));
}

TEST(Cells, CharacterSet4UsesTheNationalPositions) {
  CVTPage page;
  page.CharSet = 4;
  SetRaw(page, 1, {'#', '$', 0x40, '[', '\\', ']', '^', '_', '`', '{', '|', '}', '~', 'A', 0x12, 0x40, 0x60});
  const std::uint8_t expected[] = {0x91, 0xD4, 0xC2, 0xDB, 0xDC, 0xC1, 0xDE, 0x8F, 0xC9, 0xD2, 0xD8, 0xD9, 0xCC, 'A'};
  for (unsigned c = 0; c < 14; ++c) EXPECT_EQ(GetDisplayCell(page, c, 1).Ch, expected[c]) << c;
  EXPECT_EQ(GetDisplayCell(page, 15, 1).Ch, 0xC2) << "a blast-through capital is text";
  const TVtCell mosaic = GetDisplayCell(page, 16, 1);
  EXPECT_EQ(std::tuple(mosaic.Ch, mosaic.Mosaic), std::tuple(0x40, 1));
  EXPECT_EQ(mosaic.CharSet, 4);
}

TEST(Cells, DoubleHeightCoversTheRowBelow) {
  CVTPage page;
  std::vector<std::uint8_t> upper(40, 'U');
  upper[0] = 0x04;  // blue text...
  upper[1] = 0x1D;  // ...on blue
  upper[10] = 0x0D;
  SetRaw(page, 5, upper);
  SetRaw(page, 6, std::vector<std::uint8_t>(40, 'L'));
  for (unsigned c = 0; c < kColumns; ++c) {
    const TVtCell top = GetDisplayCell(page, c, 5), below = GetDisplayCell(page, c, 6);
    EXPECT_EQ((top.Flags & kDoubleHeight) != 0, c > 10) << c;
    EXPECT_EQ(below.Ch, 0x20) << "row 6 is not decoded from its own bytes";
    EXPECT_EQ((below.Flags & kVisible) != 0, c <= 10) << c;
    EXPECT_EQ(below.BgColor, top.BgColor) << c;
    EXPECT_EQ(below.FgColor, top.FgColor) << c;
  }
}

TEST(Cells, DoubleHeightRowsPairFromTheTop) {
  CVTPage page;
  for (unsigned r : {5, 6, 7}) SetRaw(page, r, {0x0D, 'X'});
  MarkDoubleHeightRows(page);
  const std::uint8_t expected[] = {0, 0, 0, 0, 0, 1, 0, 1, 0};
  for (unsigned r = 0; r < 9; ++r) EXPECT_EQ(page.RowFlags[r], expected[r]) << r;
  EXPECT_FALSE(GetDisplayCell(page, 1, 8).Flags & kVisible);
  EXPECT_TRUE(GetDisplayCell(page, 1, 7).Flags & kDoubleHeight);
}

TEST(Cells, DoubleHeightInRow23HasNoEffectButRow22PairsWithIt) {
  CVTPage page;
  SetRaw(page, 23, {0x0D, 'X'});
  EXPECT_FALSE(GetDisplayCell(page, 1, 23).Flags & kDoubleHeight);
  SetRaw(page, 22, {0x0D, 'X'});
  EXPECT_TRUE(GetDisplayCell(page, 1, 22).Flags & kDoubleHeight);
  EXPECT_FALSE(GetDisplayCell(page, 1, 23).Flags & kVisible);
}

TEST(Cells, NormalSizeEndsDoubleHeightAtItsOwnCell) {
  CVTPage page;
  SetRaw(page, 3, {0x0D, 'A', 0x0C, 'B'});
  EXPECT_TRUE(GetDisplayCell(page, 1, 3).Flags & kDoubleHeight);
  EXPECT_FALSE(GetDisplayCell(page, 2, 3).Flags & kDoubleHeight);
  EXPECT_FALSE(GetDisplayCell(page, 3, 3).Flags & kDoubleHeight);
}

TEST(Cells, DoubleHeightHeaderRowMakesRow1ItsLowerHalf) {
  CVTPage page;
  SetRaw(page, 1, std::vector<std::uint8_t>(40, 'S'));
  GetDisplayCell(page, 0, 1);  // row 1 decoded from its own bytes first
  std::vector<std::uint8_t> header(40, 'H');
  header[8] = 0x0D;
  page.SetRow(0, header.data(), 0);
  EXPECT_TRUE(GetDisplayCell(page, 9, 0).Flags & kDoubleHeight);
  EXPECT_EQ(GetDisplayCell(page, 0, 1).Ch, 0x20) << "no stale cells in the lower half";
  EXPECT_FALSE(GetDisplayCell(page, 9, 1).Flags & kVisible);
}

TEST(Cells, AbsentRowsAreBlackSpaces) {
  CVTPage page;
  for (unsigned r = 0; r < kRows; ++r)
    for (unsigned c = 0; c < kColumns; ++c) ASSERT_EQ(GetDisplayCell(page, c, r), TVtCell{});
}

// Decoding incrementally after in-place edits must give the cells a full decode gives.
void ExpectSameCells(CVTPage& incremental, const CVTPage& source, int step) {
  CVTPage full;
  full.CopyFrom(&source);
  for (unsigned r = 0; r < kRows; ++r)
    for (unsigned c = 0; c < kColumns; ++c)
      ASSERT_EQ(GetDisplayCell(incremental, c, r), GetDisplayCell(full, c, r))
          << "step " << step << " r" << r << " c" << c;
}

TEST(Cells, RowChangedMatchesAFullDecode) {
  std::mt19937 rng(20061);
  const std::uint8_t alphabet[] = {0x0D, 0x0C, 0x01, 0x11, 0x1E, 0x1F, 0x18, 0x1D, 0x1A, 0x7F, 0x35, 'A', ' '};
  CVTPage page;
  for (unsigned r = 0; r < kRows; r += 2) SetRaw(page, r, {'A'});
  for (int step = 0; step < 400; ++step) {
    GetDisplayCell(page, 0, 0);
    std::vector<std::uint8_t> row(40);
    for (auto& b : row) b = alphabet[rng() % sizeof alphabet];
    if (rng() % 3 == 0) std::fill(row.begin(), row.end(), 'x');  // loses its double-height code
    const auto r = static_cast<std::uint8_t>(rng() % kRows);
    const auto first = static_cast<std::uint8_t>(rng() % 2 ? 0 : 24);
    page.SetRow(r, rng() % 8 ? row.data() : nullptr, first);
    ExpectSameCells(page, page, step);
  }
}

TEST(Cells, RowChangedDecodesOnlyTheChangedRowWhenPairingHolds) {
  CVTPage page;
  SetRaw(page, 3, {'A'});
  SetRaw(page, 4, {'B'});
  GetDisplayCell(page, 0, 0);
  (*page.Rows[4])[0] = 'C';  // changed behind the decoder's back: not redecoded
  std::vector<std::uint8_t> row(40, 'Z');
  page.SetRow(3, row.data(), 0);
  EXPECT_EQ(GetDisplayCell(page, 0, 3).Ch, 'Z');
  EXPECT_EQ(GetDisplayCell(page, 0, 4).Ch, 'B');
  row[5] = 0x0D;  // gains a double-height code: this row and all below are decoded again
  page.SetRow(3, row.data(), 0);
  EXPECT_EQ(GetDisplayCell(page, 0, 4).Ch, 0x20);
  row[5] = 'Z';
  page.SetRow(3, row.data(), 0);
  EXPECT_EQ(GetDisplayCell(page, 0, 4).Ch, 'C');
}

}  // namespace
}  // namespace tolv
