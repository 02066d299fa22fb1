#include "tools/recordings/OnePassReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <istream>
#include <limits>

#include "decoder/Vt_fkt.h"
#include "tools/recordings/FileMapping.h"
#include "tools/recordings/PesLayout.h"
#include "tools/recordings/T42Reader.h"

namespace tolv::recordings {
namespace {

constexpr std::size_t kReadChunk = 1 << 16;
constexpr const char* kShrank = "the file shrank while it was read";

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The teletext data units in a data field, as the data callback walks them.
std::size_t TeletextUnitsIn(const std::uint8_t* data, std::int32_t length) {
  std::size_t units = 0;
  for (std::int32_t at = 0; at + 2 <= length; at += 2 + data[at + 1]) {
    if (data[at] == 0x02 || data[at] == 0x03) ++units;
  }
  return units;
}

}  // namespace

// The data fields one PID delivered, in blocks that are filled and never moved: keeping them
// costs one copy. Or, while it is the PID handed on as it comes, none are kept.
class OnePassReader::PidTeletext {
 public:
  // direct: where to hand the data fields at once instead of keeping them; may be null.
  PidTeletext(std::uint16_t pid, const DataSink* direct, bool countUnits)
      : collector(pid, [this](const std::uint8_t* data, std::int32_t length) { Keep(data, length); }),
        direct_(direct),
        countUnits_(countUnits) {}

  void HandOn(const DataSink& sink) const {
    std::size_t block = 0, at = 0;
    for (const std::int32_t length : lengths_) {
      if (at + static_cast<std::size_t>(length) > blocks_[block].size()) {
        ++block;
        at = 0;
      }
      sink(blocks_[block].data() + at, length);
      at += static_cast<std::size_t>(length);
    }
  }

  // What was kept goes to sink, and from now on each data field as it comes.
  void HandOnFromNow(const DataSink& sink) {
    HandOn(sink);
    handedOn = handedOn || !lengths_.empty();
    blocks_ = {};
    lengths_ = {};
    direct_ = &sink;
  }
  void KeepFromNow() { direct_ = nullptr; }

  PesCollector collector;
  std::size_t units = 0;
  bool handedOn = false;  // a data field went on as it came

 private:
  static constexpr std::size_t kBlockSize = std::size_t{1} << 18;

  void Keep(const std::uint8_t* data, std::int32_t length) {
    if (countUnits_) units += TeletextUnitsIn(data, length);
    if (direct_ != nullptr) {
      handedOn = true;
      (*direct_)(data, length);
      return;
    }
    const auto size = static_cast<std::size_t>(length);
    if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < size) {
      blocks_.emplace_back().reserve(std::max(kBlockSize, size));
    }
    blocks_.back().insert(blocks_.back().end(), data, data + size);
    lengths_.push_back(length);
  }

  const DataSink* direct_;
  bool countUnits_;
  std::vector<std::vector<std::uint8_t>> blocks_;
  std::vector<std::int32_t> lengths_;
};

OnePassReader::OnePassReader(RecordingFormat format, std::optional<std::uint16_t> pid, DataSink sink,
                             bool countDataUnits, StartOver startOver)
    : format_(format),
      pid_(pid),
      countDataUnits_(countDataUnits),
      sink_(std::move(sink)),
      startOver_(std::move(startOver)) {
  if (format_ == RecordingFormat::kT42) pid_.reset();  // T42 input has no PIDs
  if (pid_) startOver_ = nullptr;                      // the PID asked for goes on as it comes anyway
  passOverOthers_ = startOver_ && !countDataUnits_;
}

OnePassReader::~OnePassReader() = default;

OnePassReader::PidTeletext& OnePassReader::TeletextOf(std::uint16_t pid) {
  if (pids_.empty()) pids_.resize(kMaxPid + 1);
  std::unique_ptr<PidTeletext>& teletext = pids_[pid];
  if (!teletext) {
    teletext = std::make_unique<PidTeletext>(pid, pid_ ? &sink_ : nullptr, countDataUnits_);
    seen_.push_back(pid);
  }
  return *teletext;
}

