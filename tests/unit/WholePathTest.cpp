// Every recording through reader, assembly and page store, as tolvane and the plug-in take them.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <sstream>

#include "decoder/StoreOnlyTarget.h"
#include "tests/unit/SamplePaths.h"
#include "tests/unit/TsBuilder.h"
#include "tools/recordings/OnePassReader.h"
#include "tools/recordings/Recording.h"

namespace tolv::testing {
namespace {

using recordings::RecordingSummary;

struct Received {
  std::unique_ptr<Reception> reception = std::make_unique<Reception>();
  RecordingSummary summary;
};

Received Receive(const std::string& name, std::optional<std::uint16_t> pid = std::nullopt) {
  Received result;
  std::istringstream noStandardInput;
  const recordings::InputBytes input = recordings::ReadWholeInput(SamplePath(name), noStandardInput);
  EXPECT_EQ(input.Error, "") << "the recording must be at " << SamplePath(name);
  result.summary = recordings::ReadRecording(
      input.View(), recordings::FormatOfInputName(name), pid,
      [&](const std::uint8_t* data, std::int32_t length) { result.reception->Receive(data, length); });
  return result;
}

struct StoreCounts {
  unsigned pages = 0, subpages = 0, pagesWithSubpages = 0;
};

StoreCounts Count(const CVTAllPages& pages) {
  StoreCounts counts;
  for (unsigned slot = 0; slot < kPageSlots; ++slot) {
    unsigned n = 0;
    for (const CVTPage* p = pages.FirstSubpage(slot); p != nullptr; p = CVTAllPages::NextSubpage(p)) ++n;
    counts.pages += n > 0 ? 1 : 0;
    counts.subpages += n;
    counts.pagesWithSubpages += n > 1 ? 1 : 0;
  }
  return counts;
}

// A stored row with its spacing attributes (codes below 0x20) shown as spaces.
std::string RowText(const CVTAllPages& pages, unsigned page, std::uint16_t subcode, unsigned row) {
  for (const CVTPage* p = pages.FirstSubpage(page % 800); p != nullptr; p = CVTAllPages::NextSubpage(p)) {
    if (p->GetSubcode() != subcode || !p->Rows[row]) continue;
    std::string text;
    for (std::uint8_t ch : *p->Rows[row]) text.push_back(ch < 0x20 ? ' ' : static_cast<char>(ch));
    return text;
  }
  return "";
}

// Pages still under assembly when a recording ends are not stored, so each count is what the
// recording's headers hold less the pages whose only transmission was cut off: the BBC
// recording's 378 pages lose 888, its 949 subpages also 151/2, 229/6 and 607/4 (so 151 keeps 13
// of its 14 subpages; all 217 pages with subpages keep more than one).
TEST(WholePath, EveryRecordingGivesItsPagesAndSubpages) {
  struct Case {
    const char* name;
    std::optional<std::uint16_t> pid;
    unsigned pages, subpages, pagesWithSubpages;
  };
  const Case cases[] = {
      {kArd, 0x13F0, 143, 143, 0},      {kArte, 0x042C, 96, 104, 7},         {kRai, 0x0240, 25, 25, 0},
      {kAnimalPlanet, 0x003E, 2, 2, 0}, {kBbc, std::nullopt, 377, 945, 217}, {kVhs, std::nullopt, 3, 3, 0},
  };
  for (const Case& c : cases) {
    const Received got = Receive(c.name);
    EXPECT_EQ(got.summary.Pid, c.pid) << c.name;
    const StoreCounts counts = Count(got.reception->AllPages());
    EXPECT_EQ(counts.pages, c.pages) << c.name;
    EXPECT_EQ(counts.subpages, c.subpages) << c.name;
    EXPECT_EQ(counts.pagesWithSubpages, c.pagesWithSubpages) << c.name;
  }
}

// Rows as stored: 7-bit characters, national characters at their codes ('}' is the German u
// umlaut, '#' the French e acute, '{' the Swedish a umlaut).
TEST(WholePath, KnownPagesHoldTheirText) {
  struct Case {
    const char* name;
    unsigned page;
    std::uint16_t subcode;
    unsigned row;
    std::string text;
  };
  const Case cases[] = {
      {kBbc, 100, 0, 0, "        CEEFAX 1 100 Sun 22 Jan 08:16/03"},
      {kBbc, 100, 0, 9, " A-Z INDEX      199 NEWS HEADLINES   101"},
      {kArd, 100, 0, 7, "   Neue Gr}nen-Doppelspitze gew{hlt. 106"},
      {kArte, 406, 0, 7, " Emission r#alis#e par Henri Xhonneux   "},
      {kRai, 204, 0, 4, "    In coda il clou fra Milan e Juve    "},
      {kAnimalPlanet, 691, 0, 22, "   att hon var ute p} en afr{rsresa.    "},
  };
  for (const Case& c : cases) {
    const Received got = Receive(c.name);
    EXPECT_EQ(RowText(got.reception->AllPages(), c.page, c.subcode, c.row), c.text)
        << c.name << " page " << c.page << " row " << c.row;
  }
}

TEST(WholePath, BbcSubpagesOf151AreTheTransmittedOnes) {
  const Received got = Receive(kBbc);
  std::vector<std::uint16_t> subcodes;
  for (const CVTPage* p = got.reception->AllPages().FirstSubpage(151); p != nullptr; p = CVTAllPages::NextSubpage(p)) {
    subcodes.push_back(p->GetSubcode());
  }
  EXPECT_EQ(subcodes, (std::vector<std::uint16_t>{1, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
}

TEST(WholePath, TheCorruptPesIsDroppedAndTheSubtitlesAroundItSurvive) {
  const Received got = Receive(kAnimalPlanet);
  const recordings::TsReadCounts& ts = got.summary.Ts;
  // 26 PES start on the PID: one claims 49770 bytes and is cut off by the next, one carries
  // data_identifier 0x94; the other 24 arrive whole.
  EXPECT_EQ(ts.PesDelivered, 24u);
  EXPECT_EQ(ts.PesDropped, 1u);
  EXPECT_EQ(ts.PesSkipped, 1u);
  EXPECT_NE(got.reception->AllPages().GetPage(691, 0, gmFirst), nullptr);
  EXPECT_NE(got.reception->AllPages().GetPage(695, 0, gmFirst), nullptr);
}

TEST(WholePath, ArteDeliversEveryPesOfItsTeletextPid) {
  const Received got = Receive(kArte);
  EXPECT_EQ(got.summary.Ts.PesDelivered, 916u);
  EXPECT_EQ(got.summary.Ts.PesDropped + got.summary.Ts.PesSkipped + got.summary.Ts.ContinuityGaps, 0u);
}

TEST(WholePath, EachOfTheFourRaiTeletextPidsCanBeChosen) {
  struct Case {
    std::uint16_t pid;
    unsigned pages;
  };
  for (const Case& c : {Case{0x240, 25}, Case{0x241, 26}, Case{0x242, 32}, Case{0x257, 13}, Case{0x243, 0}}) {
    const Received got = Receive(kRai, c.pid);
    EXPECT_EQ(Count(got.reception->AllPages()).pages, c.pages) << "PID " << c.pid;
  }
}

// A noisy tape recording: wrong letters and damaged Hamming bytes, but nothing outside what
// reception may produce.
TEST(WholePath, TheNoisyVhsRecordingDecodesWithoutHarm) {
  const Received got = Receive(kVhs);
  EXPECT_EQ(got.summary.T42Units, 240u);
  const CVTAllPages& pages = got.reception->AllPages();
  EXPECT_EQ(RowText(pages, 100, 1, 0).substr(0, 20), "        CEEFAX 1 100");
  for (unsigned slot = 0; slot < kPageSlots; ++slot) {
    for (const CVTPage* p = pages.FirstSubpage(slot); p != nullptr; p = CVTAllPages::NextSubpage(p)) {
      EXPECT_EQ(p->Number(), slot);
      EXPECT_LE(p->GetSubcode(), 3979) << "a subcode of four decimal digits at most";
      for (const auto& row : p->Rows) {
        if (!row) continue;
        for (std::uint8_t ch : *row) EXPECT_LT(ch, 0x80) << "page " << DisplayNumber(slot);
      }
    }
  }
}

// The data callback sees the same buffers, the same PID and the same counts whether the input
// comes whole or in pieces of any size (across packet boundaries, one byte at a time, at random),
// with the PID chosen at the end or asked for.
TEST(WholePath, OnePassReadingInPiecesHandsOnWhatAWholeReadDoes) {
  struct Case {
    const char* name;
    std::optional<std::uint16_t> pid;
  };
  for (const Case& c :
       {Case{kArd, {}}, Case{kArte, {}}, Case{kRai, {}}, Case{kRai, 0x257}, Case{kAnimalPlanet, {}}, Case{kVhs, {}}}) {
    std::istringstream noStandardInput;
    const recordings::InputBytes input = recordings::ReadWholeInput(SamplePath(c.name), noStandardInput);
    const std::span<const std::uint8_t> bytes = input.View();
    const recordings::RecordingFormat format = recordings::FormatOfInputName(c.name);
    std::vector<std::vector<std::uint8_t>> whole;
    const RecordingSummary expected = recordings::ReadRecording(
        bytes, format, c.pid,
        [&](const std::uint8_t* data, std::int32_t length) { whole.emplace_back(data, data + length); });
    ASSERT_FALSE(whole.empty()) << c.name;
    std::mt19937 random(7);
    for (const std::size_t piece :
         {std::size_t{1}, std::size_t{187}, std::size_t{189}, std::size_t{65536}, std::size_t{0}}) {
      std::vector<std::vector<std::uint8_t>> pieces;
      recordings::OnePassReader reader(format, c.pid, [&](const std::uint8_t* data, std::int32_t length) {
        pieces.emplace_back(data, data + length);
      });
      for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t size = std::min(bytes.size() - at, piece != 0 ? piece : 1 + random() % 5000);
        reader.Feed(bytes.subspan(at, size));
        at += size;
      }
      const RecordingSummary got = reader.Finish();
      const std::string context = std::string(c.name) + " in pieces of " + std::to_string(piece);
      EXPECT_TRUE(pieces == whole) << context << ": " << pieces.size() << " buffers, " << whole.size() << " expected";
      EXPECT_EQ(got.Pid, expected.Pid) << context;
      EXPECT_EQ(got.T42Units, expected.T42Units) << context;
      EXPECT_EQ(got.Ts.PesDelivered, expected.Ts.PesDelivered) << context;
      EXPECT_EQ(got.Ts.PesDropped, expected.Ts.PesDropped) << context;
      EXPECT_EQ(got.Ts.PesSkipped, expected.Ts.PesSkipped) << context;
      EXPECT_EQ(got.Ts.ContinuityGaps, expected.Ts.ContinuityGaps) << context;
      EXPECT_EQ(got.Ts.Packets, expected.Ts.Packets) << context;
    }
  }
}

// Bytes that stay where they are are read without a copy, PES included, and the data callback
// then sees the units a whole read gives, in the same order, with the same counts: in pieces of
// any size, and with pieces that are copied in between.
TEST(WholePath, ReadingInPlaceHandsOnTheUnitsAWholeReadDoes) {
  for (const char* name : {kArd, kArte, kRai, kAnimalPlanet, kVhs}) {
    std::istringstream noStandardInput;
    const recordings::InputBytes input = recordings::ReadWholeInput(SamplePath(name), noStandardInput);
    const std::span<const std::uint8_t> bytes = input.View();
    const recordings::RecordingFormat format = recordings::FormatOfInputName(name);
    std::vector<std::vector<std::uint8_t>> whole;
    const RecordingSummary expected = recordings::ReadRecording(
        bytes, format, std::nullopt,
        [&](const std::uint8_t* data, std::int32_t length) { whole.emplace_back(data, data + length); });
    std::mt19937 random(11);
    for (const bool copiedBetween : {false, true}) {
      for (const std::size_t piece : {std::size_t{1} << 20, std::size_t{0}}) {
        std::vector<std::vector<std::uint8_t>> buffers;
        recordings::OnePassReader reader(format, std::nullopt, [&](const std::uint8_t* data, std::int32_t length) {
          buffers.emplace_back(data, data + length);
        });
        std::size_t at = 0;
        for (bool inPlace = true; at < bytes.size(); inPlace = !copiedBetween || !inPlace) {
          const std::size_t size = std::min(bytes.size() - at, piece != 0 ? piece : 1 + random() % 5000);
          if (!inPlace) {
            reader.Feed(bytes.subspan(at, size));
            at += size;
          } else if (const std::size_t taken = reader.FeedInPlace(bytes.subspan(at, size)); taken > 0) {
            at += taken;
          } else {
            reader.Feed(bytes.subspan(at));
            at = bytes.size();
          }
        }
        const RecordingSummary got = reader.Finish();
        const std::string context = std::string(name) + (copiedBetween ? " copied between pieces" : " in place") +
                                    " of " + std::to_string(piece);
        EXPECT_TRUE(UnitsSeen(buffers) == UnitsSeen(whole)) << context;
        EXPECT_EQ(got.Pid, expected.Pid) << context;
        EXPECT_EQ(got.T42Units, expected.T42Units) << context;
        EXPECT_EQ(got.Ts.PesDelivered, expected.Ts.PesDelivered) << context;
        EXPECT_EQ(got.Ts.PesDropped, expected.Ts.PesDropped) << context;
        EXPECT_EQ(got.Ts.PesSkipped, expected.Ts.PesSkipped) << context;
      }
    }
  }
}

#ifndef _WIN32  // changing the size of a file that another handle has open, as POSIX systems allow
// A file that another program shortens while it is read fails the read with a reason, whether the
// cut leaves pages of the mapping with no file behind them (a touch of one ends a process with
// SIGBUS unless it is caught) or falls inside the last page (read as zeros without a fault). A file
// that grows meanwhile is read to its new end.
TEST(WholePath, AFileThatChangesSizeWhileItIsReadIsReadToItsEndOrFails) {
  std::istringstream noStandardInput;
  const recordings::InputBytes arte = recordings::ReadWholeInput(SamplePath(kArte), noStandardInput);
  const std::string path = ::testing::TempDir() + "whole_path_changing.ts";
  const auto write = [&](int copies, std::ios::openmode mode) {
    std::ofstream file(path, std::ios::binary | mode);
    for (int copy = 0; copy < copies; ++copy) {
      file.write(reinterpret_cast<const char*>(arte.View().data()), static_cast<std::streamsize>(arte.View().size()));
    }
  };
  constexpr std::uint16_t kArtePid = 0x42C;
  using Buffers = std::vector<std::vector<std::uint8_t>>;
  const auto read = [&](const std::function<void()>& onFirst, Buffers& delivered) {
    delivered.clear();
    return recordings::ReadInputInOnePass(path, recordings::RecordingFormat::kTransportStream, kArtePid,
                                          noStandardInput, [&](const std::uint8_t* data, std::int32_t length) {
                                            delivered.emplace_back(data, data + length);
                                            if (delivered.size() == 1) onFirst();
                                          });
  };
  constexpr int kCopies = 8;
  const std::uintmax_t size = kCopies * arte.View().size();
  Buffers wholeDelivered;
  write(kCopies + 1, std::ios::trunc);
  ASSERT_EQ(read([] {}, wholeDelivered).FailedTo, "");

  struct Case {
    const char* what;
    std::function<void()> change;
    const char* why;
  };
  const Case cases[] = {
      {"cut to 64 KiB", [&] { std::filesystem::resize_file(path, 1 << 16); }, "the file shrank while it was read"},
      {"cut by 100 bytes", [&] { std::filesystem::resize_file(path, size - 100); },
       "the file shrank while it was read"},
      {"one more copy", [&] { write(1, std::ios::app); }, ""},
  };
  for (const Case& c : cases) {
    write(kCopies, std::ios::trunc);
    Buffers delivered;
    const recordings::InputReadResult result = read(c.change, delivered);
    EXPECT_EQ(result.FailedTo, *c.why == 0 ? "" : "read") << c.what;
    EXPECT_EQ(result.ErrorNumber, 0) << c.what;
    EXPECT_EQ(result.Why, c.why) << c.what;
    EXPECT_GT(delivered.size(), 1u) << c.what;  // what came before the change has been handed on
    if (*c.why == 0) {
      EXPECT_TRUE(UnitsSeen(delivered) == UnitsSeen(wholeDelivered)) << c.what;
    }
  }
  Buffers delivered;
  std::filesystem::resize_file(path, 1 << 16);
  EXPECT_EQ(read([] {}, delivered).FailedTo, "");  // what is left of a file reads without fault
  std::filesystem::remove(path);
}

// Only a shortened mapped file's bus errors are caught: any other still ends the process, by the
// signal or, where a sanitizer had the handler first, by its report.
TEST(WholePathDeathTest, ABusErrorElsewhereStillEndsTheProcess) {
  const std::unique_ptr<recordings::FileMapping> mapping = recordings::FileMapping::Map(SamplePath(kArte));
  ASSERT_NE(mapping, nullptr);  // the handler is in place
  const auto ended = [](int status) {
    return (WIFSIGNALED(status) && WTERMSIG(status) == SIGBUS) || (WIFEXITED(status) && WEXITSTATUS(status) != 0);
  };
  EXPECT_EXIT(std::raise(SIGBUS), ended, "");
}
#endif

}  // namespace
}  // namespace tolv::testing
