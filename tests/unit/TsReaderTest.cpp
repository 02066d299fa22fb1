#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "tests/unit/TsBuilder.h"
#include "tools/recordings/OnePassReader.h"
#include "tools/recordings/PesLayout.h"
#include "tools/recordings/TeletextPid.h"
#include "tools/recordings/TsReader.h"

namespace tolv::testing {
namespace {

using recordings::ChooseTeletextPid;
using recordings::PesPts;
using recordings::ReadTransportStream;
using recordings::ReadTransportStreamTimed;
using recordings::TeletextPids;
using recordings::TsReadCounts;

constexpr std::uint16_t kPid = 0x0123;

struct Delivered {
  std::vector<Bytes> buffers;
  TsReadCounts counts;
};

Delivered Read(const Bytes& stream, std::uint16_t pid = kPid) {
  Delivered result;
  result.counts = ReadTransportStream(stream, pid, [&](const std::uint8_t* data, std::int32_t length) {
    result.buffers.emplace_back(data, data + length);
  });
  return result;
}

// Three PES of 2, 9 and 5 units (one, three and two packets), on kPid.
struct ThreePes {
  Bytes fields[3] = {DataUnits(2, 1), DataUnits(9, 2), DataUnits(5, 3)};
  Bytes packets[3];
  ThreePes() {
    std::uint8_t counter = 7;
    for (int i = 0; i < 3; ++i) packets[i] = Packetize(kPid, PesOf(fields[i]), counter);
  }
  Bytes Stream() const {
    Bytes s;
    for (const Bytes& p : packets) Append(s, p);
    return s;
  }
};

TEST(TsReader, DeliversTheDataFieldOfEveryCompletePesAsOneBuffer) {
  const ThreePes pes;
  const Delivered got = Read(pes.Stream());
  ASSERT_EQ(got.buffers.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(got.buffers[i], pes.fields[i]) << "PES " << i;
  EXPECT_EQ(got.counts.PesDelivered, 3u);
}

TEST(TsReader, SkipsJunkBeforeTheFirstPacket) {
  const ThreePes pes;
  struct Case {
    const char* name;
    Bytes junk;
  };
  const Case cases[] = {
      {"one byte", {0x00}},
      {"stray sync bytes", {0x47, 0x47, 0x00, 0x47}},
      {"most of a packet of sync bytes", Bytes(187, 0x47)},
  };
  for (const Case& c : cases) {
    Bytes stream = c.junk;
    Append(stream, pes.Stream());
    const Delivered got = Read(stream);
    ASSERT_EQ(got.buffers.size(), 3u) << c.name;
    EXPECT_EQ(got.buffers[0], pes.fields[0]) << c.name;
    EXPECT_EQ(got.buffers[2], pes.fields[2]) << c.name;
  }
}

// Only a sync byte followed by another one a packet later (or by the end) starts a packet: the
// packet just before junk counts only when the junk begins with a sync byte. Reading resumes at
// the first packet after the junk.
TEST(TsReader, ResynchronisesAfterJunk) {
  const ThreePes pes;
  struct Case {
    const char* name;
    Bytes junk;
    bool packetBeforeRead;
  };
  const Case cases[] = {
      {"junk without sync bytes", {0x00, 0x12}, false},
      {"junk starting with a sync byte", {0x47, 0x01, 0x47}, true},
      {"a long run of sync bytes", Bytes(200, 0x47), true},
  };
  for (const Case& c : cases) {
    Bytes stream = pes.packets[0];
    Append(stream, pes.packets[1]);
    Append(stream, c.junk);
    Append(stream, pes.packets[2]);
    const Delivered got = Read(stream);
    ASSERT_EQ(got.buffers.size(), c.packetBeforeRead ? 3u : 2u) << c.name;
    EXPECT_EQ(got.buffers.front(), pes.fields[0]) << c.name;
    EXPECT_EQ(got.buffers.back(), pes.fields[2]) << c.name;
  }
}

// The timed reader hands over the same buffers as the plain one, each with its PES's PTS: 33 bits
// whatever their value, none for a PES without one.
TEST(TsReader, TimedReadingAddsEachPesTimeStampToTheSameBuffers) {
  const std::optional<std::uint64_t> stamps[] = {0, std::nullopt, 0x1FFFFFFFF, 0x123456789, 1, 0x0AAAAAAAA};
  Bytes stream;
  std::uint8_t counter = 0;
  std::vector<Bytes> fields;
  for (std::size_t i = 0; i < std::size(stamps); ++i) {
    fields.push_back(DataUnits(static_cast<unsigned>(i + 1), static_cast<std::uint8_t>(i * 16)));
    Append(stream, Packetize(kPid, PesOf(fields.back(), {.pts = stamps[i]}), counter));
  }
  std::vector<Bytes> buffers;
  std::vector<std::optional<std::uint64_t>> got;
  const TsReadCounts counts = ReadTransportStreamTimed(
      stream, kPid, [&](const std::uint8_t* data, std::int32_t length, std::optional<std::uint64_t> pts) {
        buffers.emplace_back(data, data + length);
        got.push_back(pts);
      });
  EXPECT_EQ(buffers, fields);
  EXPECT_EQ(got, std::vector<std::optional<std::uint64_t>>(std::begin(stamps), std::end(stamps)));
  EXPECT_EQ(counts.PesDelivered, std::size(stamps));
  EXPECT_EQ(Read(stream).buffers, fields);
}

// Headers that do not hold a whole PTS give none: flags without one, a header too short for it.
TEST(PesPts, ReadsAStampOnlyWhereTheHeaderHoldsOne) {
  const Bytes pts = {0x21 | 0x0E, 0xFF, 0xFF, 0xFF, 0xFF};  // 0x1FFFFFFFF with its marker bits
  struct Case {
    const char* name;
    std::uint8_t flags, headerLength;
    std::size_t cut;  // bytes left off the end of the 14-byte header
    std::optional<std::uint64_t> expected;
  };
  const Case cases[] = {
      {"PTS only", 0x80, 5, 0, 0x1FFFFFFFF},
      {"PTS and DTS", 0xC0, 10, 0, 0x1FFFFFFFF},
      {"no time stamp", 0x00, 5, 0, std::nullopt},
      {"forbidden flags 01", 0x40, 5, 0, std::nullopt},
      {"header length shorter than a PTS", 0x80, 4, 0, std::nullopt},
      {"PES cut inside the PTS", 0x80, 5, 1, std::nullopt},
  };
  for (const Case& c : cases) {
    Bytes header = {0x00, 0x00, 0x01, 0xBD, 0x00, 0x00, 0x80, c.flags, c.headerLength};
    Append(header, pts);
    header.resize(header.size() - c.cut);
    EXPECT_EQ(PesPts(header), c.expected) << c.name;
  }
}

TEST(TsReader, APacketCutShortAtTheEndIsNotRead) {
  const ThreePes pes;
  Bytes stream = pes.Stream();
  stream.pop_back();  // the last packet of the third PES loses its last byte
  const Delivered got = Read(stream);
  EXPECT_EQ(got.buffers.size(), 2u);
  EXPECT_EQ(got.counts.PesDropped, 1u);
}

TEST(TsReader, ReadsOnlyTheChosenPid) {
  std::uint8_t ourCounter = 0, theirCounter = 5;
  Bytes stream;
  // Interleaved packet by packet: the other PID's counters must not disturb ours.
  const Bytes a = Packetize(kPid, PesOf(DataUnits(6, 10)), ourCounter);
  const Bytes b = Packetize(0x0124, PesOf(DataUnits(6, 20)), theirCounter);
  for (std::size_t at = 0; at < a.size(); at += 188) {
    stream.insert(stream.end(), a.begin() + static_cast<long>(at), a.begin() + static_cast<long>(at + 188));
    stream.insert(stream.end(), b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + 188));
  }
  const Delivered got = Read(stream);
  ASSERT_EQ(got.buffers.size(), 1u);
  EXPECT_EQ(got.buffers[0], DataUnits(6, 10));
  EXPECT_EQ(Read(stream, 0x0124).buffers.at(0), DataUnits(6, 20));
}

// The middle PES (three packets, counters 8, 9 and 10) suffers one fault; the PES before and
// after it survive.
TEST(TsReader, ErrorsAndGapsDropOnlyThePesBeingCollected) {
  const ThreePes pes;
  const auto packet = [&](int i) {
    return Bytes(pes.packets[1].begin() + 188 * i, pes.packets[1].begin() + 188 * (i + 1));
  };
  const Bytes start = packet(0), middle = packet(1), end = packet(2);
  Bytes errored = middle;
  errored[1] |= 0x80;
  const Bytes adaptationOnly = TsPacketOf(kPid, 3, {}, {.payload = false});

  struct Fault {
    const char* name;
    std::vector<Bytes> packets;
    bool survives;
    std::size_t errors, gaps, duplicates;
  };
  const Fault faults[] = {
      {"nothing wrong", {start, middle, end}, true, 0, 0, 0},
      // An errored packet's counter is not trusted, so the packet after it shows a gap.
      {"transport error", {start, errored, end}, false, 1, 1, 0},
      {"transport error, then the packet again", {start, errored, middle, end}, false, 1, 0, 0},
      {"packet lost", {start, end}, false, 0, 1, 0},
      {"packet sent twice", {start, middle, middle, end}, true, 0, 0, 1},
      {"packet sent three times", {start, middle, middle, middle, end}, false, 0, 1, 1},
      // Without a payload the counter does not advance, whatever it says.
      {"adaptation-only packet between", {start, adaptationOnly, middle, end}, true, 0, 0, 0},
  };
  for (const Fault& f : faults) {
    Bytes stream = pes.packets[0];
    for (const Bytes& p : f.packets) Append(stream, p);
    Append(stream, pes.packets[2]);
    const Delivered got = Read(stream);
    ASSERT_EQ(got.buffers.size(), f.survives ? 3u : 2u) << f.name;
    EXPECT_EQ(got.buffers.front(), pes.fields[0]) << f.name;
    EXPECT_EQ(got.buffers.back(), pes.fields[2]) << f.name;
    if (f.survives) {
      EXPECT_EQ(got.buffers[1], pes.fields[1]) << f.name;
    }
    EXPECT_EQ(got.counts.TransportErrors, f.errors) << f.name;
    EXPECT_EQ(got.counts.ContinuityGaps, f.gaps) << f.name;
    EXPECT_EQ(got.counts.Duplicates, f.duplicates) << f.name;
  }
}

TEST(TsReader, APesEndsAtItsDeclaredLength) {
  // The declared length covers 2 units; the packet carries 3: the third is not part of the PES.
  Bytes pes = PesOf(DataUnits(2));
  Append(pes, DataUnits(1, 99));
  std::uint8_t counter = 0;
  const Delivered got = Read(Packetize(kPid, pes, counter));
  ASSERT_EQ(got.buffers.size(), 1u);
  EXPECT_EQ(got.buffers[0], DataUnits(2));
}

TEST(TsReader, AnUnboundedPesEndsAtTheNextStartOrTheEndOfInput) {
  std::uint8_t counter = 0;
  Bytes stream = Packetize(kPid, PesOf(DataUnits(6, 1), {.unboundedLength = true}), counter);
  Append(stream, Packetize(kPid, PesOf(DataUnits(2, 2), {.unboundedLength = true}), counter));
  const Delivered got = Read(stream);
  ASSERT_EQ(got.buffers.size(), 2u);
  EXPECT_EQ(got.buffers[0], DataUnits(6, 1));
  EXPECT_EQ(got.buffers[1], DataUnits(2, 2));
}

TEST(TsReader, APesStillIncompleteIsDropped) {
  const Bytes whole = PesOf(DataUnits(9));  // three packets
  std::uint8_t counter = 0;
  const Bytes packets = Packetize(kPid, whole, counter);
  const Bytes firstTwo(packets.begin(), packets.begin() + 2 * 188);
  const Bytes next = Packetize(kPid, PesOf(DataUnits(1, 7)), counter);

  Bytes cutByNextStart = firstTwo;
  Append(cutByNextStart, next);
  const Delivered atStart = Read(cutByNextStart);
  ASSERT_EQ(atStart.buffers.size(), 1u);
  EXPECT_EQ(atStart.buffers[0], DataUnits(1, 7));
  EXPECT_EQ(atStart.counts.PesDropped, 1u);

  const Delivered atEnd = Read(firstTwo);
  EXPECT_TRUE(atEnd.buffers.empty());
  EXPECT_EQ(atEnd.counts.PesDropped, 1u);
}

TEST(TsReader, SkipsACompletePesThatIsNotEbuTeletext) {
  struct Case {
    const char* name;
    PesOptions options;
    bool delivered;
  };
  const Case cases[] = {
      {"data_identifier 0x10", {.dataIdentifier = 0x10}, true},
      {"data_identifier 0x1F", {.dataIdentifier = 0x1F}, true},
      {"data_identifier 0x0F", {.dataIdentifier = 0x0F}, false},
      {"data_identifier 0x20", {.dataIdentifier = 0x20}, false},
      {"data_identifier 0x94", {.dataIdentifier = 0x94}, false},
      {"audio stream_id", {.streamId = 0xC0}, false},
      {"padding stream_id", {.streamId = 0xBE}, false},
      {"bad start code", {.startCode = {0x00, 0x01, 0x01}}, false},
  };
  for (const Case& c : cases) {
    std::uint8_t counter = 0;
    const Delivered got = Read(Packetize(kPid, PesOf(DataUnits(2), c.options), counter));
    EXPECT_EQ(got.buffers.size(), c.delivered ? 1u : 0u) << c.name;
    EXPECT_EQ(got.counts.PesSkipped, c.delivered ? 0u : 1u) << c.name;
  }
}

// A PES that is not teletext is known after its first bytes and passed over to its end, which
// is counted, however its later packets come; the teletext PES after it is whole.
TEST(TsReader, PassesOverTheRestOfAPesThatIsNotTeletext) {
  std::uint8_t counter = 0;
  const Bytes audio = Packetize(kPid, PesOf(DataUnits(20, 4), {.streamId = 0xC0}), counter);  // 6 packets
  const Bytes video = Packetize(kPid, PesOf(DataUnits(20, 5), {.streamId = 0xE0, .unboundedLength = true}), counter);
  const Bytes teletext = Packetize(kPid, PesOf(DataUnits(2, 6)), counter);
  const auto packet = [](const Bytes& pes, int i) { return Bytes(pes.begin() + 188 * i, pes.begin() + 188 * (i + 1)); };
  Bytes errored = packet(audio, 3);
  errored[1] |= 0x80;
  struct Case {
    const char* name;
    std::vector<Bytes> packets;
    std::size_t skipped, dropped, gaps, duplicates, errors;
  };
  const Case cases[] = {
      {"whole", {audio}, 1, 0, 0, 0, 0},
      {"packet sent twice",
       {packet(audio, 0), packet(audio, 1), packet(audio, 2), packet(audio, 3), packet(audio, 3), packet(audio, 4),
        packet(audio, 5)},
       1,
       0,
       0,
       1,
       0},
      {"packet lost",
       {packet(audio, 0), packet(audio, 1), packet(audio, 2), packet(audio, 4), packet(audio, 5)},
       0,
       1,
       1,
       0,
       0},
      {"transport error",
       {packet(audio, 0), packet(audio, 1), packet(audio, 2), errored, packet(audio, 4), packet(audio, 5)},
       0,
       1,
       1,
       0,
       1},
      {"its end not come", {packet(audio, 0), packet(audio, 1), packet(audio, 2)}, 0, 1, 0, 0, 0},
      {"unbounded, ended by the next start", {video}, 1, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    Bytes stream;
    for (const Bytes& p : c.packets) Append(stream, p);
    // The teletext PES's counter follows the audio's last packet: a gap there is none here.
    Bytes next = teletext;
    const Bytes& last = c.packets.back();
    next[3] = static_cast<std::uint8_t>((next[3] & 0xF0) | ((last[last.size() - 188 + 3] + 1) & 0x0F));
    Append(stream, next);
    const Delivered got = Read(stream);
    ASSERT_EQ(got.buffers.size(), 1u) << c.name;
    EXPECT_EQ(got.buffers[0], DataUnits(2, 6)) << c.name;
    EXPECT_EQ(got.counts.PesSkipped, c.skipped) << c.name;
    EXPECT_EQ(got.counts.PesDropped, c.dropped) << c.name;
    EXPECT_EQ(got.counts.ContinuityGaps, c.gaps) << c.name;
    EXPECT_EQ(got.counts.Duplicates, c.duplicates) << c.name;
    EXPECT_EQ(got.counts.TransportErrors, c.errors) << c.name;
  }
}

TEST(Crc32Mpeg2, MatchesTheCatalogueCheckValue) {
  const std::string check = "123456789";
  EXPECT_EQ(recordings::Crc32Mpeg2({reinterpret_cast<const std::uint8_t*>(check.data()), check.size()}), 0x0376E6E7u);
}

// A stream with a PAT naming PMTs on 0x100 and 0x200, and PES of teletext on several PIDs.
struct PidChoiceCase {
  const char* name;
  std::vector<Bytes> packets;
  std::optional<std::uint16_t> chosen;
  std::vector<std::uint16_t> all;  // every PID either way finds
};

Bytes TeletextPesOn(std::uint16_t pid, std::uint8_t dataIdentifier = 0x10) {
  std::uint8_t counter = 0;
  return Packetize(pid, PesOf(DataUnits(1), {.dataIdentifier = dataIdentifier}), counter);
}

TEST(ChooseTeletextPid, PrefersProgramMapsThenTeletextPes) {
  const Bytes pat = PsiPacketOf(0, 0, PatOf({0x100, 0x200}));
  const Bytes pmtTwoTeletext =
      PsiPacketOf(0x100, 0, PmtOf(1, {{0x300, 0x06, kTeletextDescriptor}, {0x250, 0x06, kTeletextDescriptor}}));
  const Bytes pmtSubtitles = PsiPacketOf(0x200, 0, PmtOf(2, {{0x40, 0x06, kSubtitlingDescriptor}}));
  const Bytes pmtOtherProgram = PsiPacketOf(0x200, 0, PmtOf(2, {{0x240, 0x06, kTeletextDescriptor}}));
  Bytes badCrc = pmtOtherProgram;
  badCrc[20] ^= 0x01;
  const Bytes orphanPmt = PsiPacketOf(0x400, 0, PmtOf(3, {{0x30, 0x06, kTeletextDescriptor}}));

  const PidChoiceCase cases[] = {
      {"lowest PID any PMT marks", {pat, pmtTwoTeletext, pmtOtherProgram}, 0x240, {0x240, 0x250, 0x300}},
      {"PMT before the PAT", {pmtOtherProgram, pmtTwoTeletext, pat}, 0x240, {0x240, 0x250, 0x300}},
      {"PMT marking wins over lower PES PIDs", {pat, TeletextPesOn(0x20), pmtTwoTeletext}, 0x250, {0x20, 0x250, 0x300}},
      {"PMT with a bad CRC is ignored", {pat, badCrc, pmtTwoTeletext}, 0x250, {0x250, 0x300}},
      {"PMT on a PID the PAT does not name", {pat, orphanPmt, TeletextPesOn(0x50)}, 0x50, {0x50}},
      {"the same PMT again, then changed",
       {pat, pmtOtherProgram, PsiPacketOf(0x200, 1, PmtOf(2, {{0x240, 0x06, kTeletextDescriptor}})),
        PsiPacketOf(0x200, 2, PmtOf(2, {{0x230, 0x06, kTeletextDescriptor}}))},
       0x230,
       {0x230, 0x240}},
      {"no PMT marks teletext: lowest teletext PES",
       {pat, pmtSubtitles, TeletextPesOn(0x60), TeletextPesOn(0x45)},
       0x45,
       {0x45, 0x60}},
      {"no PSI at all", {TeletextPesOn(0x13F0), TeletextPesOn(0x1400)}, 0x13F0, {0x13F0, 0x1400}},
      {"PES of other data identifiers do not count",
       {TeletextPesOn(0x30, 0x99), TeletextPesOn(0x31, 0x1F)},
       0x31,
       {0x31}},
      {"no teletext anywhere", {pat, pmtSubtitles, TeletextPesOn(0x30, 0x20)}, std::nullopt, {}},
      {"empty input", {}, std::nullopt, {}},
  };
  for (const PidChoiceCase& c : cases) {
    Bytes stream;
    for (const Bytes& p : c.packets) Append(stream, p);
    EXPECT_EQ(ChooseTeletextPid(stream), c.chosen) << c.name;
    EXPECT_EQ(TeletextPids(stream), c.all) << c.name;
  }
}

TEST(ChooseTeletextPid, ReassemblesAPmtSpanningTwoPackets) {
  std::vector<Stream> streams;
  for (std::uint16_t pid = 0x500; pid > 0x4EC; --pid) streams.push_back({pid, 0x06, kSubtitlingDescriptor});
  streams.push_back({0x777, 0x06, kTeletextDescriptor});
  Bytes payload = {0x00};
  Append(payload, PmtOf(1, streams));
  ASSERT_GT(payload.size(), 184u);
  ASSERT_LE(payload.size(), 2 * 184u);
  payload.resize(2 * 184, 0xFF);
  Bytes stream = PsiPacketOf(0, 0, PatOf({0x100}));
  Append(stream, TsPacketOf(0x100, 0, Bytes(payload.begin(), payload.begin() + 184), {.unitStart = true}));
  Append(stream, TsPacketOf(0x100, 1, Bytes(payload.begin() + 184, payload.end())));
  EXPECT_EQ(ChooseTeletextPid(stream), 0x777);
}

// Read in place, the data callback gets the units a copying read hands on, with the same counts,
// whatever a PES's layout: units that fall whole into the packets go on packet by packet, units cut
// by a packet boundary are joined first, and a PES cut short is dropped whole, nothing of it sent.
TEST(OnePassReader, ReadingInPlaceHandsOnTheUnitsACopyingReadDoes) {
  const PesOptions usual{.stuffing = 36};
  const PesOptions unbounded{.unboundedLength = true, .stuffing = 36};
  const auto packets = [](const Bytes& pes, std::uint8_t& counter) {
    std::vector<Bytes> split;
    const Bytes stream = Packetize(kPid, pes, counter);
    for (auto at = stream.begin(); at != stream.end(); at += 188) split.emplace_back(at, at + 188);
    return split;
  };
  const auto join = [](const std::vector<Bytes>& parts) {
    Bytes stream;
    for (const Bytes& part : parts) Append(stream, part);
    return stream;
  };
  std::uint8_t counter = 0;
  Bytes longer = PesOf(DataUnits(5, 9), usual);
  longer.insert(longer.end(), 50, 0xAA);  // bytes after the declared end, in the last packet
  std::vector<Bytes> gap = packets(PesOf(DataUnits(20, 4), usual), counter);
  gap.erase(gap.begin() + 3);
  std::vector<Bytes> error = packets(PesOf(DataUnits(20, 5), usual), counter);
  error[2][1] |= 0x80;
  std::vector<Bytes> cut = packets(PesOf(DataUnits(20, 6), usual), counter);
  cut.resize(3);
  std::vector<Bytes> incomplete = packets(PesOf(DataUnits(11, 7), usual), counter);
  incomplete.pop_back();

  struct Case {
    const char* name;
    Bytes stream;
    std::size_t units;  // what a copying read hands on
  };
  const Case cases[] = {
      {"the usual layout",
       join({join(packets(PesOf(DataUnits(1, 1), usual), counter)),
             join(packets(PesOf(DataUnits(3, 2), usual), counter)),
             join(packets(PesOf(DataUnits(7, 3), usual), counter)),
             join(packets(PesOf(DataUnits(20, 4), usual), counter))}),
       31},
      {"units cut by packet boundaries",
       join({join(packets(PesOf(DataUnits(9, 1)), counter)), join(packets(PesOf(DataUnits(4, 2), usual), counter))}),
       13},
      {"an unbounded PES ends at the next start and at the end",
       join({join(packets(PesOf(DataUnits(6, 1), unbounded), counter)),
             join(packets(PesOf(DataUnits(5, 2), unbounded), counter))}),
       11},
      {"bytes after the declared end", join(packets(longer, counter)), 5},
      {"a gap, a transport error and the next start drop a PES whole",
       join({join(gap), join(error), join(cut), join(packets(PesOf(DataUnits(2, 8), usual), counter))}), 2},
      {"a PES still incomplete at the end",
       join({join(packets(PesOf(DataUnits(3, 2), usual), counter)), join(incomplete)}), 3},
  };
  for (const Case& c : cases) {
    const Delivered copied = Read(c.stream);
    EXPECT_EQ(UnitsSeen(copied.buffers).size(), c.units) << c.name;
    std::vector<Bytes> inPlace;
    recordings::OnePassReader reader(
        recordings::RecordingFormat::kTransportStream, kPid,
        [&](const std::uint8_t* data, std::int32_t length) { inPlace.emplace_back(data, data + length); });
    // A packet of another PID at the end: in place, all but the last packet go without a copy.
    Bytes stream = c.stream;
    Append(stream, TsPacketOf(0x1FFF, 0, Bytes(184, 0xFF)));
    const std::size_t taken = reader.FeedInPlace(stream);
    EXPECT_EQ(taken, c.stream.size()) << c.name;
    reader.Feed(std::span<const std::uint8_t>(stream).subspan(taken));
    const TsReadCounts counts = reader.Finish().Ts;
    EXPECT_TRUE(UnitsSeen(inPlace) == UnitsSeen(copied.buffers)) << c.name;
    EXPECT_EQ(counts.PesDelivered, copied.counts.PesDelivered) << c.name;
    EXPECT_EQ(counts.PesDropped, copied.counts.PesDropped) << c.name;
  }
}

// A file read with the data of the PID chosen so far handed on as it comes, the others passed
// over: however the input moves its choice on the way (a lower PID, a program map that comes late,
// a choice that returns to a PID it left), the receiver ends with what a whole read hands on, and
// started over only where the choice moved after data had gone, or to a PID passed over.
TEST(ReadInputInOnePass, HandingOnAsItComesEndsWithWhatAWholeReadGives) {
  std::map<std::uint16_t, std::uint8_t> counters;
  std::uint8_t seed = 0;
  const auto pes = [&](std::uint16_t pid) { return Packetize(pid, PesOf(DataUnits(2, seed += 3)), counters[pid]); };
  const auto pmt = [&](std::uint16_t pmtPid, std::uint16_t marked) {
    return PsiPacketOf(pmtPid, counters[pmtPid]++, PmtOf(pmtPid, {{marked, 0x06, kTeletextDescriptor}}));
  };
  // A video PES start whose counter the next packet repeats: that one is taken for a duplicate.
  const auto videoStart = [&](std::uint16_t pid) {
    return TsPacketOf(pid, counters[pid], PesOf(DataUnits(1), {.streamId = 0xE0}), {.unitStart = true});
  };
  // A PES whose first packet holds only the start of its header, so no survey of first packets
  // sees teletext in it.
  const auto splitHeader = [&](std::uint16_t pid) {
    const Bytes pes = PesOf(DataUnits(2, seed += 3));
    Bytes packets = TsPacketOf(pid, counters[pid]++, Bytes(pes.begin(), pes.begin() + 5), {.unitStart = true});
    Append(packets, TsPacketOf(pid, counters[pid]++, Bytes(pes.begin() + 5, pes.end())));
    return packets;
  };
  const Bytes pat = PsiPacketOf(0, 0, PatOf({0x100, 0x200}));
  struct Case {
    const char* name;
    std::vector<Bytes> packets;
    unsigned startsOver;
  };
  const Case cases[] = {
      {"one PID", {pes(0x30), pes(0x30), pat, pes(0x30)}, 0},
      {"a lower PID comes later", {pes(0x60), pes(0x60), pes(0x45), pes(0x60), pes(0x45)}, 1},
      {"the program map comes after data", {pes(0x20), pat, pmt(0x100, 0x250), pes(0x20), pes(0x250)}, 1},
      {"the choice returns to a PID it left",
       {pes(0x20), pes(0x250), pat, pmt(0x100, 0x250), pes(0x250), pmt(0x200, 0x20), pes(0x20), pes(0x250)},
       2},  // to 0x250 (whose teletext was passed over), and before the second read of 0x20
      {"a teletext PES whose header its first packet does not hold, then a program map",
       {splitHeader(0x250), pat, pmt(0x100, 0x250), pes(0x250)},
       1},  // the second read of 0x250
      {"the first teletext PES repeats the counter of the packet before it",
       {videoStart(0x30), pes(0x30), pes(0x30)},
       0},
      {"no teletext", {pat, pmt(0x100, 0x250)}, 0},
  };
  const std::string path = ::testing::TempDir() + "ts_reader_handing_on.ts";
  for (const Case& c : cases) {
    Bytes stream;
    for (const Bytes& p : c.packets) Append(stream, p);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(stream.data()), static_cast<std::streamsize>(stream.size()));
    std::vector<Bytes> whole, got;
    const recordings::RecordingSummary expected = recordings::ReadRecording(
        stream, recordings::RecordingFormat::kTransportStream, std::nullopt,
        [&](const std::uint8_t* data, std::int32_t length) { whole.emplace_back(data, data + length); });
    unsigned startsOver = 0;
    std::istringstream noStandardInput;
    const recordings::InputReadResult read = recordings::ReadInputInOnePass(
        path, recordings::RecordingFormat::kTransportStream, std::nullopt, noStandardInput,
        [&](const std::uint8_t* data, std::int32_t length) { got.emplace_back(data, data + length); }, false,
        [&] {
          ++startsOver;
          got.clear();
        });
    EXPECT_EQ(read.FailedTo, "") << c.name;
    EXPECT_EQ(read.Summary.Pid, expected.Pid) << c.name;
    EXPECT_EQ(read.Summary.Ts.PesDelivered, expected.Ts.PesDelivered) << c.name;
    EXPECT_TRUE(got == whole) << c.name << ": " << got.size() << " buffers, " << whole.size() << " expected";
    EXPECT_EQ(startsOver, c.startsOver) << c.name;
  }
  std::filesystem::remove(path);
}

// Any bytes are input: mutations of a valid stream must never read outside the input or deliver
// more than the input holds.
TEST(TsReader, SurvivesArbitraryBytes) {
  const ThreePes pes;
  Bytes valid = PsiPacketOf(0, 0, PatOf({0x100}));
  Append(valid, PsiPacketOf(0x100, 0, PmtOf(1, {{kPid, 0x06, kTeletextDescriptor}})));
  Append(valid, pes.Stream());
  std::mt19937 random(1234);
  for (int round = 0; round < 300; ++round) {
    Bytes input = valid;
    const int flips = 1 + static_cast<int>(random() % 40);
    for (int i = 0; i < flips; ++i) input[random() % input.size()] = static_cast<std::uint8_t>(random());
    if (round % 3 == 0) input.resize(random() % input.size());
    std::size_t deliveredBytes = 0;
    const std::optional<std::uint16_t> pid = ChooseTeletextPid(input);
    ReadTransportStream(input, pid.value_or(kPid), [&](const std::uint8_t*, std::int32_t length) {
      deliveredBytes += static_cast<std::size_t>(length);
    });
    EXPECT_LE(deliveredBytes, input.size()) << "round " << round;
  }
}

}  // namespace
}  // namespace tolv::testing
