// The page-file record: 968 bytes, little-endian, no framing between records.
#include <ostream>

#include "pages/Lop.h"

namespace tolv {
namespace {

// The file's character-set byte for a record's selector: the national option's three bits in
// transmission order (C12 in bit 1, C13 in bit 2, C14 in bit 3); unknown selectors read as the
// default, German.
char CharSetByte(std::int8_t charSet) {
  switch (charSet) {
    case 0: return 0x00;
    case 2: return 0x04;
    case 3: return 0x0C;
    case 4: return 0x02;
    case 5: return 0x0A;
    case 6: return 0x06;
    case 7: return 0x0E;
    default: return 0x08;  // 1 and every other value
  }
}

}  // namespace

void CVTPage::SaveToStream(std::ostream& out) const {
  char record[968];
  // Only the page units: the magazine digit is not part of the record.
  record[0] = static_cast<char>(Page);
  record[1] = 0;
  record[2] = static_cast<char>(Subcode & 0xFF);
  record[3] = static_cast<char>(Subcode >> 8);
  for (unsigned r = 0; r < kRows; ++r) {
    char* dest = record + 4 + kColumns * r;
    for (unsigned c = 0; c < kColumns; ++c) dest[c] = Rows[r] ? static_cast<char>((*Rows[r])[c]) : ' ';
  }
  record[964] = CharSetByte(CharSet);
  record[965] = 'V';
  record[966] = 'T';
  record[967] = '2';
  out.write(record, sizeof record);
}

}  // namespace tolv