void OnePassReader::Feed(std::span<const std::uint8_t> bytes) {
  // In pieces, so the buffer stays at a chunk's size whatever bytes holds.
  while (!bytes.empty()) {
    const std::size_t size = std::min(bytes.size(), kReadChunk);
    std::copy_n(bytes.begin(), size, Space(size).begin());
    Commit(size);
    bytes = bytes.subspan(size);
  }
}

std::span<std::uint8_t> OnePassReader::Space(std::size_t size) {
  if (bufferSize_ < filled_ + size) {
    // What is left between pieces is less than two packets: room for that once, not each time.
    const std::size_t room = filled_ + size + 2 * kTsPacketSize;
    auto larger = std::make_unique_for_overwrite<std::uint8_t[]>(room);
    std::copy_n(buffer_.get(), filled_, larger.get());
    buffer_ = std::move(larger);
    bufferSize_ = room;
  }
  return {buffer_.get() + filled_, size};
}

void OnePassReader::NoteHead(std::span<const std::uint8_t> bytes) {
  const std::size_t head = std::min(bytes.size(), InputFindings::kHeadSize - findings_.Head.size());
  findings_.Head.insert(findings_.Head.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(head));
}

std::size_t OnePassReader::Take(std::span<const std::uint8_t> bytes) {
  return format_ == RecordingFormat::kT42
             ? FeedT42(bytes)
             : ScanTsPackets(bytes, false, [this](const TsPacket& packet) { FeedPacket(packet); });
}

void OnePassReader::Commit(std::size_t got) {
  NoteHead({buffer_.get() + filled_, got});
  findings_.Bytes += got;
  filled_ += got;
  const std::size_t taken = Take({buffer_.get(), filled_});
  // What is left is less than two packets: moved to the front, to be completed by what follows.
  std::copy(buffer_.get() + taken, buffer_.get() + filled_, buffer_.get());
  filled_ -= taken;
}

std::size_t OnePassReader::FeedInPlace(std::span<const std::uint8_t> bytes) {
  if (filled_ != 0) {
    Feed(bytes);
    return bytes.size();
  }
  // Data fields need no copy when they are handed on before the read ends, but counting their
  // units wants them whole.
  stable_ = !countDataUnits_;
  const std::size_t taken = Take(bytes);
  stable_ = false;
  NoteHead(bytes.first(taken));
  findings_.Bytes += taken;
  return taken;
}

void OnePassReader::FeedPacket(const TsPacket& packet) {
  ++findings_.TsPackets;
  if (!survey_) survey_ = std::make_unique<TeletextPidSurvey>();
  survey_->Feed(packet);
  if (startOver_ && survey_->Changes() != surveyChanges_) FollowChoice();
  // A PID asked for is read as it comes; otherwise any PID may turn out to be the one, and only
  // its teletext data fields are kept (PesCollector keeps no other PES).
  if (pid_ && packet.Pid != *pid_) return;
  if (passOverOthers_ && packet.Pid != handingOn_) {
    // Should the choice come to a PID whose teletext was passed over, it is read again. (Not every
    // teletext PES start shows as one in its first packet: the survey may not have seen it.)
    if (packet.PayloadUnitStart && MayBeTeletextPes(packet.Payload)) MarkLost(packet.Pid);
    return;
  }
  PidTeletext* teletext = pids_.empty() ? nullptr : pids_[packet.Pid].get();
  if (teletext == nullptr) teletext = &TeletextOf(packet.Pid);
  teletext->collector.Feed(packet, stable_);
}

void OnePassReader::FollowChoice() {
  surveyChanges_ = survey_->Changes();
  const std::optional<std::uint16_t> choice = survey_->Choose();
  if (!choice || choice == handingOn_) return;
  if (handingOn_) {
    PidTeletext& previous = *pids_[*handingOn_];
    previous.KeepFromNow();
    // Its data so far is forgotten (or, passed over from now on, its PES under way would be cut);
    // should the choice come back to it, it is read again.
    if (previous.handedOn || (passOverOthers_ && previous.collector.Counts().Packets > 0)) MarkLost(*handingOn_);
    if (previous.handedOn) startOver_();
  }
  handingOn_.reset();
  if (!lost_.empty() && lost_[*choice]) return;  // kept from now on, for nothing but the counts
  handingOn_ = choice;
  PidTeletext& chosen = TeletextOf(*choice);
  // Met for the first time: the survey followed its packets until now.
  if (passOverOthers_) chosen.collector.ContinueFrom(survey_->ContinuityOf(*choice));
  chosen.HandOnFromNow(sink_);
}

