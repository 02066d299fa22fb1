// Level 1.5 enhancements: the triplets of packets X/26, where they place characters, and what a
// page shows and gives out as text with them.
#include "pages/Enhancements.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "decoder/StoreOnlyTarget.h"
#include "decoder/Vt_fkt.h"
#include "pages/PageText.h"
#include "pages/RowDecoder.h"
#include "tests/support/RecordingFeed.h"

namespace tolv {
namespace {

constexpr std::uint32_t Triplet(unsigned address, unsigned mode, unsigned data) {
  return address | mode << 6 | data << 11;
}

std::uint32_t Decode(const std::array<std::uint8_t, 3>& bytes) { return DecodeHamming2418(bytes.data()); }

// Every single bit error is corrected and every double one refused, for values that set each
// data bit both ways.
TEST(Hamming2418, CorrectsOneErrorAndRefusesTwo) {
  for (const std::uint32_t value : {0x00000u, 0x3FFFFu, 0x15555u, 0x2AAAAu, 0x00001u, 0x20000u, 0x1E4A7u}) {
    const std::array<std::uint8_t, 3> code = EncodeHamming2418(value);
    EXPECT_EQ(Decode(code), value);
    for (unsigned first = 0; first < 24; ++first) {
      std::array<std::uint8_t, 3> one = code;
      one[first / 8] ^= static_cast<std::uint8_t>(1u << (first % 8));
      EXPECT_EQ(Decode(one), value) << std::hex << value << " bit " << std::dec << first;
      for (unsigned second = first + 1; second < 24; ++second) {
        std::array<std::uint8_t, 3> two = one;
        two[second / 8] ^= static_cast<std::uint8_t>(1u << (second % 8));
        EXPECT_EQ(Decode(two), kTripletRejected) << std::hex << value << " bits " << std::dec << first << "," << second;
      }
    }
  }
}

using Triplets = std::vector<std::uint32_t>;

// The placements of triplets sent in packets of designation codes 0, 1, ... (13 a packet;
// the rest of the last packet is filled with triplets that do nothing).
std::vector<Placement> Placements(const Triplets& triplets, std::vector<std::uint8_t> codes = {}) {
  PageEnhancements enhancements;
  for (std::size_t start = 0, packet = 0; start < triplets.size(); start += kTripletsPerPacket, ++packet) {
    std::array<std::uint32_t, kTripletsPerPacket> one{};
    one.fill(Triplet(40, 0x00, 0));  // a Level 2.5 row mode: no effect here
    for (std::size_t i = start; i < triplets.size() && i < start + kTripletsPerPacket; ++i)
      one[i - start] = triplets[i];
    enhancements.Add(packet < codes.size() ? codes[packet] : static_cast<std::uint8_t>(packet), one);
  }
  std::vector<Placement> placed;
  ForEachPlacement(enhancements, [&](const Placement& p) { placed.push_back(p); });
  return placed;
}

std::string Describe(const std::vector<Placement>& placed) {
  std::ostringstream text;
  for (const Placement& p : placed) {
    text << int{p.Row} << ":" << int{p.Column} << " " << std::hex << int{p.CharSet} << "/" << int{p.Code} << std::dec
         << "; ";
  }
  return text.str();
}

TEST(Enhancements, AddressesPlaceCharactersWhereTheRulesSay) {
  struct Case {
    const char* what;
    Triplets triplets;
    const char* placed;
  };
  const Case cases[] = {
      {"processing starts at row 0", {Triplet(5, 0x10, 'A')}, "0:5 10/41; "},
      {"set active position: row 1..23 and the column from its data",
       {Triplet(41, 0x04, 7), Triplet(9, 0x12, 'E'), Triplet(63, 0x04, 0), Triplet(0, 0x0F, 0x7B)},
       "1:9 12/45; 23:0 20/7b; "},
      {"address 40 is row 24, which is dropped", {Triplet(40, 0x04, 0), Triplet(3, 0x13, 'O')}, ""},
      {"full row colour sets the row and column 0", {Triplet(45, 0x01, 0x03), Triplet(2, 0x02, 0x2F)}, "5:2 21/2f; "},
      {"address row 0 counts only with address 63",
       {Triplet(45, 0x04, 0), Triplet(50, 0x07, 0), Triplet(1, 0x10, 'x'), Triplet(63, 0x07, 0), Triplet(2, 0x10, 'y')},
       "5:1 10/78; 0:2 10/79; "},
      {"termination ends the page's processing",
       {Triplet(42, 0x04, 0), Triplet(1, 0x11, 'a'), Triplet(63, 0x1F, 0), Triplet(2, 0x11, 'b')},
       "2:1 11/61; "},
      {"other row modes and Level 2.5 column modes place nothing",
       {Triplet(43, 0x04, 0), Triplet(44, 0x18, 0), Triplet(6, 0x00, 0x02), Triplet(7, 0x0C, 0), Triplet(8, 0x1F, 'z')},
       "3:8 1f/7a; "},
      {"0x10 with 0x2A is the commercial at", {Triplet(44, 0x04, 0), Triplet(12, 0x10, 0x2A)}, "4:12 10/40; "},
      {"data below 0x20 is no character", {Triplet(44, 0x04, 0), Triplet(12, 0x12, 0x05)}, ""},
      {"a rejected triplet ends it",
       {Triplet(46, 0x04, 0), Triplet(1, 0x10, 'a'), kTripletRejected, Triplet(2, 0x10, 'b')},
       "6:1 10/61; "},
  };
  for (const Case& c : cases) EXPECT_EQ(Describe(Placements(c.triplets)), c.placed) << c.what;

  // The second packet goes on where the first ended; a designation code out of order ends it.
  Triplets twoPackets(14, Triplet(47, 0x04, 0));
  twoPackets[12] = Triplet(1, 0x10, 'a');
  twoPackets[13] = Triplet(2, 0x10, 'b');
  EXPECT_EQ(Describe(Placements(twoPackets, {0, 1})), "7:1 10/61; 7:2 10/62; ");
  EXPECT_EQ(Describe(Placements(twoPackets, {1, 1})), "7:1 10/61; ");
  EXPECT_EQ(Describe(Placements(twoPackets, {2, 0})), "7:1 10/61; ");
}

// Data units of one transmission, as the demo stream's encoder writes them.
std::vector<std::uint8_t> Unit(unsigned magazine, unsigned packet, const std::uint8_t (&data)[40]) {
  std::vector<std::uint8_t> unit = {0x02, 0x2C, 0x07, 0xE4};
  const unsigned address = (magazine & 7) | (packet & 1) << 3;
  unit.push_back(testing::ReverseBits(detail::EncodeHamming84(address)));
  unit.push_back(testing::ReverseBits(detail::EncodeHamming84(packet >> 1)));
  for (std::uint8_t b : data) unit.push_back(b);
  return unit;
}

std::vector<std::uint8_t> Header(unsigned page) {
  std::uint8_t data[40];
  const unsigned nibbles[8] = {page % 10, (page / 10) % 10, 0, 0, 0, 0, 0, 0};
  for (unsigned i = 0; i < 8; ++i) data[i] = testing::ReverseBits(detail::EncodeHamming84(nibbles[i]));
  for (unsigned i = 8; i < 40; ++i) data[i] = testing::ReverseBits(' ');
  return Unit(1, 0, data);
}

std::vector<std::uint8_t> TextRow(unsigned row, const std::string& text) {
  std::uint8_t data[40];
  for (unsigned i = 0; i < 40; ++i) {
    const std::uint8_t c = i < text.size() ? static_cast<std::uint8_t>(text[i]) : ' ';
    data[i] = testing::ReverseBits(c);  // parity is not checked
  }
  return Unit(1, row, data);
}

std::vector<std::uint8_t> Packet26(std::uint8_t designation, const Triplets& triplets) {
  std::uint8_t data[40];
  data[0] = testing::ReverseBits(detail::EncodeHamming84(designation));
  for (unsigned t = 0; t < kTripletsPerPacket; ++t) {
    const auto bytes = EncodeHamming2418(t < triplets.size() ? triplets[t] : Triplet(40, 0x00, 0));
    for (unsigned b = 0; b < 3; ++b) data[1 + 3 * t + b] = bytes[b];
  }
  return Unit(1, 26, data);
}

void Feed(Reception& reception, const std::vector<std::vector<std::uint8_t>>& units) {
  for (const auto& unit : units) reception.Receive(unit.data(), static_cast<std::int32_t>(unit.size()));
}

const Triplets kAccents = {Triplet(41, 0x04, 0), Triplet(1, 0x12, 'E'), Triplet(2, 0x0F, 0x7B)};

TEST(Enhancements, TravelWithTheirPageAndItsNewTransmissions) {
  Reception reception;
  // X/26 alone after a header is no row: the header that follows hands nothing over.
  Feed(reception, {Header(0), Packet26(0, kAccents), Header(1)});
  EXPECT_EQ(reception.AllPages().GetPage(100, 0, gmFirst), nullptr);

  Feed(reception, {Header(0), TextRow(1, "xxx"), Packet26(0, kAccents), Header(1)});
  CVTPage* page = reception.AllPages().GetPage(100, 0, gmFirst);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(PageTextLines(*page, false)[1], "xÉß");

  CVTPage copy;
  copy.CopyFrom(page);
  EXPECT_EQ(PageTextLines(copy, false)[1], "xÉß") << "a copy shows the enhancements";

  // A new transmission without X/26 replaces them as it replaces the rows.
  Feed(reception, {Header(0), TextRow(1, "abc"), Header(1)});
  ASSERT_EQ(reception.AllPages().GetPage(100, 0, gmFirst), page);
  EXPECT_EQ(page->Enhancements, nullptr);
  EXPECT_EQ(PageTextLines(*page, false)[1], "abc");

  copy.CopyFrom(page);
  EXPECT_EQ(PageTextLines(copy, false)[1], "abc") << "nor does its copy keep the old ones";
}

void SetRaw(CVTPage& page, unsigned row, const std::vector<std::uint8_t>& bytes) {
  auto raw = NewRow();
  std::copy(bytes.begin(), bytes.end(), raw->begin());
  page.StoreRow(row, std::move(raw));
}

void Enhance(CVTPage& page, const Triplets& triplets) {
  std::array<std::uint32_t, kTripletsPerPacket> packet{};
  packet.fill(Triplet(40, 0x00, 0));
  std::copy(triplets.begin(), triplets.end(), packet.begin());
  page.StoreEnhancementPacket(0, packet);
}

// A placement shows its character in the cell's colours, as text even in a mosaic run, and
// leaves the effect of the spacing attribute it covers alone.
TEST(Enhancements, APlacedCharacterKeepsTheCellsAttributes) {
  CVTPage page;
  SetRaw(page, 1, {0x01, 'a', 'b', 0x14, 0x7F, 0x7F, 0x18, 'C'});
  SetRaw(page, 2, {0x0D, 'T', 'a', 'l', 'l'});
  SetRaw(page, 3, {'h', 'i', 'd', 'd', 'e', 'n'});
  const TVtCell before = GetDisplayCell(page, 1, 1);
  Enhance(page, {Triplet(41, 0x04, 0), Triplet(1, 0x13, 'a'), Triplet(4, 0x0F, 0x7B), Triplet(3, 0x10, 'Z'),
                 Triplet(6, 0x02, 0x25), Triplet(42, 0x04, 0), Triplet(2, 0x11, 'A'), Triplet(43, 0x04, 0),
                 Triplet(2, 0x10, 'X')});

  const TVtCell accent = GetDisplayCell(page, 1, 1);
  EXPECT_EQ(accent.FgColor, before.FgColor);
  EXPECT_EQ(accent.BgColor, before.BgColor);
  EXPECT_EQ(accent.Flags, before.Flags);
  const TVtCell inMosaicRun = GetDisplayCell(page, 4, 1);
  EXPECT_EQ(inMosaicRun.Mosaic, 0);
  EXPECT_EQ(inMosaicRun.FgColor, kTeletextColours[4]);
  EXPECT_EQ(GetDisplayCell(page, 5, 1).Mosaic, 1) << "the mosaic run goes on after it";
  // On the mosaic colour code at column 3: its cell shows Z, the mosaics after it stay blue.
  EXPECT_EQ(GetDisplayCell(page, 3, 1).Mosaic, 0);
  EXPECT_EQ(GetDisplayCell(page, 5, 1).FgColor, kTeletextColours[4]);
  // On the conceal code: the G3 character is hidden with the cell, as is the text after it.
  EXPECT_NE(GetDisplayCell(page, 6, 1).Flags & kConceal, 0);
  EXPECT_EQ(PageTextLines(page, false)[1], " âbZß█");
  EXPECT_EQ(PageTextLines(page, true)[1], " âbZß█◣C");
  // A double-height row takes the placement in its upper half; its lower half stays blank.
  EXPECT_NE(GetDisplayCell(page, 2, 2).Flags & kDoubleHeight, 0);
  EXPECT_EQ(PageTextLines(page, false)[2], " TÀll");
  EXPECT_EQ(PageTextLines(page, false)[3], "") << "row 3 is the lower half of row 2";
}

// The live header written into row 0 in place shows as written, without placements.
TEST(Enhancements, TheLiveHeaderCoversRowZerosPlacements) {
  CVTPage page;
  SetRaw(page, 0, std::vector<std::uint8_t>(40, 'e'));
  Enhance(page, {Triplet(2, 0x12, 'e'), Triplet(20, 0x12, 'e')});
  EXPECT_EQ(PageTextLines(page, false)[0], "eeé" + std::string(17, 'e') + "é" + std::string(19, 'e'));
  const std::vector<std::uint8_t> live(40, 'h');
  page.SetRow(0, live.data(), 8);
  EXPECT_EQ(PageTextLines(page, false)[0], "eeéeeeee" + std::string(32, 'h'));
}

}  // namespace
}  // namespace tolv
