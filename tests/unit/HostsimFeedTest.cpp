#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "tests/unit/TsBuilder.h"
#include "tools/hostsim/Feed.h"
#include "tools/recordings/T42Reader.h"

namespace tolv::hostsim {
namespace {

using testing::Append;
using testing::Bytes;
using testing::DataUnits;
using testing::Packetize;
using testing::PesOf;
using Stamps = std::vector<std::optional<std::uint64_t>>;
using Times = std::vector<std::int64_t>;

constexpr std::uint64_t kWrap = std::uint64_t{1} << 33;

TEST(HostsimFeed, TimesFollowTheStampsAndBridgeWhatTheyCannotTell) {
  struct Case {
    const char* name;
    Stamps stamps;
    Times times;
  };
  const Case cases[] = {
      {"nothing", {}, {}},
      {"steady 100 ms", {0, 9000, 18000}, {0, 100'000, 200'000}},
      {"same stamp, same time", {5, 5, 5}, {0, 0, 0}},
      {"the stamp wraps at 33 bits", {kWrap - 900, 900}, {0, 20'000}},
      {"no stamp: a frame on, later stamps count from the last one", {0, std::nullopt, 9000}, {0, 40'000, 100'000}},
      {"no stamp first", {std::nullopt, 0, 4500}, {0, 40'000, 90'000}},
      {"backwards: a frame on", {90'000, 0, 4500}, {0, 40'000, 90'000}},
      {"exactly a second is a step", {0, 90'000}, {0, 1'000'000}},
      {"more than a second is a cut", {0, 90'009}, {0, 40'000}},
      {"never before the call before", {0, std::nullopt, std::nullopt, 900}, {0, 40'000, 80'000, 80'000}},
  };
  for (const Case& c : cases) EXPECT_EQ(TimesOfStamps(c.stamps), c.times) << c.name;
}

// A transport stream's calls are its PES data fields in order, timed by their stamps.
TEST(HostsimFeed, TransportStreamCallsAreWholePesDataFieldsAtTheirTimes) {
  constexpr std::uint16_t kPid = 0x0123;
  Bytes stream;
  std::uint8_t counter = 0;
  std::vector<Bytes> fields;
  for (unsigned i = 0; i < 4; ++i) {
    fields.push_back(DataUnits(i + 1, static_cast<std::uint8_t>(i)));
    Append(stream, Packetize(kPid, PesOf(fields.back(), {.pts = 1000 + i * 3600}), counter));
  }
  const Feed feed = FeedOfTransportStream(stream, kPid);
  ASSERT_EQ(feed.Calls.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    const FeedCall& call = feed.Calls[i];
    EXPECT_EQ(Bytes(feed.Bytes.begin() + static_cast<long>(call.Offset),
                    feed.Bytes.begin() + static_cast<long>(call.Offset + call.Length)),
              fields[i]);
    EXPECT_EQ(call.AtMicroseconds, static_cast<std::int64_t>(i) * 40'000);
  }
  EXPECT_TRUE(FeedOfTransportStream(stream, kPid + 1).Calls.empty());
}

// T42: 16 packets a video field, 20 ms apart; the last call holds what is left.
TEST(HostsimFeed, T42CallsAreFieldsOfSixteenPackets) {
  Bytes packets(40 * recordings::kT42PacketSize);
  for (std::size_t i = 0; i < packets.size(); ++i) packets[i] = static_cast<std::uint8_t>(i * 31);
  const Feed feed = FeedOfT42(packets);
  ASSERT_EQ(feed.Calls.size(), 3u);
  const std::int32_t units[] = {16, 16, 8};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(feed.Calls[i].Length, units[i] * 46);
    EXPECT_EQ(feed.Calls[i].AtMicroseconds, static_cast<std::int64_t>(i) * 20'000);
  }
  // Unit 17 (the second call's first) wraps packet 17.
  std::uint8_t unit[46];
  recordings::WrapT42Packet(packets.data() + 16 * recordings::kT42PacketSize, unit);
  EXPECT_TRUE(std::equal(unit, unit + 46, feed.Bytes.begin() + static_cast<long>(feed.Calls[1].Offset)));
}

// A PMT marks 0x250 as teletext; PES of teletext come on 0x20.
Bytes MarkedAndUnmarkedTeletext() {
  Bytes stream = testing::PsiPacketOf(0, 0, testing::PatOf({0x100}));
  Append(stream, testing::PsiPacketOf(0x100, 0, testing::PmtOf(1, {{0x250, 0x06, testing::kTeletextDescriptor}})));
  std::uint8_t counter = 0;
  Append(stream, Packetize(0x20, PesOf(DataUnits(1)), counter));
  return stream;
}

TEST(HostsimFeed, ChannelsAreTheTeletextPidsChosenFirstThenOneWithout) {
  using recordings::RecordingFormat;
  const Bytes stream = MarkedAndUnmarkedTeletext();
  struct Case {
    const char* name;
    Bytes bytes;
    RecordingFormat format;
    std::vector<std::uint16_t> pids;
  };
  const Case cases[] = {
      {"the PMT's PID first, then the lower one with PES", stream, RecordingFormat::kTransportStream, {0x250, 0x20, 0}},
      {"a T42 file has one channel", Bytes(42), RecordingFormat::kT42, {kT42Pid, 0}},
      {"no recording", {}, RecordingFormat::kTransportStream, {0}},
  };
  for (const Case& c : cases) {
    std::vector<std::uint16_t> pids;
    for (const Channel& channel : ChannelsOf(c.bytes, c.format)) pids.push_back(channel.Pid);
    EXPECT_EQ(pids, c.pids) << c.name;
  }
}

// A data thread keeps the feed it was given while the host makes feeds for other PIDs.
TEST(HostsimFeed, AFeedStaysWhereItIsWhileOthersAreMade) {
  Bytes stream;
  std::uint8_t counter = 0;
  for (std::uint16_t pid = 0x30; pid < 0x40; ++pid) Append(stream, Packetize(pid, PesOf(DataUnits(1)), counter));
  RecordingFeeds feeds(stream, recordings::RecordingFormat::kTransportStream);
  const Feed& first = feeds.FeedOf(0x30);
  const std::uint8_t* bytes = first.Bytes.data();
  for (std::uint16_t pid = 0x31; pid < 0x40; ++pid) EXPECT_EQ(feeds.FeedOf(pid).Calls.size(), 1u);
  EXPECT_EQ(&feeds.FeedOf(0x30), &first);
  EXPECT_EQ(first.Bytes.data(), bytes);
  EXPECT_TRUE(feeds.FeedOf(0).Calls.empty());
}

}  // namespace
}  // namespace tolv::hostsim
