// A recording read in one pass, in chunks as it arrives (a pipe, an endless stream): what it holds
// is the teletext of the PIDs that may be chosen, never the input itself, so memory follows the
// teletext volume and not the input's size.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tools/recordings/Recording.h"
#include "tools/recordings/TeletextPid.h"
#include "tools/recordings/TsReader.h"

namespace tolv::recordings {

// One teletext PID as the input shows it.
struct TeletextPidFound {
  std::uint16_t Pid = 0;
  bool Marked = false;                // a program map's teletext descriptor names it
  std::vector<std::uint8_t> Entries;  // those descriptors' 5-byte entries
  std::size_t DataUnits = 0;          // teletext data units (data_unit_id 0x02, 0x03) delivered on it, when counted
};

// What the read saw besides the data, to tell a user why nothing was found.
struct InputFindings {
  std::uint64_t Bytes = 0;
  std::size_t TsPackets = 0;                   // of any PID
  std::vector<std::uint8_t> Head;              // the first bytes, up to kHeadSize
  std::vector<TeletextPidFound> TeletextPids;  // ascending; transport streams only
  static constexpr std::size_t kHeadSize = 4096;
};

// What is called when the data handed on so far came from a PID that is no longer the choice: the
// receiver forgets all of it, and the chosen PID's data follows from its start.
using StartOver = std::function<void()>;

// Feed the input in pieces of any size, then Finish: the data of the PID asked for, or else of the
// one the survey chooses over the whole input, goes to sink in the order a whole-input read gives.
// With a PID asked for, it goes at once; else each candidate's data fields wait until the end, or,
// with a StartOver (an input that can be read again), those of the PID the input so far chooses go
// at once and the others are passed over, unless their data units are counted. Then the summary's
// counts but PesDelivered cover the chosen PID from the moment it was chosen.
class OnePassReader {
 public:
  // countDataUnits: fill InputFindings' DataUnits, which costs a walk over every data field.
  OnePassReader(RecordingFormat format, std::optional<std::uint16_t> pid, DataSink sink, bool countDataUnits = false,
                StartOver startOver = {});
  OnePassReader(const OnePassReader&) = delete;
  OnePassReader& operator=(const OnePassReader&) = delete;
  ~OnePassReader();

  void Feed(std::span<const std::uint8_t> bytes);
  // The same without a copy: room for up to size bytes to read into, then Commit how many came.
  std::span<std::uint8_t> Space(std::size_t size);
  void Commit(std::size_t got);
  // The same for bytes that stay where they are until Finish has returned (a mapped file), with
  // nothing held from a Feed before: takes what it can of them without a copy, teletext PES
  // included, and returns how much. The rest, less than two packets, is to come again at the front
  // of what follows, or alone through Feed.
  std::size_t FeedInPlace(std::span<const std::uint8_t> bytes);
  RecordingSummary Finish();
  // After Finish: the chosen PID's data was handed on in part and then forgotten when the choice
  // moved away from it and back, so that PID is to be read again from the start.
  bool ChosenPidLost() const { return chosenLost_; }

  const InputFindings& Findings() const { return findings_; }

 private:
  class PidTeletext;
  void FeedPacket(const TsPacket& packet);
  // Takes the whole T42 packets at the start of bytes; returns how many bytes it took.
  std::size_t FeedT42(std::span<const std::uint8_t> bytes);
  // Takes what it can of bytes; returns how many bytes it took.
  std::size_t Take(std::span<const std::uint8_t> bytes);
  void NoteHead(std::span<const std::uint8_t> bytes);
  PidTeletext& TeletextOf(std::uint16_t pid);
  // Hands on the data of the PID the survey now chooses, when that changed.
  void FollowChoice();
  // The PID's data fields were forgotten or passed over: chosen at the end, it is read again.
  void MarkLost(std::uint16_t pid);

  RecordingFormat format_;
  std::optional<std::uint16_t> pid_;
  bool countDataUnits_;
  DataSink sink_;
  InputFindings findings_;
  // What has come and is not yet taken, then room: never cleared, as it is always written first.
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t bufferSize_ = 0;
  std::size_t filled_ = 0;
  std::vector<std::uint8_t> batch_;  // T42 data units not yet handed on
  std::size_t batchUnits_ = 0;
  std::size_t t42Units_ = 0;
  std::unique_ptr<TeletextPidSurvey> survey_;       // from the first packet on
  std::vector<std::unique_ptr<PidTeletext>> pids_;  // by PID, from the first packet on
  std::vector<std::uint16_t> seen_;                 // the PIDs pids_ holds
  StartOver startOver_;
  // With a StartOver (the input can be read again) and no units counted: the data fields of every
  // PID but the one handed on are passed over unread, not kept.
  bool passOverOthers_ = false;
  std::uint32_t surveyChanges_ = 0;
  std::optional<std::uint16_t> handingOn_;  // the PID whose data goes on as it comes
  std::vector<bool> lost_;                  // by PID: handed on in part, then forgotten
  bool chosenLost_ = false;
  bool stable_ = false;  // the packets scanned now stay where they are until the read ends
};

// Reads the named input ("-": standardInput) in chunks through a OnePassReader. On a failure
// FailedTo says what ("open", "read") and ErrorNumber why (errno, 0 when unknown) or Why, in
// words; what was read until then has been delivered. A regular file that ends short of the size
// it had when it was opened (another program shortened it meanwhile) fails too.
struct InputReadResult {
  RecordingSummary Summary;
  InputFindings Findings;
  std::string FailedTo;
  int ErrorNumber = 0;
  std::string Why;
};
// With a StartOver, a regular file's data is handed on as it comes (a file can be read again
// should the choice come back to a PID it forgot).
InputReadResult ReadInputInOnePass(const std::string& name, RecordingFormat format, std::optional<std::uint16_t> pid,
                                   std::istream& standardInput, const DataSink& sink, bool countDataUnits = false,
                                   const StartOver& startOver = {});

}  // namespace tolv::recordings
