#include "tools/recordings/TeletextPid.h"

#include <bitset>
#include <map>

#include "tools/recordings/PesLayout.h"
#include "tools/recordings/PsiSection.h"
#include "tools/recordings/TsPacket.h"

namespace tolv::recordings {
namespace {

using PidSet = std::bitset<kMaxPid + 1>;

void KeepLowest(std::optional<std::uint16_t>& lowest, std::uint16_t pid) {
  if (!lowest || pid < *lowest) lowest = pid;
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

std::optional<std::uint16_t> LowestPidMarkedByProgramMaps(std::span<const std::uint8_t> input, const PidSet& pmtPids) {
  std::optional<std::uint16_t> lowest;
  const auto keep = [&](std::uint16_t pid) { KeepLowest(lowest, pid); };
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
  return lowest;
}

std::optional<std::uint16_t> LowestPidCarryingTeletextPes(std::span<const std::uint8_t> input) {
  std::optional<std::uint16_t> lowest;
  ForEachTsPacket(input, [&](const TsPacket& packet) {
    if (!packet.TransportError && packet.PayloadUnitStart && TeletextDataFieldOffset(packet.Payload)) {
      KeepLowest(lowest, packet.Pid);
    }
  });
  return lowest;
}

}  // namespace

std::optional<std::uint16_t> ChooseTeletextPid(std::span<const std::uint8_t> input) {
  const PidSet pmtPids = FindProgramMapPids(input);
  if (pmtPids.any()) {
    if (std::optional<std::uint16_t> marked = LowestPidMarkedByProgramMaps(input, pmtPids)) return marked;
  }
  return LowestPidCarryingTeletextPes(input);
}

}  // namespace tolv::recordings
