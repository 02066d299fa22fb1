// Feeds the sample recordings through the reception core, for tests and benchmarks of what
// comes after it. Deliberately small: a T42 file's packets wrapped as data units, and a
// transport stream's PES packets of one known PID.
#pragma once

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "decoder/StoreOnlyTarget.h"

namespace tolv::testing {

inline std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline std::uint8_t ReverseBits(std::uint8_t b) {
  b = static_cast<std::uint8_t>((b & 0xF0) >> 4 | (b & 0x0F) << 4);
  b = static_cast<std::uint8_t>((b & 0xCC) >> 2 | (b & 0x33) << 2);
  return static_cast<std::uint8_t>((b & 0xAA) >> 1 | (b & 0x55) << 1);
}

// Each 42-byte packet becomes the data unit 0x02 0x2C, 0x00, 0xE4 and the packet bit-reversed.
// Returns false when the file is missing or empty.
inline bool FeedT42(const std::string& path, Reception& reception) {
  const std::vector<std::uint8_t> file = ReadFileBytes(path);
  std::vector<std::uint8_t> units;
  for (std::size_t at = 0; at + 42 <= file.size(); at += 42) {
    units.insert(units.end(), {0x02, 0x2C, 0x00, 0xE4});
    for (std::size_t i = 0; i < 42; ++i) units.push_back(ReverseBits(file[at + i]));
  }
  for (std::size_t at = 0; at < units.size(); at += 46 * 64) {
    const std::size_t length = std::min<std::size_t>(46 * 64, units.size() - at);
    reception.Receive(units.data() + at, static_cast<std::int32_t>(length));
  }
  return !units.empty();
}

// The data units of every PES packet on pid (after its data_identifier byte), one callback each.
inline bool FeedTransportStream(const std::string& path, unsigned pid, Reception& reception) {
  const std::vector<std::uint8_t> file = ReadFileBytes(path);
  std::vector<std::uint8_t> pes;
  auto deliver = [&] {
    if (pes.size() > 9 && pes[0] == 0 && pes[1] == 0 && pes[2] == 1 && 9u + pes[8] + 1 < pes.size()) {
      const std::size_t start = 9u + pes[8] + 1;
      reception.Receive(pes.data() + start, static_cast<std::int32_t>(pes.size() - start));
    }
    pes.clear();
  };
  bool any = false;
  for (std::size_t at = 0; at + 188 <= file.size(); at += 188) {
    const std::uint8_t* packet = file.data() + at;
    if (packet[0] != 0x47 || (((packet[1] & 0x1F) << 8) | packet[2]) != pid) continue;
    std::size_t payload = 4;
    const unsigned adaptation = (packet[3] >> 4) & 3;
    if (adaptation == 2) continue;
    if (adaptation == 3) payload += 1u + packet[4];
    if (payload >= 188) continue;
    if (packet[1] & 0x40) deliver();
    pes.insert(pes.end(), packet + payload, packet + 188);
    any = true;
  }
  deliver();
  return any;
}

}  // namespace tolv::testing
