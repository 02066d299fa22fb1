#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/recordings/Recording.h"
#include "tools/recordings/T42Reader.h"

namespace tolv::recordings {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint8_t Reversed(std::uint8_t b) {
  std::uint8_t r = 0;
  for (int bit = 0; bit < 8; ++bit) r = static_cast<std::uint8_t>(r | ((b >> bit) & 1) << (7 - bit));
  return r;
}

// n packets whose bytes differ from packet to packet and position to position.
Bytes T42Packets(std::size_t n) {
  Bytes packets;
  for (std::size_t p = 0; p < n; ++p) {
    for (std::size_t i = 0; i < kT42PacketSize; ++i) packets.push_back(static_cast<std::uint8_t>(p * 7 + i * 13));
  }
  return packets;
}

std::vector<Bytes> ReadBatches(const Bytes& input, std::size_t unitsPerBatch) {
  std::vector<Bytes> batches;
  ReadT42(
      input, [&](const std::uint8_t* data, std::int32_t length) { batches.emplace_back(data, data + length); },
      unitsPerBatch);
  return batches;
}

// Every whole packet becomes a unit 0x02 0x2C 0x00 0xE4 + its 42 bytes bit-reversed, in order,
// batch after batch; a trailing partial packet is ignored.
TEST(T42Reader, WrapsEveryPacketInTransmissionOrder) {
  struct Case {
    std::size_t packets, extraBytes, unitsPerBatch, batches, lastBatchUnits;
  };
  const Case cases[] = {
      {0, 0, 32, 0, 0}, {1, 0, 32, 1, 1}, {32, 41, 32, 1, 32}, {33, 0, 32, 2, 1}, {100, 1, 7, 15, 2}, {5, 20, 1, 5, 1},
  };
  for (const Case& c : cases) {
    Bytes input = T42Packets(c.packets);
    input.resize(input.size() + c.extraBytes, 0x55);
    const std::vector<Bytes> batches = ReadBatches(input, c.unitsPerBatch);
    ASSERT_EQ(batches.size(), c.batches) << c.packets << " packets by " << c.unitsPerBatch;
    if (c.batches > 0) {
      EXPECT_EQ(batches.back().size(), 46 * c.lastBatchUnits);
    }
    Bytes joined;
    for (const Bytes& b : batches) joined.insert(joined.end(), b.begin(), b.end());
    ASSERT_EQ(joined.size(), 46 * c.packets);
    for (std::size_t p = 0; p < c.packets; ++p) {
      EXPECT_EQ(Bytes(joined.begin() + 46 * p, joined.begin() + 46 * p + 4), (Bytes{0x02, 0x2C, 0x00, 0xE4}));
      for (std::size_t i = 0; i < kT42PacketSize; ++i) {
        ASSERT_EQ(joined[46 * p + 4 + i], Reversed(input[kT42PacketSize * p + i])) << "packet " << p << " byte " << i;
      }
    }
  }
}

TEST(RecordingFormat, TellsT42FromItsNameInAnyCase) {
  struct Case {
    const char* name;
    RecordingFormat format;
  };
  const Case cases[] = {
      {"a.t42", RecordingFormat::kT42},
      {"A.T42", RecordingFormat::kT42},
      {"dir.ts/b.T42", RecordingFormat::kT42},
      {".t42", RecordingFormat::kT42},
      {"a.ts", RecordingFormat::kTransportStream},
      {"a.t42.ts", RecordingFormat::kTransportStream},
      {"t42", RecordingFormat::kTransportStream},
      {"-", RecordingFormat::kTransportStream},
      {"a.t4", RecordingFormat::kTransportStream},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatOfInputName(c.name), c.format) << c.name;
}

// A regular file is mapped, standard input and an empty file are read: each way the bytes are
// the input's, to view or to take, and what cannot be read is an error naming it.
TEST(ReadWholeInput, GivesTheInputsBytesHoweverItIsRead) {
  const std::string dir = ::testing::TempDir() + "read_whole_input_test";
  std::filesystem::create_directories(dir);
  const Bytes content = T42Packets(1000);
  const std::string full = dir + "/full.t42", empty = dir + "/empty.ts";
  std::ofstream(full, std::ios::binary)
      .write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
  std::ofstream(empty, std::ios::binary).close();
  std::istringstream noInput, standardInput(std::string(content.begin(), content.end()));

  InputBytes mapped = ReadWholeInput(full, noInput);
  EXPECT_EQ(mapped.Error, "");
  EXPECT_EQ(Bytes(mapped.View().begin(), mapped.View().end()), content);
  EXPECT_EQ(std::move(mapped).TakeBytes(), content);
  InputBytes piped = ReadWholeInput("-", standardInput);
  EXPECT_EQ(piped.Error, "");
  EXPECT_EQ(Bytes(piped.View().begin(), piped.View().end()), content);
  EXPECT_EQ(std::move(piped).TakeBytes(), content);
  const InputBytes nothing = ReadWholeInput(empty, noInput);
  EXPECT_EQ(nothing.Error, "");
  EXPECT_TRUE(nothing.View().empty());
  // A directory opens on Linux and fails on the read; Windows refuses to open it.
  const std::string directory = ReadWholeInput(dir, noInput).Error;
  EXPECT_TRUE(directory.starts_with("cannot read '" + dir + "'") || directory.starts_with("cannot open '" + dir + "'"))
      << directory;
  EXPECT_EQ(ReadWholeInput(dir + "/missing.ts", noInput).Error.rfind("cannot open '" + dir + "/missing.ts'", 0), 0u);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tolv::recordings
