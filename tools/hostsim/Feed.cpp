#include "tools/hostsim/Feed.h"

#include <algorithm>
#include <cstdio>

#include "tools/recordings/T42Reader.h"
#include "tools/recordings/TeletextPid.h"
#include "tools/recordings/TsReader.h"

namespace tolv::hostsim {
namespace {

constexpr std::uint64_t kStampModulus = std::uint64_t{1} << 33;
constexpr std::int64_t kStampsPerSecond = 90'000;

std::string ChannelName(std::size_t number, std::uint16_t pid) {
  char name[48];
  std::snprintf(name, sizeof name, "Channel %zu (PID 0x%04X)", number, pid);
  return name;
}

}  // namespace

std::vector<std::int64_t> TimesOfStamps(std::span<const std::optional<std::uint64_t>> stamps) {
  std::vector<std::int64_t> times;
  times.reserve(stamps.size());
  std::optional<std::uint64_t> lastStamp;
  std::int64_t lastStampTime = 0;
  for (const std::optional<std::uint64_t>& stamp : stamps) {
    std::int64_t now = 0;
    if (!times.empty()) {
      now = times.back() + kFrameMicroseconds;
      if (stamp && lastStamp) {
        const std::uint64_t ticks = (*stamp - *lastStamp) % kStampModulus;  // a wrap counts forwards
        const auto micros = static_cast<std::int64_t>(ticks * 1'000'000 / kStampsPerSecond);
        if (micros <= kLargestStepMicroseconds) now = std::max(times.back(), lastStampTime + micros);
      }
    }
    if (stamp) {
      lastStamp = *stamp % kStampModulus;
      lastStampTime = now;
    }
    times.push_back(now);
  }
  return times;
}

Feed FeedOfTransportStream(std::span<const std::uint8_t> stream, std::uint16_t pid) {
  Feed feed;
  std::vector<std::optional<std::uint64_t>> stamps;
  recordings::ReadTransportStreamTimed(
      stream, pid, [&](const std::uint8_t* data, std::int32_t length, std::optional<std::uint64_t> pts) {
        feed.Calls.push_back({feed.Bytes.size(), length, 0});
        feed.Bytes.insert(feed.Bytes.end(), data, data + length);
        stamps.push_back(pts);
      });
  const std::vector<std::int64_t> times = TimesOfStamps(stamps);
  for (std::size_t i = 0; i < times.size(); ++i) feed.Calls[i].AtMicroseconds = times[i];
  return feed;
}

Feed FeedOfT42(std::span<const std::uint8_t> packets) {
  Feed feed;
  recordings::ReadT42(
      packets,
      [&](const std::uint8_t* data, std::int32_t length) {
        const auto at = static_cast<std::int64_t>(feed.Calls.size()) * kFieldMicroseconds;
        feed.Calls.push_back({feed.Bytes.size(), length, at});
        feed.Bytes.insert(feed.Bytes.end(), data, data + length);
      },
      kT42PacketsPerField);
  return feed;
}

std::vector<Channel> ChannelsOf(std::span<const std::uint8_t> bytes, recordings::RecordingFormat format) {
  std::vector<std::uint16_t> pids;
  if (format == recordings::RecordingFormat::kT42) {
    pids.push_back(kT42Pid);
  } else {
    pids = recordings::TeletextPids(bytes);
    // The PID tolvane reads comes first: it is the channel the host starts on.
    if (const std::optional<std::uint16_t> chosen = recordings::ChooseTeletextPid(bytes)) {
      std::erase(pids, *chosen);
      pids.insert(pids.begin(), *chosen);
    }
  }
  std::vector<Channel> channels;
  channels.reserve(pids.size() + 1);
  for (const std::uint16_t pid : pids) channels.push_back({pid, ChannelName(channels.size() + 1, pid)});
  channels.push_back({0, "Channel without teletext (PID 0)"});
  return channels;
}

RecordingFeeds::RecordingFeeds(std::vector<std::uint8_t> bytes, recordings::RecordingFormat format)
    : bytes_(std::move(bytes)), format_(format), channels_(ChannelsOf(bytes_, format_)) {}

const Feed& RecordingFeeds::FeedOf(std::uint16_t pid) {
  const auto found = feeds_.find(pid);
  if (found != feeds_.end()) return found->second;
  Feed feed;
  if (format_ == recordings::RecordingFormat::kT42) {
    if (pid == kT42Pid) feed = FeedOfT42(bytes_);
  } else if (pid != 0) {
    feed = FeedOfTransportStream(bytes_, pid);
  }
  return feeds_.emplace(pid, std::move(feed)).first->second;
}

}  // namespace tolv::hostsim
