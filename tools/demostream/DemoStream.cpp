#include "tools/demostream/DemoStream.h"

#include <cstdio>
#include <map>
#include <string>

#include "decoder/Vt_fkt.h"
#include "tools/demostream/TeletextEncoder.h"
#include "tools/demostream/TsWriter.h"

namespace tolv::demo {
namespace {

constexpr std::uint64_t kTicksPerPes = 3600;  // 40 ms of the 90 kHz clock
constexpr unsigned kStartSecond = 12 * 3600;  // the clock starts at 12:00:00

// The running header: columns 8..39, the clock in the last eight.
std::string HeaderText(unsigned pageNumber, unsigned second) {
  char text[40];
  std::snprintf(text, sizeof text,
                "\x07Tol-Vane\x02%3u\x07"
                "Di 08.12.\x03%02u:%02u:%02u",
                pageNumber, second / 3600 % 24, second / 60 % 60, second % 60);
  return text;
}

struct Packet {
  unsigned magazine = 0;
  unsigned packet = 0;
  const SourcePage* page = nullptr;  // for a header: the page it starts
  std::array<std::uint8_t, 40> wire{};
};

// The page's triplets in packets X/26 of designation codes 0, 1, ...; the last one filled up
// with termination markers.
void AppendEnhancements(std::vector<Packet>& out, unsigned magazine, const std::vector<std::uint32_t>& triplets) {
  constexpr std::uint32_t kTermination = 63 | 0x1Fu << 6;
  for (std::size_t start = 0, code = 0; start < triplets.size() && code < 16; start += 13, ++code) {
    Packet p{magazine, 26, nullptr, {}};
    p.wire[0] = encode::WireHamming(static_cast<unsigned>(code));
    for (std::size_t t = 0; t < 13; ++t) {
      const std::uint32_t triplet = start + t < triplets.size() ? triplets[start + t] : kTermination;
      const std::array<std::uint8_t, 3> bytes = EncodeHamming2418(triplet);
      std::copy(bytes.begin(), bytes.end(), p.wire.begin() + 1 + 3 * static_cast<std::ptrdiff_t>(t));
    }
    out.push_back(p);
  }
}

// The packets of one page: a header (its clock filled in when sent), its packets X/26, then its
// rows.
void AppendPage(std::vector<Packet>& out, const SourcePage& page) {
  const unsigned magazine = page.number / 100;
  out.push_back({magazine, 0, &page, {}});
  AppendEnhancements(out, magazine, page.enhancements);
  for (unsigned r = 1; r < 24; ++r) {
    if (!page.rows[r]) continue;
    Packet p{magazine, r, nullptr, {}};
    for (unsigned c = 0; c < 40; ++c) p.wire[c] = encode::WireText((*page.rows[r])[c]);
    out.push_back(p);
  }
}

class Broadcast {
 public:
  Broadcast(const DemoSchedule& schedule, std::vector<std::vector<std::uint8_t>>* pesUnits)
      : schedule_(schedule), writer_(TeletextService{}), pesUnits_(pesUnits) {}

  void Send(const std::vector<Packet>& packets, bool serial) {
    for (const Packet& p : packets) {
      if (p.page != nullptr) {
        encode::HeaderFields f;
        f.pageTens = p.page->number / 10 % 10;
        f.pageUnits = p.page->number % 10;
        f.s1 = p.page->subcode % 10;
        f.s2 = p.page->subcode / 10 % 10;
        f.s3 = p.page->subcode / 100 % 10;
        f.s4 = p.page->subcode / 1000;
        f.c4 = p.page->control & 0x01;
        f.c5 = p.page->control & 0x02;
        f.c6 = p.page->control & 0x04;
        f.c7to10 = (p.page->control >> 3) & 0x0F;
        f.c11 = serial;
        f.national = p.page->national;
        const unsigned second = kStartSecond + static_cast<unsigned>(pts_ / 90000);
        Add(p.magazine, 0, encode::HeaderData(f, HeaderText(p.page->number, second)));
      } else {
        Add(p.magazine, p.packet, p.wire);
      }
      if (units_.size() == schedule_.unitsPerPes) Flush();
    }
  }

