#include "tools/recordings/TeletextPid.h"

#include <bitset>
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

// The program_map_PIDs of every program association section in the input.
PidSet FindProgramMapPids(std::span<const std::uint8_t> input) {
  PidSet pmtPids;
  SectionCollector pat([&](std::span<const std::uint8_t> section) {
    ProgramMapPids(section, [&](std::uint16_t pid) { pmtPids.set(pid); });
  });
  ForEachTsPacket(input, [&](const TsPacket& packet) {
    if (packet.Pid == kPatPid) pat.Feed(packet);
  });
  return pmtPids;
}

PidSet PidsMarkedByProgramMaps(std::span<const std::uint8_t> input, const PidSet& pmtPids) {
  PidSet marked;
  const auto keep = [&](std::uint16_t pid) { marked.set(pid); };
  // One collector per program map PID; their buffers only ever hold bytes of the input.
  std::map<std::uint16_t, SectionCollector> collectors;
  ForEachTsPacket(input, [&](const TsPacket& packet) {
    if (!pmtPids.test(packet.Pid)) return;
    auto found = collectors.find(packet.Pid);
    if (found == collectors.end()) {
      found = collectors
                  .try_emplace(packet.Pid,
                               [&](std::span<const std::uint8_t> section) { TeletextPidsOfProgramMap(section, keep); })
                  .first;
    }
    found->second.Feed(packet);
  });
  return marked;
}

PidSet PidsCarryingTeletextPes(std::span<const std::uint8_t> input) {
  PidSet carrying;
  ForEachTsPacket(input, [&](const TsPacket& packet) {
    if (!packet.TransportError && packet.PayloadUnitStart && TeletextDataFieldOffset(packet.Payload)) {
      carrying.set(packet.Pid);
    }
  });
  return carrying;
}

PidSet PidsMarkedByAnyProgramMap(std::span<const std::uint8_t> input) {
  const PidSet pmtPids = FindProgramMapPids(input);
  return pmtPids.any() ? PidsMarkedByProgramMaps(input, pmtPids) : PidSet();
}

}  // namespace

std::optional<std::uint16_t> ChooseTeletextPid(std::span<const std::uint8_t> input) {
  if (std::optional<std::uint16_t> marked = Lowest(PidsMarkedByAnyProgramMap(input))) return marked;
  return Lowest(PidsCarryingTeletextPes(input));
}

std::vector<std::uint16_t> TeletextPids(std::span<const std::uint8_t> input) {
  const PidSet all = PidsMarkedByAnyProgramMap(input) | PidsCarryingTeletextPes(input);
  std::vector<std::uint16_t> pids;
  for (std::size_t pid = 0; pid < all.size(); ++pid) {
    if (all.test(pid)) pids.push_back(static_cast<std::uint16_t>(pid));
  }
  return pids;
}

}  // namespace tolv::recordings
