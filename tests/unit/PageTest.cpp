#include <gtest/gtest.h>

#include <cstring>

#include "RecordingTarget.h"
#include "pages/RowDecoder.h"

namespace tolv {
namespace {

using test::RowText;

std::unique_ptr<VtRow> Row(const std::string& text) {
  auto row = NewRow();
  row->fill(' ');
  std::memcpy(row->data(), text.data(), std::min<std::size_t>(text.size(), kColumns));
  return row;
}

TEST(Page, NewRecordIsEmpty) {
  CVTPage page;
  EXPECT_EQ(page.GetSubcode(), 0);
  EXPECT_EQ(page.National, 1);
  EXPECT_EQ(page.CharSet, 1);
  EXPECT_FALSE(page.CellsValid);
  EXPECT_FALSE(page.RowFlagsValid);
  for (unsigned r = 0; r < kRows; ++r) {
    EXPECT_FALSE(page.Rows[r]);
    EXPECT_FALSE(page.Cells[r]);
  }
}

TEST(Page, StoreRowReplacesAndIgnoresRowsBeyond23) {
  CVTPage page;
  page.StoreRow(3, Row("FIRST"));
  page.StoreRow(3, Row("SECOND"));
  EXPECT_EQ(RowText(page, 3), "SECOND");
  GetDisplayCell(page, 0, 0);
  ASSERT_TRUE(page.CellsValid);
  page.StoreRow(24, Row("NOWHERE"));
  EXPECT_FALSE(page.CellsValid);
  EXPECT_FALSE(page.RowFlagsValid);
  for (unsigned r = 0; r < kRows; ++r) EXPECT_EQ(page.Rows[r] != nullptr, r == 3);
}

TEST(Page, CopyFromBlanksRowsTheSourceLacksButKeepsAbsentOnesAbsent) {
  CVTPage source;
  source.Magazine = 2;
  source.Page = 34;
  source.Subcode = 7;
  source.Control = kSubtitle;
  source.CharSet = 4;
  source.StoreRow(1, Row("ONE"));
  CVTPage display;
  display.StoreRow(5, Row("STALE"));
  display.CopyFrom(&source);
  EXPECT_EQ(display.Number(), 234);
  EXPECT_EQ(display.GetSubcode(), 7);
  EXPECT_EQ(display.Control, kSubtitle);
  EXPECT_EQ(display.CharSet, 4);
  EXPECT_EQ(RowText(display, 1), "ONE");
  ASSERT_TRUE(display.Rows[5]);
  EXPECT_EQ(RowText(display, 5), "");
  EXPECT_EQ(RowText(display, 6), "<absent>");
}

TEST(Page, CopyFromNullChangesNothing) {
  CVTPage page;
  page.StoreRow(1, Row("X"));
  GetDisplayCell(page, 0, 0);
  page.CopyFrom(nullptr);
  EXPECT_TRUE(page.CellsValid);
  EXPECT_EQ(RowText(page, 1), "X");
}

TEST(Page, SetRowWritesFromTheFirstColumnOn) {
  CVTPage page;
  page.StoreRow(0, Row(std::string(24, 'A') + std::string(16, 'B')));
  const std::string clock(40, 'C');
  page.SetRow(0, reinterpret_cast<const std::uint8_t*>(clock.data()), 24);
  EXPECT_EQ(RowText(page, 0), std::string(24, 'A') + std::string(16, 'C'));
  page.SetRow(2, nullptr, 0);  // absent row, null source: stays absent
  EXPECT_EQ(RowText(page, 2), "<absent>");
  page.SetRow(0, nullptr, 30);
  EXPECT_EQ(RowText(page, 0), std::string(24, 'A') + std::string(6, 'C'));
  page.SetRow(3, reinterpret_cast<const std::uint8_t*>(clock.data()), 10);  // absent row: created
  EXPECT_EQ(RowText(page, 3), std::string(10, ' ') + std::string(30, 'C'));
  page.SetRow(24, nullptr, 0);  // out of range: ignored
}

TEST(Page, ClearRowsBlanksButKeepsNumberAndPresentRows) {
  CVTPage page;
  page.Magazine = 1;
  page.Page = 50;
  page.Subcode = 3;
  page.StoreRow(4, Row("\x01RED"));
  EXPECT_EQ(GetDisplayCell(page, 1, 4).FgColor, 0x0000FFu);
  page.ClearRows();
  EXPECT_EQ(page.Number(), 150);
  EXPECT_EQ(page.GetSubcode(), 3);
  EXPECT_EQ(RowText(page, 4), "");
  EXPECT_EQ(RowText(page, 5), "<absent>");
  EXPECT_EQ((*page.Cells[4])[1], TVtCell{});
  const TVtCell blank = GetDisplayCell(page, 1, 4);
  EXPECT_EQ(blank.Ch, 0x20);
  EXPECT_EQ(blank.BgColor, 0u);
}

}  // namespace
}  // namespace tolv