  std::vector<std::uint8_t> Finish() {
    Flush();
    return writer_.Bytes();
  }

 private:
  void Add(unsigned magazine, unsigned packet, const std::array<std::uint8_t, 40>& wire) {
    // Alternate field parity and spread the units over the lines 7..22 a real inserter would use.
    line_ = (line_ + 1) % 16;
    const auto lineByte = static_cast<std::uint8_t>(0xC0 | (line_ & 1) << 5 | (7 + line_));
    units_.push_back(encode::MakeUnit(magazine, packet, wire, 0x02, lineByte));
  }

  void Flush() {
    if (units_.empty()) return;
    // Tables once a second, as a receiver tuning in needs them.
    if (pes_ % 25 == 0) {
      writer_.WritePat();
      writer_.WritePmt();
    }
    std::vector<DataUnit> units(units_.begin(), units_.end());
    writer_.WritePes(pts_, units);
    if (pesUnits_ != nullptr) {
      auto& bytes = pesUnits_->emplace_back();
      for (const DataUnit& u : units) bytes.insert(bytes.end(), u.begin(), u.end());
    }
    units_.clear();
    pts_ += kTicksPerPes;
    ++pes_;
  }

  DemoSchedule schedule_;
  TsWriter writer_;
  std::vector<std::vector<std::uint8_t>>* pesUnits_;
  std::vector<encode::Unit> units_;
  std::uint64_t pts_ = 90000;
  unsigned pes_ = 0;
  unsigned line_ = 0;
};

// Pages grouped by number, each with its subpages in the order written.
std::map<unsigned, std::vector<const SourcePage*>> ByNumber(const std::vector<SourcePage>& pages) {
  std::map<unsigned, std::vector<const SourcePage*>> out;
  for (const SourcePage& p : pages) out[p.number].push_back(&p);
  return out;
}

// One cycle: every page once, a page with subpages showing the next of them.
std::map<unsigned, std::vector<Packet>> CyclePerMagazine(
    const std::map<unsigned, std::vector<const SourcePage*>>& pages, unsigned cycle) {
  std::map<unsigned, std::vector<Packet>> out;
  for (const auto& [number, subpages] : pages) AppendPage(out[number / 100], *subpages[cycle % subpages.size()]);
  return out;
}

}  // namespace

std::vector<std::uint8_t> BuildDemoStream(const std::vector<SourcePage>& pages, const DemoSchedule& schedule,
                                          std::vector<std::vector<std::uint8_t>>* units) {
  const auto byNumber = ByNumber(pages);
  Broadcast broadcast(schedule, units);
  for (unsigned cycle = 0; cycle < schedule.parallelCycles; ++cycle) {
    // Parallel: the magazines' packets interleave one by one.
    const auto magazines = CyclePerMagazine(byNumber, cycle);
    std::vector<Packet> mixed;
    for (std::size_t i = 0;; ++i) {
      bool any = false;
      for (const auto& [magazine, packets] : magazines) {
        if (i < packets.size()) {
          mixed.push_back(packets[i]);
          any = true;
        }
      }
      if (!any) break;
    }
    broadcast.Send(mixed, false);
  }
  for (unsigned cycle = 0; cycle < schedule.serialCycles; ++cycle) {
    for (const auto& [magazine, packets] : CyclePerMagazine(byNumber, schedule.parallelCycles + cycle))
      broadcast.Send(packets, true);
  }
  // A last header ends the last page, as the next page of a real service would.
  if (!pages.empty()) broadcast.Send({Packet{pages.front().number / 100, 0, &pages.front(), {}}}, true);
  return broadcast.Finish();
}

}  // namespace tolv::demo
