// What the host's PID filters deliver from a recording: the channels it offers, and for each PID
// the data callbacks in order, one PES data field each (a T42 file: one video field's 16 packets
// each), with the time of each from the start of the recording.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tools/recordings/Recording.h"

namespace tolv::hostsim {

// A T42 file has no PIDs: its one channel gets this one.
inline constexpr std::uint16_t kT42Pid = 0x0100;
inline constexpr std::size_t kT42PacketsPerField = 16;
inline constexpr std::int64_t kFieldMicroseconds = 20'000;
// Used for a PES without a time stamp, or whose stamp jumps backwards or by more than a second
// (a cut in the recording): one video frame on from the one before.
inline constexpr std::int64_t kFrameMicroseconds = 40'000;
inline constexpr std::int64_t kLargestStepMicroseconds = 1'000'000;

struct FeedCall {
  std::size_t Offset = 0;  // into Feed::Bytes
  std::int32_t Length = 0;
  std::int64_t AtMicroseconds = 0;  // since the first call
};

struct Feed {
  std::vector<std::uint8_t> Bytes;
  std::vector<FeedCall> Calls;
};

// The time of each call from the PES time stamps (90 kHz, 33 bits, wrapping): a stamped call
// comes as long after the last stamped one as their stamps say, other calls one frame after the
// call before; the first call is at 0, and no call comes before the one before it.
std::vector<std::int64_t> TimesOfStamps(std::span<const std::optional<std::uint64_t>> stamps);

Feed FeedOfTransportStream(std::span<const std::uint8_t> stream, std::uint16_t pid);
Feed FeedOfT42(std::span<const std::uint8_t> packets);

struct Channel {
  std::uint16_t Pid = 0;  // 0: a channel without teletext
  std::string Name;
};

// The recording's teletext PIDs as channels, then one without teletext; the first channel is the
// one tolvane would read (ChooseTeletextPid).
std::vector<Channel> ChannelsOf(std::span<const std::uint8_t> bytes, recordings::RecordingFormat format);

// Everything the host needs of one recording, read once at start.
class RecordingFeeds {
 public:
  RecordingFeeds(std::vector<std::uint8_t> bytes, recordings::RecordingFormat format);

  const std::vector<Channel>& Channels() const { return channels_; }
  // The calls for pid: empty for a PID that carries nothing. Made on first use and kept where it
  // is (data threads read it while later feeds are made).
  const Feed& FeedOf(std::uint16_t pid);

 private:
  std::vector<std::uint8_t> bytes_;
  recordings::RecordingFormat format_;
  std::vector<Channel> channels_;
  std::map<std::uint16_t, Feed> feeds_;
};

}  // namespace tolv::hostsim
