#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "TestPages.h"
#include "pages/Lop.h"

namespace tolv {
namespace {

using test::MakePage;

std::string Saved(const CVTAllPages& store) {
  std::ostringstream out(std::ios::binary);
  store.SaveAll(out);
  return out.str();
}

TEST(PageFile, RecordOfAPageWithOnlyItsHeaderRow) {
  CVTAllPages store;
  auto page = MakePage(100, 0);
  page->Rows[0] = NewRow();
  std::memcpy(page->Rows[0]->data(), "        P100 \x0D\x0A TELETEXT", 24);
  store.AddPage(std::move(page));
  const std::string file = Saved(store);
  std::string expected("\x00\x00\x00\x00", 4);
  expected += std::string("        P100 \x0D\x0A TELETEXT", 24) + std::string(16, ' ');
  expected += std::string(920, ' ');
  expected += "\x08VT2";
  EXPECT_EQ(file, expected);
}

TEST(PageFile, StorageOrderAndFieldLayout) {
  CVTAllPages store;
  for (std::uint16_t s : {3, 1, 2}) store.AddPage(MakePage(123, s));
  store.AddPage(MakePage(800, 0x1234));
  store.AddPage(MakePage(250, 0));
  const std::string file = Saved(store);
  ASSERT_EQ(file.size(), 5u * 968);
  // Page 800 (slot 0) first, then 123's subpages in order, then 250; only the page units are kept.
  const char* heads[] = {"\x00\x00\x34\x12", "\x17\x00\x01\x00", "\x17\x00\x02\x00", "\x17\x00\x03\x00",
                         "\x32\x00\x00\x00"};
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(file.substr(968 * k, 4), std::string(heads[k], 4)) << k;
    EXPECT_EQ(file.substr(968 * k + 4, 960), std::string(960, ' ')) << "absent rows are spaces";
    EXPECT_EQ(file.substr(968 * k + 965, 3), "VT2");
  }
}

TEST(PageFile, CharacterSetByte) {
  const std::pair<int, char> cases[] = {{0, 0x00}, {1, 0x08}, {2, 0x04}, {3, 0x0C}, {4, 0x02},
                                        {5, 0x0A}, {6, 0x06}, {7, 0x0E}, {8, 0x08}, {-1, 0x08}};
  for (auto [charSet, byte] : cases) {
    CVTPage page;
    page.CharSet = static_cast<std::int8_t>(charSet);
    std::ostringstream out(std::ios::binary);
    page.SaveToStream(out);
    EXPECT_EQ(out.str()[964], byte) << charSet;
  }
}

TEST(PageFile, EmptyStoreWritesNothing) {
  CVTAllPages store;
  EXPECT_TRUE(Saved(store).empty());
}

}  // namespace
}  // namespace tolv
