#include "tools/recordings/TeletextPid.h"

#include <bitset>
#include <functional>
#include <map>

#include "tools/recordings/PesLayout.h"
#include "tools/recordings/PsiSection.h"
#include "tools/recordings/TsPacket.h"

namespace tolv::recordings {
namespace {

using PidSet = std::bitset<kMaxPid + 1>;

std::optional<std::uint16_t> Lowest(const PidSet& pids) {
  for (std::size_t pid = 0; pid < pids.size(); ++pid) {
    if (pids.test(pid)) return static_cast<std::uint16_t>(pid);
  }
  return std::nullopt;
}

// Feeds each program map PID's packets to a collector of its own, which hands the teletext PIDs
// its sections mark to keep.
class ProgramMapReader {
 public:
  explicit ProgramMapReader(PidSet& marked) : keep_([&marked](std::uint16_t pid) { marked.set(pid); }) {}

  void Feed(const TsPacket& packet) {
    auto found = collectors_.find(packet.Pid);
    if (found == collectors_.end()) {
      found =
          collectors_
              .try_emplace(packet.Pid,
                           [this](std::span<const std::uint8_t> section) { TeletextPidsOfProgramMap(section, keep_); })
              .first;
    }
    found->second.Feed(packet);
  }

 private:
  std::function<void(std::uint16_t)> keep_;
  // Their buffers only ever hold bytes of the input.
  std::map<std::uint16_t, SectionCollector> collectors_;
};

struct Survey {
  PidSet marked;    // by a program map's teletext descriptor
  PidSet carrying;  // a PES with teletext begins in one of their packets
};

// One pass finds the program map PIDs (from the association sections), reads the program maps of
// those already known, and notes the PIDs that carry teletext PES. Only a program map PID that
// had packets before an association section named it needs a second pass over its sections.
Survey SurveyInput(std::span<const std::uint8_t> input) {
  Survey survey;
  PidSet pmtPids, seenBeforeNamed;
  SectionCollector pat([&](std::span<const std::uint8_t> section) {
    ProgramMapPids(section, [&](std::uint16_t pid) { pmtPids.set(pid); });
  });
  ProgramMapReader programMaps(survey.marked);
  ForEachTsPacket(input, [&](const TsPacket& packet) {
    if (!packet.TransportError && packet.PayloadUnitStart && TeletextDataFieldOffset(packet.Payload)) {
      survey.carrying.set(packet.Pid);
    }
    if (packet.Pid == kPatPid) pat.Feed(packet);
    if (pmtPids.test(packet.Pid)) {
      programMaps.Feed(packet);
    } else {
      seenBeforeNamed.set(packet.Pid);
    }
  });
  if ((pmtPids & seenBeforeNamed).any()) {
    survey.marked.reset();
    ProgramMapReader again(survey.marked);
    ForEachTsPacket(input, [&](const TsPacket& packet) {
      if (pmtPids.test(packet.Pid)) again.Feed(packet);
    });
  }
  return survey;
}

}  // namespace

std::optional<std::uint16_t> ChooseTeletextPid(std::span<const std::uint8_t> input) {
  const Survey survey = SurveyInput(input);
  if (std::optional<std::uint16_t> marked = Lowest(survey.marked)) return marked;
  return Lowest(survey.carrying);
}

std::vector<std::uint16_t> TeletextPids(std::span<const std::uint8_t> input) {
  const Survey survey = SurveyInput(input);
  const PidSet all = survey.marked | survey.carrying;
  std::vector<std::uint16_t> pids;
  for (std::size_t pid = 0; pid < all.size(); ++pid) {
    if (all.test(pid)) pids.push_back(static_cast<std::uint16_t>(pid));
  }
  return pids;
}

}  // namespace tolv::recordings
