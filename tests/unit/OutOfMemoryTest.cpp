// Reception and decoding when the allocator fails: pages or rows are dropped, nothing crashes,
// nothing stored is corrupted, and everything works again once memory is back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "RecordingTarget.h"
#include "pages/RowDecoder.h"

namespace {
// Every n-th non-throwing allocation fails (0: none, 1: all).
std::atomic<unsigned> g_failEvery{0};
std::atomic<unsigned> g_count{0};

bool ShouldFail() {
  const unsigned every = g_failEvery.load();
  return every != 0 && g_count.fetch_add(1) % every == 0;
}

struct FailingAllocations {
  explicit FailingAllocations(unsigned every) {
    g_count = 0;
    g_failEvery = every;
  }
  ~FailingAllocations() { g_failEvery = 0; }
};
}  // namespace

// The data path allocates only through the non-throwing forms; replacing them tests it with an
// allocator that fails.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return ShouldFail() ? nullptr : std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return ShouldFail() ? nullptr : std::malloc(size == 0 ? 1 : size);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void* operator new(std::size_t size) {
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

namespace tolv {
namespace {

using encode::HeaderUnit;
using encode::RowUnit;
using test::RowText;

std::vector<std::uint8_t> ManyPages() {
  std::vector<std::uint8_t> stream;
  for (unsigned i = 0; i < 300; ++i) {
    const unsigned number = 100 + i % 50;
    const auto part = encode::Join({HeaderUnit(number, i % 5), RowUnit(1, 1, "PAGE " + std::to_string(number)),
                                    RowUnit(1, 2, "SUB " + std::to_string(i % 5))});
    stream.insert(stream.end(), part.begin(), part.end());
  }
  return stream;
}

TEST(OutOfMemory, ReceptionDropsWhatFindsNoMemoryAndGoesOn) {
  for (unsigned every : {1u, 2u, 3u, 7u}) {
    test::Feed feed;
    {
      FailingAllocations failing(every);
      feed.Send(ManyPages());
    }
    // Whatever was stored holds its own rows, never another page's.
    for (unsigned number = 100; number < 150; ++number) {
      const CVTAllPages& store = feed.target.AllPages();
      for (const CVTPage* p = store.FirstSubpage(number); p != nullptr; p = CVTAllPages::NextSubpage(p)) {
        const std::string row1 = RowText(*p, 1), row2 = RowText(*p, 2);
        EXPECT_TRUE(row1 == "<absent>" || row1 == "PAGE " + std::to_string(number)) << row1;
        EXPECT_TRUE(row2 == "<absent>" || row2 == "SUB " + std::to_string(p->GetSubcode())) << row2;
      }
    }
    if (every == 1) {
      EXPECT_TRUE(feed.target.received.empty());
    } else {
      EXPECT_FALSE(feed.target.received.empty());
    }
    feed.Send({HeaderUnit(700), RowUnit(7, 1, "BACK"), HeaderUnit(701)});
    ASSERT_NE(feed.Stored(700), nullptr) << every;
    EXPECT_EQ(RowText(*feed.Stored(700), 1), "BACK");
  }
}

TEST(OutOfMemory, CellsWithoutMemoryReadAsBlankAndDecodeLater) {
  CVTPage page;
  page.Rows[2] = NewRow();
  (*page.Rows[2])[0] = 'Q';
  {
    FailingAllocations failing(1);
    EXPECT_EQ(GetDisplayCell(page, 0, 2), TVtCell{});
    EXPECT_FALSE(page.CellsValid);
    std::vector<std::uint8_t> row(40, 'R');
    page.SetRow(3, row.data(), 0);  // no memory for the row: it stays absent
    EXPECT_FALSE(page.Rows[3]);
  }
  EXPECT_EQ(GetDisplayCell(page, 0, 2).Ch, 'Q');
}

}  // namespace
}  // namespace tolv