void OnePassReader::MarkLost(std::uint16_t pid) {
  if (lost_.empty()) lost_.resize(kMaxPid + 1);
  lost_[pid] = true;
}

std::size_t OnePassReader::FeedT42(std::span<const std::uint8_t> bytes) {
  constexpr std::size_t kBatchBytes = kT42UnitsPerBatch * kDataUnitSize;
  if (batch_.size() < kBatchBytes) batch_.resize(kBatchBytes);
  std::size_t taken = 0;
  for (;;) {
    const std::size_t wrapped = WrapT42Packets(bytes.subspan(taken), batch_.data() + batchUnits_ * kDataUnitSize,
                                               kT42UnitsPerBatch - batchUnits_);
    if (wrapped == 0) return taken;
    taken += wrapped * kT42PacketSize;
    t42Units_ += wrapped;
    batchUnits_ += wrapped;
    if (batchUnits_ == kT42UnitsPerBatch) {
      sink_(batch_.data(), static_cast<std::int32_t>(kBatchBytes));
      batchUnits_ = 0;
    }
  }
}

RecordingSummary OnePassReader::Finish() {
  RecordingSummary summary;
  if (format_ == RecordingFormat::kT42) {
    if (batchUnits_ > 0) sink_(batch_.data(), static_cast<std::int32_t>(batchUnits_ * kDataUnitSize));
    batchUnits_ = 0;
    summary.T42Units = t42Units_;  // a trailing partial packet is not one
    return summary;
  }
  ScanTsPackets(std::span<const std::uint8_t>(buffer_.get(), filled_), true,
                [this](const TsPacket& packet) { FeedPacket(packet); });
  filled_ = 0;
  for (const std::uint16_t pid : seen_) pids_[pid]->collector.Finish();
  summary.Pid = pid_;
  if (!survey_) return summary;  // no packet at all
  const std::vector<TeletextPidMarking> markings = survey_->Markings();
  for (const std::uint16_t pid : survey_->All()) {
    TeletextPidFound found;
    found.Pid = pid;
    for (const TeletextPidMarking& marking : markings) {
      if (marking.Pid == pid) {
        found.Marked = true;
        found.Entries = marking.Entries;
      }
    }
    if (!pids_.empty() && pids_[pid]) found.DataUnits = pids_[pid]->units;
    findings_.TeletextPids.push_back(std::move(found));
  }
  if (!pid_) summary.Pid = survey_->Choose();
  if (!summary.Pid) return summary;
  const PidTeletext& chosen = TeletextOf(*summary.Pid);
  summary.Ts = chosen.collector.Counts();
  chosenLost_ = !lost_.empty() && lost_[*summary.Pid];
  // The PID asked for, or the one handed on as it came, has kept nothing.
  if (!chosenLost_) chosen.HandOn(sink_);
  return summary;
}

namespace {

// The file read from offset on in chunks, with the result's failure when it cannot be read or ends
// short of the size it had at first.
void ReadFile(const std::string& name, std::uintmax_t offset, OnePassReader& reader, InputReadResult& result) {
  errno = 0;
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(name.c_str(), "rb"));
  if (!file) {
    result.FailedTo = "open";
    result.ErrorNumber = errno;
    return;
  }
  std::error_code error;
  const std::uintmax_t sizeWhenOpened =
      std::filesystem::is_regular_file(name, error) ? std::filesystem::file_size(name, error) : 0;
  std::uintmax_t read = offset;
  if (offset > static_cast<std::uintmax_t>(std::numeric_limits<long>::max()) ||
      (offset > 0 && std::fseek(file.get(), static_cast<long>(offset), SEEK_SET) != 0)) {
    result.FailedTo = "read";
    result.ErrorNumber = errno;
    return;
  }
  for (;;) {
    const std::span<std::uint8_t> room = reader.Space(kReadChunk);
    const std::size_t got = std::fread(room.data(), 1, room.size(), file.get());
    reader.Commit(got);
    read += got;
    if (got < room.size()) break;
  }
  // A directory opens but cannot be read; the error shows only here.
  if (std::ferror(file.get())) {
    result.FailedTo = "read";
    result.ErrorNumber = errno;
  } else if (!error && read < sizeWhenOpened) {
    result.FailedTo = "read";
    result.Why = kShrank;
  }
}

