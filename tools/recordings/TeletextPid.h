// The choice of the PID whose teletext a transport stream reader delivers.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "tools/recordings/PsiSection.h"
#include "tools/recordings/TsPacket.h"

namespace tolv::recordings {

inline constexpr std::uint16_t kMaxPid = 0x1FFF;

// What program maps say of one teletext PID: the joined bodies of its teletext descriptors
// (5-byte entries: language, teletext_type and magazine, page).
struct TeletextPidMarking {
  std::uint16_t Pid = 0;
  std::vector<std::uint8_t> Entries;
};

// Takes a transport stream's packets one by one, as they stream past, and answers at any point
// what the whole input so far says: the PIDs that program maps mark as teletext (through the
// program maps that the association sections name, wherever in the input those come; a PID is
// read for them until it carries a teletext PES) and the PIDs that carry teletext PES. Holds at
// most one section per PID, whatever the input's length.
class TeletextPidSurvey {
 public:
  TeletextPidSurvey();
  TeletextPidSurvey(const TeletextPidSurvey&) = delete;
  TeletextPidSurvey& operator=(const TeletextPidSurvey&) = delete;
  ~TeletextPidSurvey();

  // Inline: a packet that starts nothing on a PID already met needs no more than its sections.
  void Feed(const TsPacket& packet) {
    SectionCollector* sections = sections_[packet.Pid].get();
    if (packet.PayloadUnitStart || packet.Pid == kPatPid || sections == nullptr) {
      FeedAny(packet);
    } else if (!carrying_.test(packet.Pid)) {
      sections->Feed(packet);
    }
  }

  // The lowest PID that any program map marks with a teletext descriptor; failing that, the
  // lowest PID that carries a PES with stream_id 0xBD and an EBU data_identifier (0x10..0x1F) in
  // its first packet. None when neither is found.
  std::optional<std::uint16_t> Choose() const;
  // Every PID that either way finds, in ascending order.
  std::vector<std::uint16_t> All() const;
  // The marked PIDs, ascending, each with what the program maps say of it.
  std::vector<TeletextPidMarking> Markings() const;
  // The continuity of pid's packets up to the first teletext PES on it, which is where the survey
  // stops following them; as if new for a PID not met.
  ContinuityCheck ContinuityOf(std::uint16_t pid) const {
    return sections_[pid] ? sections_[pid]->Continuity() : ContinuityCheck{};
  }
  // Counts the changes that may move Choose's answer: a PID newly found carrying teletext, a
  // program map newly named, a marking newly made or changed.
  std::uint32_t Changes() const { return changes_; }

 private:
  using PidSet = std::bitset<kMaxPid + 1>;
  void FeedAny(const TsPacket& packet);
  PidSet Marked() const;

  PidSet programMapPids_;
  PidSet carrying_;
  SectionCollector pat_;
  // Every PID's sections, since a program map may come before the association section that
  // names its PID; the markings of each, by the PID whose sections made them.
  std::array<std::unique_ptr<SectionCollector>, kMaxPid + 1> sections_;
  std::map<std::uint16_t, std::map<std::uint16_t, std::vector<std::uint8_t>>> markingsBySectionPid_;
  std::uint32_t changes_ = 0;
};

// Looks at the whole input before anything is delivered, with TeletextPidSurvey's rules.
std::optional<std::uint16_t> ChooseTeletextPid(std::span<const std::uint8_t> input);

// Every PID that either way finds, in ascending order: the channels a recording offers.
std::vector<std::uint16_t> TeletextPids(std::span<const std::uint8_t> input);

}  // namespace tolv::recordings
