// A recording read in one pass, in chunks as it arrives (a pipe, an endless stream): what it holds
// is the teletext of the PIDs that may be chosen, never the input itself, so memory follows the
// teletext volume and not the input's size.
#pragma once

#include <cstdint>
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

// Feed the input in pieces of any size, then Finish: the data of the PID asked for, or else of the
// one the survey chooses over the whole input, goes to sink in the order a whole-input read gives.
// With a PID asked for, it goes at once; else each candidate's data fields wait until the end.
class OnePassReader {
 public:
  // countDataUnits: fill InputFindings' DataUnits, which costs a walk over every data field.
  OnePassReader(RecordingFormat format, std::optional<std::uint16_t> pid, DataSink sink, bool countDataUnits = false);
  OnePassReader(const OnePassReader&) = delete;
  OnePassReader& operator=(const OnePassReader&) = delete;
  ~OnePassReader();

  void Feed(std::span<const std::uint8_t> bytes);
  // The same without a copy: room for up to size bytes to read into, then Commit how many came.
  std::span<std::uint8_t> Space(std::size_t size);
  void Commit(std::size_t got);
  RecordingSummary Finish();

  const InputFindings& Findings() const { return findings_; }

 private:
  class PidTeletext;
  void FeedPacket(const TsPacket& packet);
  // Takes the whole T42 packets at the start of bytes; returns how many bytes it took.
  std::size_t FeedT42(std::span<const std::uint8_t> bytes);
  PidTeletext& TeletextOf(std::uint16_t pid);

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
};

// Reads the named input ("-": standardInput) in chunks through a OnePassReader. On a failure
// FailedTo says what ("open", "read") and ErrorNumber why (errno, 0 when unknown); what was read
// until then has been delivered.
struct InputReadResult {
  RecordingSummary Summary;
  InputFindings Findings;
  std::string FailedTo;
  int ErrorNumber = 0;
};
InputReadResult ReadInputInOnePass(const std::string& name, RecordingFormat format, std::optional<std::uint16_t> pid,
                                   std::istream& standardInput, const DataSink& sink, bool countDataUnits = false);

}  // namespace tolv::recordings
