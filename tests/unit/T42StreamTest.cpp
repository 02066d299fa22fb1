// A T42 recording wrapped into a transport stream by demostream --wrap-t42, read back.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "decoder/StoreOnlyTarget.h"
#include "tests/unit/SamplePaths.h"
#include "tools/demostream/T42Stream.h"
#include "tools/demostream/TeletextEncoder.h"
#include "tools/recordings/Recording.h"
#include "tools/recordings/TeletextPid.h"
#include "tools/recordings/TsReader.h"

namespace tolv::demo {
namespace {

using recordings::RecordingFormat;

struct Unit46 {
  std::vector<std::uint8_t> bytes;
  std::optional<std::uint64_t> pts;
};

// Every data unit of the stream as the reader hands it on, with its PES's time stamp.
std::vector<Unit46> ReadUnits(const std::vector<std::uint8_t>& stream) {
  std::vector<Unit46> units;
  const auto pid = recordings::ChooseTeletextPid(stream);
  EXPECT_EQ(pid, TeletextService{}.teletextPid);
  if (!pid) return units;
  recordings::ReadTransportStreamTimed(
      stream, *pid, [&](const std::uint8_t* data, std::int32_t length, std::optional<std::uint64_t> pts) {
        for (std::int32_t o = 0; o + 46 <= length; o += 46) units.push_back({{data + o, data + o + 46}, pts});
      });
  return units;
}

TEST(T42Stream, SendsEachPacketOnTheLinesOfAlternateFields) {
  constexpr std::size_t kPackets = 40;               // one frame of two fields of 16 lines, then 8 more lines
  std::vector<std::uint8_t> t42(kPackets * 42 + 5);  // the trailing partial packet is left out
  for (std::size_t i = 0; i < t42.size(); ++i) t42[i] = static_cast<std::uint8_t>(i * 7 + 1);
  const std::vector<Unit46> units = ReadUnits(WrapT42(t42));

  std::vector<Unit46> teletext;
  for (const Unit46& u : units)
    if (u.bytes[0] != 0xFF) teletext.push_back(u);
  ASSERT_EQ(teletext.size(), kPackets);
  for (std::size_t i = 0; i < kPackets; ++i) {
    SCOPED_TRACE(i);
    const std::vector<std::uint8_t>& u = teletext[i].bytes;
    EXPECT_EQ(u[0], 0x02);
    EXPECT_EQ(u[1], 0x2C);
    const bool firstField = i % 32 < 16;
    EXPECT_EQ(u[2], 0xC0 | (firstField ? 0x20 : 0x00) | (7 + i % 16));
    EXPECT_EQ(u[3], 0xE4);
    for (std::size_t b = 0; b < 42; ++b) ASSERT_EQ(u[4 + b], encode::Reverse(t42[i * 42 + b])) << b;
    ASSERT_TRUE(teletext[i].pts);
    EXPECT_EQ(*teletext[i].pts, 90000u + i / 32 * 3600) << "one PES per 40 ms frame";
  }
}

// More lines a field than 7..22 are not asked for: a receiver refuses the units of other lines.
TEST(T42Stream, UsesNoLineBeyondTwentyTwo) {
  std::vector<std::uint8_t> t42(64 * 42, 0x15);
  const std::vector<Unit46> units = ReadUnits(WrapT42(t42, {}, {.linesPerField = 25, .fieldsPerPes = 1}));
  std::size_t teletext = 0;
  for (const Unit46& u : units) {
    if (u.bytes[0] == 0xFF) continue;
    ++teletext;
    const unsigned line = u.bytes[2] & 0x1Fu;
    EXPECT_TRUE(line >= 7 && line <= 22) << line;
  }
  EXPECT_EQ(teletext, 64u);
}

std::string PageFile(std::span<const std::uint8_t> bytes, RecordingFormat format) {
  auto reception = std::make_unique<Reception>();
  recordings::ReadRecording(bytes, format, std::nullopt,
                            [&](const std::uint8_t* data, std::int32_t length) { reception->Receive(data, length); });
  std::ostringstream out;
  reception->AllPages().SaveAll(out);
  return out.str();
}

// The BBC recording read as a T42 file and as the transport stream made of it stores the same
// pages and subpages, byte for byte.
TEST(T42Stream, BbcRecordingGivesTheSamePageFileAsTheT42File) {
  const std::string path = testing::SamplePath(testing::kBbc);
  std::istringstream noStandardInput;
  const recordings::InputBytes t42 = recordings::ReadWholeInput(path, noStandardInput);
  ASSERT_EQ(t42.Error, "") << "the recording must be at " << path;

  const std::vector<std::uint8_t> stream = WrapT42(t42.View());
  ASSERT_EQ(stream.size() % 188, 0u);
  const std::string direct = PageFile(t42.View(), RecordingFormat::kT42);
  const std::string wrapped = PageFile(stream, RecordingFormat::kTransportStream);
  ASSERT_EQ(direct.size(), 945u * 968u) << "the BBC recording stores 945 subpages";
  EXPECT_EQ(wrapped.size(), direct.size());
  EXPECT_TRUE(wrapped == direct) << "the page files differ";
}

}  // namespace
}  // namespace tolv::demo
