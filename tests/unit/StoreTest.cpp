#include <gtest/gtest.h>

#include <vector>

#include "TestPages.h"
#include "pages/Lop.h"

namespace tolv {
namespace {

using test::MakePage;

std::vector<unsigned> Subcodes(const CVTAllPages& store, unsigned slot) {
  std::vector<unsigned> out;
  for (const CVTPage* p = store.FirstSubpage(slot); p != nullptr; p = CVTAllPages::NextSubpage(p))
    out.push_back(p->GetSubcode());
  return out;
}

// Subcode of a fetch, or -1 for none.
int Fetch(const CVTAllPages& store, std::uint32_t number, std::uint16_t subcode, TGetMode mode) {
  const CVTPage* p = store.GetPage(number, subcode, mode);
  return p == nullptr ? -1 : p->GetSubcode();
}

TEST(Store, EmptyStoreYieldsNothing) {
  CVTAllPages store;
  for (TGetMode mode : {gmFirst, gmNextSub, gmPrevSub, gmNextPage, gmPrevPage}) {
    EXPECT_EQ(store.GetPage(100, 0, mode), nullptr);
    EXPECT_EQ(store.GetPage(850, 0, mode), nullptr);
  }
}

TEST(Store, KeepsSubpagesInAscendingUnsignedOrder) {
  CVTAllPages store;
  for (std::uint16_t s : {3, 1, 2, 0, 40000, 32768, 7}) store.AddPage(MakePage(100, s));
  EXPECT_EQ(Subcodes(store, 100), (std::vector<unsigned>{0, 1, 2, 3, 7, 32768, 40000}));
}

TEST(Store, RetransmissionIsTakenOverByTheStoredRecord) {
  CVTAllPages store;
  CVTPage* first = store.AddPage(MakePage(100, 2));
  auto again = MakePage(100, 2);
  again->Control = kNewsflash;
  again->Rows[1] = NewRow();
  first->Rows[5] = NewRow();
  CVTPage* result = store.AddPage(std::move(again));
  EXPECT_EQ(result, first);
  EXPECT_EQ(first->Control, kNewsflash);
  EXPECT_TRUE(first->Rows[1]);
  EXPECT_FALSE(first->Rows[5]) << "rows are replaced, never merged";
  EXPECT_EQ(Subcodes(store, 100), (std::vector<unsigned>{2}));
}

TEST(Store, RefusesSlotsBeyond799) {
  CVTAllPages store;
  auto page = CVTPage::New();
  page->Magazine = 8;
  EXPECT_EQ(store.AddPage(std::move(page)), nullptr);
  EXPECT_EQ(store.AddPage(nullptr), nullptr);
}

TEST(Store, PagesOf800sLiveInTheFirstSlots) {
  CVTAllPages store;
  store.AddPage(MakePage(850, 0));
  EXPECT_NE(store.GetPage(850, 0, gmFirst), nullptr);
  EXPECT_EQ(store.GetPage(50, 0, gmFirst), store.GetPage(850, 0, gmFirst));
  EXPECT_EQ(store.GetPage(900, 0, gmFirst), nullptr);
  EXPECT_EQ(store.GetPage(0xFFFFFFFF, 0, gmFirst), nullptr);
}

struct StepCase {
  std::uint16_t subcode;
  TGetMode mode;
  int expected;
};

TEST(Store, StepsThroughSubpagesCyclically) {
  CVTAllPages store;
  for (std::uint16_t s : {1, 2, 3}) store.AddPage(MakePage(100, s));
  const StepCase cases[] = {
      {3, gmNextSub, 1}, {1, gmPrevSub, 3}, {2, gmNextSub, 3}, {0, gmNextSub, 1}, {5, gmNextSub, 1},
      {5, gmPrevSub, 3}, {2, gmPrevSub, 1}, {0, gmPrevSub, 3}, {3, gmFirst, 1},   {9, gmFirst, 1},
  };
  for (const StepCase& c : cases)
    EXPECT_EQ(Fetch(store, 100, c.subcode, c.mode), c.expected) << c.subcode << "/" << int(c.mode);
  EXPECT_EQ(store.GetPage(100, 1, static_cast<TGetMode>(9)), nullptr);
}

TEST(Store, SingleSubpageAnswersEveryMode) {
  CVTAllPages store;
  store.AddPage(MakePage(100, 4));
  for (TGetMode mode : {gmFirst, gmNextSub, gmPrevSub, static_cast<TGetMode>(9)})
    for (std::uint16_t s : {0, 4, 9}) EXPECT_EQ(Fetch(store, 100, s, mode), 4);
}

TEST(Store, StepsThroughOccupiedPagesWithWrapAround) {
  CVTAllPages store;
  for (unsigned n : {800, 899, 100, 799}) store.AddPage(MakePage(n, n == 100 ? 5 : 0));
  store.AddPage(MakePage(100, 2));
  const std::tuple<unsigned, TGetMode, int> cases[] = {
      {799, gmNextPage, 0},    // slot 799 -> slot 0 (page 800)
      {99, gmNextPage, 100},   // page 899 -> page 100
      {100, gmPrevPage, 99},   // page 100 -> page 899
      {800, gmPrevPage, 799},  // page 800 -> page 799
      {0, gmPrevPage, 799},   {500, gmNextPage, 799}, {101, gmPrevPage, 100},
  };
  for (auto [from, mode, slot] : cases) {
    const CVTPage* p = store.GetPage(from, 0, mode);
    ASSERT_NE(p, nullptr) << from;
    EXPECT_EQ(p->Number(), slot) << from;
  }
  EXPECT_EQ(Fetch(store, 99, 0, gmNextPage), 2) << "the lowest subcode of the next page";
}

TEST(Store, PageSteppingNeverReturnsTheStartingSlot) {
  CVTAllPages store;
  store.AddPage(MakePage(300, 0));
  for (unsigned from : {300, 100, 299, 301})
    for (TGetMode mode : {gmNextPage, gmPrevPage}) {
      const CVTPage* p = store.GetPage(from, 0, mode);
      if (from == 300)
        EXPECT_EQ(p, nullptr);
      else
        EXPECT_NE(p, nullptr);
    }
}

TEST(Store, ClearEmptiesEverySlot) {
  CVTAllPages store;
  for (unsigned n = 100; n < 900; n += 7) store.AddPage(MakePage(n, 1));
  store.Clear();
  for (unsigned slot = 0; slot < kPageSlots; ++slot) EXPECT_EQ(store.FirstSubpage(slot), nullptr);
  EXPECT_EQ(store.GetPage(100, 0, gmNextPage), nullptr);
}

}  // namespace
}  // namespace tolv
