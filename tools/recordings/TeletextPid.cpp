#include "tools/recordings/TeletextPid.h"

#include <algorithm>

#include "tools/recordings/PesLayout.h"

namespace tolv::recordings {
namespace {

template <std::size_t N>
std::optional<std::uint16_t> Lowest(const std::bitset<N>& pids) {
  if (pids.none()) return std::nullopt;
  std::size_t pid = 0;
  while (!pids.test(pid)) ++pid;
  return static_cast<std::uint16_t>(pid);
}

}  // namespace

TeletextPidSurvey::TeletextPidSurvey()
    : pat_([this](std::span<const std::uint8_t> section) {
        ProgramMapPids(section, [this](std::uint16_t pid) {
          if (programMapPids_.test(pid)) return;
          programMapPids_.set(pid);
          ++changes_;
        });
      }) {}

TeletextPidSurvey::~TeletextPidSurvey() = default;

void TeletextPidSurvey::FeedAny(const TsPacket& packet) {
  if (!packet.TransportError && packet.PayloadUnitStart && !carrying_.test(packet.Pid) &&
      TeletextDataFieldOffset(packet.Payload)) {
    carrying_.set(packet.Pid);
    ++changes_;
  }
  if (packet.Pid == kPatPid) pat_.Feed(packet);
  // A PID that carries teletext PES is no program map's: its packets are not read as sections.
  if (carrying_.test(packet.Pid)) return;
  std::unique_ptr<SectionCollector>& sections = sections_[packet.Pid];
  if (!sections) {
    // Only program map sections can mark a PID: others are passed over without a copy.
    sections = std::make_unique<SectionCollector>(
        [this, pid = packet.Pid](std::span<const std::uint8_t> section) {
          TeletextStreamsOfProgramMap(section, [&](std::uint16_t marked, std::span<const std::uint8_t> entries) {
            const auto [kept, added] = markingsBySectionPid_[pid].try_emplace(marked);
            // The same program map again, as it is sent every fraction of a second, changes nothing.
            if (!added && std::ranges::equal(kept->second, entries)) return;
            kept->second.assign(entries.begin(), entries.end());
            ++changes_;
          });
        },
        kPmtTableId);
  }
  sections->Feed(packet);
}

TeletextPidSurvey::PidSet TeletextPidSurvey::Marked() const {
  PidSet marked;
  for (const auto& [sectionPid, markings] : markingsBySectionPid_) {
    if (!programMapPids_.test(sectionPid)) continue;
    for (const auto& marking : markings) marked.set(marking.first);
  }
  return marked;
}

std::optional<std::uint16_t> TeletextPidSurvey::Choose() const {
  if (std::optional<std::uint16_t> marked = Lowest(Marked())) return marked;
  return Lowest(carrying_);
}

std::vector<std::uint16_t> TeletextPidSurvey::All() const {
  const PidSet all = Marked() | carrying_;
  std::vector<std::uint16_t> pids;
  const std::size_t count = all.count();
  for (std::size_t pid = 0; pids.size() < count; ++pid) {
    if (all.test(pid)) pids.push_back(static_cast<std::uint16_t>(pid));
  }
  return pids;
}

std::vector<TeletextPidMarking> TeletextPidSurvey::Markings() const {
  std::map<std::uint16_t, std::vector<std::uint8_t>> joined;
  for (const auto& [sectionPid, markings] : markingsBySectionPid_) {
    if (!programMapPids_.test(sectionPid)) continue;
    for (const auto& [pid, entries] : markings) {
      std::vector<std::uint8_t>& all = joined[pid];
      all.insert(all.end(), entries.begin(), entries.end());
    }
  }
  std::vector<TeletextPidMarking> result;
  result.reserve(joined.size());
  for (auto& [pid, entries] : joined) result.push_back({pid, std::move(entries)});
  return result;
}

std::optional<std::uint16_t> ChooseTeletextPid(std::span<const std::uint8_t> input) {
  TeletextPidSurvey survey;
  ForEachTsPacket(input, [&](const TsPacket& packet) { survey.Feed(packet); });
  return survey.Choose();
}

std::vector<std::uint16_t> TeletextPids(std::span<const std::uint8_t> input) {
  TeletextPidSurvey survey;
  ForEachTsPacket(input, [&](const TsPacket& packet) { survey.Feed(packet); });
  return survey.All();
}

}  // namespace tolv::recordings
