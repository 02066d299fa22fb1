#include "decoder/Vt_fkt.h"

#include <gtest/gtest.h>

#include <bit>

#include "pages/Header.h"
#include "tools/demostream/TeletextEncoder.h"

namespace tolv {
namespace {

using encode::kHammingCodes;
using encode::Reverse;

TEST(Tables, ReverseTableMirrorsEveryByte) {
  for (unsigned b = 0; b < 256; ++b) {
    EXPECT_EQ(ReverseTable[b], Reverse(static_cast<std::uint8_t>(b))) << b;
    EXPECT_EQ(ReverseTable[ReverseTable[b]], b);
  }
}

TEST(Tables, HammingCorrectsEverySingleBitErrorAndMarksTheRest) {
  for (unsigned b = 0; b < 256; ++b) {
    int nearestDistance = 9;
    unsigned nearestValue = 0;
    for (unsigned v = 0; v < 16; ++v) {
      const int distance = std::popcount(b ^ kHammingCodes[v]);
      if (distance < nearestDistance) {
        nearestDistance = distance;
        nearestValue = v;
      }
    }
    const unsigned expected = nearestDistance <= 1 ? nearestValue : 255;
    EXPECT_EQ(HammingTable[b], expected) << "byte " << b;
  }
  int marked = 0;
  for (unsigned b = 0; b < 256; ++b) marked += HammingTable[b] == 255;
  EXPECT_EQ(marked, 112);
}

TEST(Tables, TextBytesIgnoreParity) {
  for (unsigned ch = 0; ch < 128; ++ch) {
    const auto c = static_cast<std::uint8_t>(ch);
    const std::uint8_t good = encode::WireText(c);
    // The parity bit is the last one sent, so on the wire it is bit 0.
    EXPECT_EQ(TextTable[good], ch);
    EXPECT_EQ(TextTable[good ^ 0x01], ch);
  }
  EXPECT_EQ(TextTable[0x04], 0x20);
}

struct UnitCase {
  const char* name;
  std::uint8_t b0, b1, b2, b3;
  bool accepted;
};

TEST(DataUnit, AcceptanceTests) {
  const UnitCase cases[] = {
      {"non-subtitle", 0x02, 0x2C, 0x0A, 0xE4, true},
      {"subtitle", 0x03, 0x2C, 0x0A, 0xE4, true},
      {"stuffing", 0xFF, 0x2C, 0x0A, 0xE4, false},
      {"other id", 0x2C, 0x2C, 0x0A, 0xE4, false},
      {"length", 0x02, 0x2B, 0x0A, 0xE4, false},
      {"line offset 0", 0x02, 0x2C, 0x00, 0xE4, true},
      {"line offset 6", 0x02, 0x2C, 0x06, 0xE4, false},
      {"line offset 7", 0x02, 0x2C, 0x07, 0xE4, true},
      {"line offset 22", 0x02, 0x2C, 0x16, 0xE4, true},
      {"line offset 23", 0x02, 0x2C, 0x17, 0xE4, false},
      {"field bits ignored", 0x02, 0x2C, 0xE7, 0xE4, true},
      {"field bits ignored, offset 6", 0x02, 0x2C, 0xE6, 0xE4, false},
      {"framing code", 0x02, 0x2C, 0x0A, 0x27, false},
  };
  for (const UnitCase& c : cases) {
    const std::uint8_t unit[4] = {c.b0, c.b1, c.b2, c.b3};
    EXPECT_EQ(AcceptDataUnit(unit), c.accepted) << c.name;
  }
}

TEST(DataUnit, AddressOfEveryMagazineAndPacket) {
  for (unsigned magazine = 1; magazine <= 8; ++magazine) {
    for (unsigned packet = 0; packet < 32; ++packet) {
      const encode::Unit u = encode::MakeUnit(magazine, packet, {});
      std::uint8_t m = 99, p = 99;
      ASSERT_TRUE(DecodeAddress(&u[4], m, p));
      EXPECT_EQ(m, magazine % 8);  // magazine 8 reads as 0
      EXPECT_EQ(p, packet);
    }
  }
}

TEST(DataUnit, AddressSurvivesOneFlippedBitButNotTwo) {
  const encode::Unit u = encode::MakeUnit(3, 17, {});
  for (int byte = 4; byte <= 5; ++byte) {
    for (int bit = 0; bit < 8; ++bit) {
      std::uint8_t bytes[2] = {u[4], u[5]};
      bytes[byte - 4] ^= static_cast<std::uint8_t>(1 << bit);
      std::uint8_t m = 0, p = 0;
      ASSERT_TRUE(DecodeAddress(bytes, m, p));
      EXPECT_EQ(m, 3);
      EXPECT_EQ(p, 17);
      bytes[byte - 4] ^= static_cast<std::uint8_t>(1 << ((bit + 1) % 8));
      m = 42;
      p = 43;
      EXPECT_FALSE(DecodeAddress(bytes, m, p));
      EXPECT_EQ(m, 42);  // outputs untouched on failure
      EXPECT_EQ(p, 43);
    }
  }
}

TEST(Header, DecodesEveryField) {
  encode::HeaderFields f;
  f.pageTens = 4;
  f.pageUnits = 2;
  f.s1 = 9;
  f.s2 = 7;
  f.s3 = 9;
  f.s4 = 3;
  f.c4 = true;
  f.c7to10 = 0b1010;  // C8 and C10
  f.c11 = true;
  f.national = 5;
  const auto data = encode::HeaderData(f, "");
  std::uint8_t pageByte = 0, control = 0, national = 0;
  std::uint16_t subcode = 0;
  ASSERT_TRUE(DecodeHeader(data.data(), pageByte, subcode, control, national));
  EXPECT_EQ(pageByte, 0x42);
  EXPECT_EQ(subcode, 0x3979);
  EXPECT_EQ(BcdToSubcode(subcode), 3979);  // the largest subcode there is
  EXPECT_EQ(control, kErasePage | kUpdateIndicator | kInhibitDisplay | kMagazineSerial);
  EXPECT_EQ(national, 5);
}

TEST(Header, NationalOptionReadsC12First) {
  for (unsigned option = 0; option < 8; ++option) {
    encode::HeaderFields f;
    f.national = option;
    const auto data = encode::HeaderData(f, "");
    std::uint8_t pageByte, control, national = 99;
    std::uint16_t subcode;
    ASSERT_TRUE(DecodeHeader(data.data(), pageByte, subcode, control, national));
    EXPECT_EQ(national, option);
  }
}

TEST(Header, NewsflashAndSubtitleBitsLeaveTheSubcodeAlone) {
  encode::HeaderFields plain;
  plain.s1 = 5;
  plain.s4 = 2;
  encode::HeaderFields flagged = plain;
  flagged.c5 = flagged.c6 = true;
  std::uint8_t pb, c1, c2, n;
  std::uint16_t sub1 = 0, sub2 = 0;
  ASSERT_TRUE(DecodeHeader(encode::HeaderData(plain, "").data(), pb, sub1, c1, n));
  ASSERT_TRUE(DecodeHeader(encode::HeaderData(flagged, "").data(), pb, sub2, c2, n));
  EXPECT_EQ(sub1, sub2);
  EXPECT_EQ(c1, 0);
  EXPECT_EQ(c2, kNewsflash | kSubtitle);
}

TEST(Header, AnUncorrectableByteFailsTheWholeHeaderAndLeavesOutputs) {
  for (int broken = 0; broken < 8; ++broken) {
    auto data = encode::HeaderData({}, "");
    data[broken] ^= 0x03;  // two bits: beyond correction
    std::uint8_t pageByte = 1, control = 2, national = 3;
    std::uint16_t subcode = 4;
    EXPECT_FALSE(DecodeHeader(data.data(), pageByte, subcode, control, national)) << broken;
    EXPECT_EQ(pageByte, 1);
    EXPECT_EQ(subcode, 4);
    EXPECT_EQ(control, 2);
    EXPECT_EQ(national, 3);
  }
}

TEST(Bcd, PageNumbers) {
  const std::pair<std::uint8_t, std::uint16_t> cases[] = {
      {0x00, 0}, {0x09, 9}, {0x10, 10}, {0x99, 99}, {0x0A, 0xFFFF}, {0xA0, 0xFFFF}, {0xF5, 0xFFFF}, {0xFF, 0xFFFF}};
  for (auto [in, out] : cases) EXPECT_EQ(BcdToPage(in), out) << int(in);
}

TEST(Bcd, Subcodes) {
  const std::pair<std::uint16_t, std::uint16_t> cases[] = {
      {0x0000, 0},      {0x0001, 1},      {0x0015, 15},     {0x3979, 3979},   {0x9999, 9999},
      {0x000A, 0xFFFF}, {0x0A00, 0xFFFF}, {0x00F0, 0xFFFF}, {0xA000, 0xFFFF}, {0x3F7F, 0xFFFF}};
  for (auto [in, out] : cases) EXPECT_EQ(BcdToSubcode(in), out) << in;
}

TEST(Rows, HeaderRowKeepsItsFirstEightColumnsBlank) {
  std::array<std::uint8_t, 40> data;
  for (int i = 0; i < 40; ++i) data[i] = encode::WireText(static_cast<std::uint8_t>('A' + i % 26));
  std::uint8_t header[40], row[40];
  ConvertRow(data.data(), 0, header);
  ConvertRow(data.data(), 5, row);
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(header[i], i < 8 ? ' ' : 'A' + i % 26) << i;
    EXPECT_EQ(row[i], 'A' + i % 26) << i;
  }
}

// Every byte value in every column converts as the table says, parity bit and all.
TEST(Rows, EveryByteInEveryColumnConvertsByTheTextTable) {
  for (unsigned shift = 0; shift < 256; ++shift) {
    std::uint8_t data[40], row[40];
    for (unsigned i = 0; i < 40; ++i) data[i] = static_cast<std::uint8_t>(shift + i);
    ConvertRow(data, 7, row);
    for (unsigned i = 0; i < 40; ++i)
      ASSERT_EQ(row[i], TextTable[data[i]]) << "byte " << int(data[i]) << " column " << i;
  }
}

}  // namespace
}  // namespace tolv