// The file through its mapping, without a copy; what was added to it meanwhile is read after it.
void ReadMapped(const FileMapping& mapping, const std::string& name, OnePassReader& reader, InputReadResult& result) {
  // In pieces, so that a file shortened meanwhile is given up soon after.
  constexpr std::size_t kPiece = std::size_t{1} << 20;
  const std::span<const std::uint8_t> bytes = mapping.Bytes();
  std::size_t at = 0;
  // What lies this far behind leaves the resident set, in steps of this size (a PES under way
  // there is read from the page cache again when it is handed on).
  constexpr std::size_t kResident = std::size_t{8} << 20;
  std::size_t released = 0;
  while (at < bytes.size() && !mapping.Shrank()) {
    const std::size_t taken = reader.FeedInPlace(bytes.subspan(at, std::min(kPiece, bytes.size() - at)));
    if (taken == 0) break;  // less than two packets left
    if (at >= released + kResident) {
      mapping.Release(at);
      released = at;
    }
    at += taken;
  }
  if (!mapping.Shrank()) reader.Feed(bytes.subspan(at));
  std::error_code error;
  const std::uintmax_t sizeNow = std::filesystem::file_size(name, error);
  // A shortened file may end inside the last page, which then reads as zeros without a fault.
  if (mapping.Shrank() || (!error && sizeNow < bytes.size())) {
    result.FailedTo = "read";
    result.Why = kShrank;
  } else if (!error && sizeNow > bytes.size()) {
    ReadFile(name, bytes.size(), reader, result);
  }
}

InputReadResult ReadOnce(const std::string& name, RecordingFormat format, std::optional<std::uint16_t> pid,
                         std::istream& standardInput, const DataSink& sink, bool countDataUnits,
                         const StartOver& startOver, bool& chosenLost) {
  InputReadResult result;
  // Mapped, a file's data fields are handed on from the mapping, until Finish at the latest.
  const std::unique_ptr<FileMapping> mapping = name == kStandardInputName ? nullptr : FileMapping::Map(name, false);
  OnePassReader reader(format, pid, sink, countDataUnits, startOver);
  if (name == kStandardInputName) {
    for (;;) {
      const std::span<std::uint8_t> room = reader.Space(kReadChunk);
      standardInput.read(reinterpret_cast<char*>(room.data()), static_cast<std::streamsize>(room.size()));
      const auto got = static_cast<std::size_t>(standardInput.gcount());
      reader.Commit(got);
      if (got == 0 || !standardInput) break;
    }
    if (standardInput.bad()) result.FailedTo = "read";
  } else {
    if (mapping) {
      ReadMapped(*mapping, name, reader, result);
    } else {
      ReadFile(name, 0, reader, result);
    }
  }
  result.Summary = reader.Finish();
  result.Findings = reader.Findings();
  chosenLost = reader.ChosenPidLost();
  return result;
}

}  // namespace

InputReadResult ReadInputInOnePass(const std::string& name, RecordingFormat format, std::optional<std::uint16_t> pid,
                                   std::istream& standardInput, const DataSink& sink, bool countDataUnits,
                                   const StartOver& startOver) {
  std::error_code error;
  const bool readable = startOver && name != kStandardInputName && std::filesystem::is_regular_file(name, error);
  bool chosenLost = false;
  InputReadResult first =
      ReadOnce(name, format, pid, standardInput, sink, countDataUnits, readable ? startOver : StartOver{}, chosenLost);
  if (!chosenLost || !first.FailedTo.empty()) return first;
  // Rare: the choice came back to a PID whose first data fields were handed on and forgotten.
  startOver();
  InputReadResult second = ReadOnce(name, format, first.Summary.Pid, standardInput, sink, false, {}, chosenLost);
  second.Findings = std::move(first.Findings);
  return second;
}

}  // namespace tolv::recordings
