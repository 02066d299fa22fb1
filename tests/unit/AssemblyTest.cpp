#include <gtest/gtest.h>

#include <sstream>

#include "RecordingTarget.h"

namespace tolv {
namespace {

using encode::HeaderUnit;
using encode::RowUnit;
using test::Feed;
using test::RowText;
using Received = std::vector<std::pair<unsigned, unsigned>>;

TEST(Assembly, WalksWholeUnitsOnly) {
  const auto two = encode::Join({HeaderUnit(100), HeaderUnit(200)});
  for (auto [length, headers] : {std::pair{92, 2u}, {91, 1u}, {45, 0u}, {0, 0u}, {-46, 0u}}) {
    Feed feed;
    feed.assembly.Receive(two.data(), length, feed.target, feed.resetPending);
    EXPECT_EQ(feed.target.headers.size(), headers) << "length " << length;
  }
}

TEST(Assembly, SkipsUnitsThatFailAcceptance) {
  Feed feed;
  encode::Unit stuffing = HeaderUnit(100);
  stuffing[0] = 0xFF;
  encode::Unit badAddress = HeaderUnit(100);
  badAddress[4] ^= 0x81;
  feed.Send({stuffing, badAddress});
  EXPECT_TRUE(feed.target.headers.empty());
}

TEST(Assembly, ParallelPageIsCompleteAtTheNextHeaderOfItsOwnMagazine) {
  Feed feed;
  feed.Send({HeaderUnit(100), RowUnit(1, 1, "ONE"), RowUnit(1, 5, "FIVE"), HeaderUnit(200), RowUnit(2, 1, "TWO")});
  EXPECT_TRUE(feed.target.received.empty()) << "a header of magazine 2 must not end page 100";
  feed.Send({HeaderUnit(101)});
  EXPECT_EQ(feed.target.received, (Received{{100, 0}}));
  ASSERT_NE(feed.Stored(100), nullptr);
  EXPECT_EQ(RowText(*feed.Stored(100), 1), "ONE");
  EXPECT_EQ(RowText(*feed.Stored(100), 5), "FIVE");
  EXPECT_EQ(RowText(*feed.Stored(100), 2), "<absent>");
}

// Each magazine keeps its own completion flag and state: interleaved magazines lose nothing and
// never mix their rows.
TEST(Assembly, InterleavedMagazinesKeepTheirOwnPages) {
  Feed feed;
  feed.Send({HeaderUnit(100), RowUnit(1, 1, "P100 ROW1"), HeaderUnit(200), RowUnit(2, 1, "P200 ROW1"),
             RowUnit(1, 2, "P100 ROW2"), HeaderUnit(300), HeaderUnit(101), RowUnit(1, 1, "P101 ROW1"), HeaderUnit(201),
             HeaderUnit(102)});
  EXPECT_EQ(feed.target.received, (Received{{100, 0}, {200, 0}, {101, 0}}));
  EXPECT_EQ(RowText(*feed.Stored(100), 2), "P100 ROW2");
  EXPECT_EQ(RowText(*feed.Stored(200), 1), "P200 ROW1");
  EXPECT_EQ(RowText(*feed.Stored(200), 2), "<absent>");
  EXPECT_EQ(RowText(*feed.Stored(101), 1), "P101 ROW1");
  EXPECT_EQ(RowText(*feed.Stored(101), 2), "<absent>") << "page 101 must not inherit rows of page 100";
}

TEST(Assembly, UnusableHeaderOfOneMagazineDoesNotStallAnother) {
  Feed feed;
  encode::HeaderFields filler;  // time filling header: page FF of magazine 2
  filler.pageTens = filler.pageUnits = 0xF;
  feed.Send({HeaderUnit(100), encode::MakeUnit(2, 0, encode::HeaderData(filler, "")), RowUnit(1, 1, "KEPT"),
             RowUnit(2, 1, "DROPPED"), HeaderUnit(101)});
  EXPECT_EQ(feed.target.received, (Received{{100, 0}}));
  EXPECT_EQ(RowText(*feed.Stored(100), 1), "KEPT");
  EXPECT_EQ(feed.assembly.Slot(2), nullptr);
}

TEST(Assembly, SerialModeEndsThePageAtAnyHeader) {
  Feed feed;
  feed.Send({HeaderUnit(100, 0, true), RowUnit(1, 1, "ONE"), RowUnit(3, 2, "SERIAL ROW"), HeaderUnit(300, 0, true),
             RowUnit(3, 1, "THREE")});
  EXPECT_EQ(feed.target.received, (Received{{100, 0}}));
  EXPECT_EQ(RowText(*feed.Stored(100), 2), "SERIAL ROW") << "in serial mode every row belongs to the current page";
  ASSERT_NE(feed.assembly.Slot(0), nullptr);
  EXPECT_EQ(feed.assembly.Slot(0)->Number(), 300);
  EXPECT_EQ(feed.assembly.Slot(3), nullptr);
}

TEST(Assembly, HeaderAfterHeaderReusesTheRecord) {
  Feed feed;
  feed.Send({HeaderUnit(100, 1, false, "FIRST"), RowUnit(1, 1, "OLD ONE"), HeaderUnit(101, 2, false, "SECOND")});
  EXPECT_EQ(feed.target.received, (Received{{100, 1}}));
  const CVTPage* record = feed.assembly.Slot(1);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(RowText(*record, 1), "<absent>") << "page 101 starts on a fresh record";

  feed.Send({HeaderUnit(102, 3, false, "THIRD")});  // no row since the header of 101: nothing is complete
  EXPECT_EQ(feed.target.received.size(), 1u);
  ASSERT_EQ(feed.assembly.Slot(1), record);
  EXPECT_EQ(record->Number(), 102);
  EXPECT_EQ(record->GetSubcode(), 3);
  EXPECT_EQ(RowText(*record, 0), "        THIRD");
}

TEST(Assembly, SwitchingModeDiscardsEveryPageUnderAssembly) {
  Feed feed;
  feed.Send({HeaderUnit(100), RowUnit(1, 1, "A"), HeaderUnit(200), RowUnit(2, 1, "B")});
  feed.Send({HeaderUnit(300, 0, true)});
  // The header hands over the page of its own slot (magazine 3: none), then the mode changes.
  EXPECT_TRUE(feed.target.received.empty());
  EXPECT_TRUE(feed.assembly.SerialMode());
  for (unsigned s = 1; s < 8; ++s) EXPECT_EQ(feed.assembly.Slot(s), nullptr) << s;
  ASSERT_NE(feed.assembly.Slot(0), nullptr);
  EXPECT_EQ(feed.assembly.Slot(0)->Number(), 300);
  EXPECT_EQ(RowText(*feed.assembly.Slot(0), 1), "<absent>");

  feed.Send({RowUnit(3, 1, "S"), HeaderUnit(400)});  // back to parallel: the serial page is complete
  EXPECT_EQ(feed.target.received, (Received{{300, 0}}));
  EXPECT_FALSE(feed.assembly.SerialMode());
}

TEST(Assembly, UnusableHeadersEndThePageAndStopCollection) {
  encode::HeaderFields hexPage;
  hexPage.pageTens = 0xF;
  hexPage.pageUnits = 0x3;
  encode::HeaderFields hexSubcode;
  hexSubcode.s1 = 0xA;
  auto undecodable = encode::HeaderData({}, "");
  undecodable[0] ^= 0x06;
  for (const auto& data : {encode::HeaderData(hexPage, ""), encode::HeaderData(hexSubcode, ""), undecodable}) {
    Feed feed;
    feed.Send({HeaderUnit(100), RowUnit(1, 1, "DONE"), encode::MakeUnit(1, 0, data), RowUnit(1, 2, "LOST")});
    EXPECT_EQ(feed.target.received, (Received{{100, 0}}));
    EXPECT_EQ(RowText(*feed.Stored(100), 2), "<absent>");
    feed.Send({HeaderUnit(101)});
    EXPECT_EQ(feed.target.received.size(), 1u) << "no row was stored after the unusable header";
  }
}

TEST(Assembly, PacketsAbove23AreDroppedAndCompleteNothing) {
  Feed feed;
  feed.Send({HeaderUnit(100), RowUnit(1, 24, "X"), RowUnit(1, 26, "X"), RowUnit(1, 31, "X"), HeaderUnit(101)});
  EXPECT_TRUE(feed.target.received.empty());
  for (unsigned r = 1; r < 24; ++r) EXPECT_EQ(RowText(*feed.assembly.Slot(1), r), "<absent>");
}

TEST(Assembly, HeaderRowGoesToTheWindowAndIntoRowZero) {
  Feed feed;
  feed.Send({HeaderUnit(150, 0, false, "ARD TEXT 12:00:00"), RowUnit(1, 1, "X"), HeaderUnit(151)});
  ASSERT_EQ(feed.target.headers.size(), 2u);
  EXPECT_EQ(feed.target.headers[0], std::string(8, ' ') + "ARD TEXT 12:00:00" + std::string(15, ' '));
  const auto& row0 = *feed.Stored(150)->Rows[0];
  EXPECT_EQ(std::string(row0.begin(), row0.end()), feed.target.headers[0]);
}

TEST(Assembly, HeaderFieldsComeFromTheLatestHeader) {
  encode::HeaderFields f;
  f.pageTens = 2;
  f.pageUnits = 3;
  f.s1 = 2;
  f.c5 = true;
  f.national = 4;
  Feed feed;
  feed.Send({encode::MakeUnit(8, 0, encode::HeaderData(f, "")), RowUnit(8, 1, "X"), HeaderUnit(824)});
  const CVTPage* page = feed.Stored(823, 2);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->Magazine, 0);
  EXPECT_EQ(page->Page, 23);
  EXPECT_EQ(page->Number(), 23);
  EXPECT_EQ(page->Control, kNewsflash);
  EXPECT_EQ(page->National, 4);
  EXPECT_EQ(page->CharSet, 4) << "the national option chooses the character set";
}

TEST(Assembly, ResetPendingDiscardsPagesUnderAssemblyOnce) {
  Feed feed;
  feed.Send({HeaderUnit(100), RowUnit(1, 1, "A")});
  feed.resetPending = true;
  feed.Send({HeaderUnit(101)});
  EXPECT_FALSE(feed.resetPending);
  EXPECT_TRUE(feed.target.received.empty());
  feed.Send({RowUnit(1, 1, "B"), HeaderUnit(102)});
  EXPECT_EQ(feed.target.received, (Received{{101, 0}}));
}

// A target whose page-data lock fails a given number of times, as a failed wait would.
class FailingLockTarget : public test::RecordingTarget {
 public:
  bool LockPageData() override {
    if (failures > 0) {
      --failures;
      return false;
    }
    return RecordingTarget::LockPageData();
  }
  int failures = 0;
};

TEST(Assembly, APageThatFindsNoLockWaitsForTheNextHeaderWithoutMixingRows) {
  FailingLockTarget target;
  MagazineAssembly assembly;
  std::atomic<bool> reset{true};
  auto send = [&](std::initializer_list<encode::Unit> units) {
    const auto bytes = encode::Join(units);
    assembly.Receive(bytes.data(), static_cast<std::int32_t>(bytes.size()), target, reset);
  };
  send({HeaderUnit(100), RowUnit(1, 1, "HUNDRED"), RowUnit(1, 2, "ONLY 100")});
  target.failures = 1;
  send({HeaderUnit(101), RowUnit(1, 1, "HUNDRED AND ONE")});
  EXPECT_TRUE(target.received.empty());
  send({HeaderUnit(102)});
  EXPECT_EQ(target.received, (Received{{100, 0}, {101, 0}}));
  const CVTPage* p100 = target.AllPages().GetPage(100, 0, gmFirst);
  const CVTPage* p101 = target.AllPages().GetPage(101, 0, gmFirst);
  ASSERT_TRUE(p100 && p101);
  EXPECT_EQ(RowText(*p100, 1), "HUNDRED");
  EXPECT_EQ(RowText(*p101, 1), "HUNDRED AND ONE");
  EXPECT_EQ(RowText(*p101, 2), "<absent>") << "page 101 must not inherit rows of page 100";

  target.failures = 2;  // two headers in a row find no lock: the older waiting page makes room
  send({RowUnit(1, 1, "A"), HeaderUnit(103), RowUnit(1, 1, "B"), HeaderUnit(104), RowUnit(1, 1, "C"), HeaderUnit(105)});
  EXPECT_EQ(target.received.size(), 4u);
  EXPECT_EQ(target.received[2], std::pair(103u, 0u));
  EXPECT_EQ(target.received[3], std::pair(104u, 0u));
  EXPECT_EQ(target.AllPages().GetPage(102, 0, gmFirst), nullptr);
}

TEST(Assembly, RetransmittedSubpageReplacesTheStoredOne) {
  Feed feed;
  feed.Send({HeaderUnit(100, 1), RowUnit(1, 1, "FIRST"), RowUnit(1, 2, "GONE"), HeaderUnit(100, 1),
             RowUnit(1, 1, "SECOND"), HeaderUnit(100, 2)});
  EXPECT_EQ(feed.target.received, (Received{{100, 1}, {100, 1}}));
  EXPECT_EQ(RowText(*feed.Stored(100, 1), 1), "SECOND");
  EXPECT_EQ(RowText(*feed.Stored(100, 1), 2), "<absent>");
}

// The rows and the record that a retransmission replaced are taken by the next page under
// assembly: that page holds its own header and rows alone, as a page built from nothing would.
TEST(Assembly, APageBuiltFromReplacedRowsHoldsNothingOfTheirPast) {
  const encode::Unit oldHeader = encode::MakeUnit(
      1, 0, encode::HeaderData({.pageTens = 0, .pageUnits = 0, .s1 = 1, .c4 = true, .national = 2}, "OLD HEADER TEXT"));
  const std::string full(40, 'O');
  const auto page150 = encode::Join({HeaderUnit(150, 7), RowUnit(1, 2, "X"), HeaderUnit(160)});
  Feed reused;
  reused.Send({oldHeader, RowUnit(1, 1, full), RowUnit(1, 2, full), RowUnit(1, 3, full), HeaderUnit(100, 1),
               RowUnit(1, 1, "NEW")});
  reused.Send(page150);  // its header hands 100/1 over, which replaces the stored 100/1
  Feed fresh;
  fresh.Send(page150);
  ASSERT_NE(reused.Stored(150, 7), nullptr);
  ASSERT_NE(fresh.Stored(150, 7), nullptr);
  const CVTPage& got = *reused.Stored(150, 7);
  const CVTPage& expected = *fresh.Stored(150, 7);
  std::ostringstream gotFile, expectedFile;
  got.SaveToStream(gotFile);
  expected.SaveToStream(expectedFile);
  EXPECT_EQ(gotFile.str(), expectedFile.str());
  for (unsigned r = 0; r < kRows; ++r) EXPECT_EQ(got.Rows[r] != nullptr, expected.Rows[r] != nullptr) << "row " << r;
  EXPECT_EQ(RowText(got, 2), "X");
  EXPECT_EQ(RowText(*reused.Stored(100, 1), 1), "NEW");
  EXPECT_EQ(RowText(*reused.Stored(100, 1), 2), "<absent>");
}

}  // namespace
}  // namespace tolv
