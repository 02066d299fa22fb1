// What the viewer's tests share: a working directory laid out like the host's, recordings cut
// into data-callback buffers, a real data thread that delivers them through the window as the
// plug-in's data callback will, a probe that tells in advance where in a recording each page is
// completed, and a paint-box canvas that counts what is drawn.
#pragma once

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "decoder/MagazineAssembly.h"
#include "decoder/StoreOnlyTarget.h"
#include "platform/portable/PortableServices.h"
#include "tests/unit/SamplePaths.h"
#include "tools/recordings/Recording.h"
#include "ui/Application.h"
#include "ui/headless/Driver.h"
#include "ui/raster/RasterCanvas.h"
#include "viewer/Formtolvane.h"
#include "viewer/Reveal.h"

namespace tolv::testing {

using Buffer = std::vector<std::uint8_t>;

// The data callbacks of a recording, one buffer each, as the readers cut it.
inline std::vector<Buffer> RecordingBuffers(std::span<const std::uint8_t> bytes, recordings::RecordingFormat format) {
  std::vector<Buffer> buffers;
  recordings::ReadRecording(bytes, format, std::nullopt, [&](const std::uint8_t* data, std::int32_t length) {
    buffers.emplace_back(data, data + length);
  });
  return buffers;
}

inline std::vector<Buffer> RecordingBuffers(const std::string& name) {
  std::istringstream noInput;
  const recordings::InputBytes input = recordings::ReadWholeInput(SamplePath(name), noInput);
  EXPECT_EQ(input.Error, "");
  return RecordingBuffers(input.View(), recordings::FormatOfInputName(name));
}

// A fresh directory made the working directory for the test's lifetime, holding
// plugins/tolv.fon (when withFonts) and plugins/vtx/, as the host's directory does.
class HostDirectory {
 public:
  explicit HostDirectory(bool withFonts = true) : previous_(std::filesystem::current_path()) {
    std::random_device seed;
    do {
      root_ = std::filesystem::temp_directory_path() / ("tolv-viewer-" + std::to_string(seed()));
    } while (!std::filesystem::create_directory(root_));
    std::filesystem::create_directories(root_ / "plugins" / "vtx");
    if (withFonts) std::filesystem::copy_file(TOLV_FONT_FILE, root_ / "plugins" / "tolv.fon");
    std::filesystem::current_path(root_);
  }
  HostDirectory(const HostDirectory&) = delete;
  HostDirectory& operator=(const HostDirectory&) = delete;
  ~HostDirectory() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  const std::filesystem::path& Root() const { return root_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path root_;
};

// The first steps of the plug-in's data callback and the reception after them: the window is
// reached only through a hold; without a window the callback does nothing more.
inline bool DataCallback(const Buffer& buffer, MagazineAssembly& assembly, std::atomic<bool>& resetPending) {
  const FormTolvUse window = UseFormTolv();
  if (!window) return false;
  assembly.Receive(buffer.data(), static_cast<std::int32_t>(buffer.size()), window->HandOver, resetPending);
  return true;
}

// The host's data thread: a real thread that delivers the buffers when the test says so and
// reports back once they are through, so a test can play the user between deliveries.
class DataThread {
 public:
  explicit DataThread(std::vector<Buffer> buffers) : buffers_(std::move(buffers)), thread_([this] { Run(); }) {}
  DataThread(const DataThread&) = delete;
  DataThread& operator=(const DataThread&) = delete;
  ~DataThread() {
    {
      const std::lock_guard guard(lock_);
      stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }

  // Delivers the buffers before index end; returns when the data thread is through them.
  void DeliverUntil(std::size_t end) {
    std::unique_lock guard(lock_);
    target_ = std::min(end, buffers_.size());
    wake_.notify_all();
    done_.wait(guard, [this] { return next_ >= target_; });
  }
  void Deliver(std::size_t count) { DeliverUntil(Delivered() + count); }
  void DeliverAll() { DeliverUntil(buffers_.size()); }
  std::size_t Delivered() {
    const std::lock_guard guard(lock_);
    return next_;
  }
  std::size_t Size() const { return buffers_.size(); }
  // Set when a window is opened, as the plug-in's menu entry does.
  std::atomic<bool> ResetPending{true};
  std::atomic<unsigned> CallbacksWithoutWindow{0};

 private:
  void Run() {
    std::unique_lock guard(lock_);
    for (;;) {
      wake_.wait(guard, [this] { return stop_ || next_ < target_; });
      if (stop_) return;
      while (next_ < target_) {
        const Buffer& buffer = buffers_[next_];
        guard.unlock();
        if (!DataCallback(buffer, assembly_, ResetPending)) ++CallbacksWithoutWindow;
        guard.lock();
        ++next_;
      }
      done_.notify_all();
    }
  }

  std::vector<Buffer> buffers_;
  MagazineAssembly assembly_;
  std::mutex lock_;
  std::condition_variable wake_;
  std::condition_variable done_;
  std::size_t next_ = 0;
  std::size_t target_ = 0;
  bool stop_ = false;
  std::thread thread_;  // last: it starts once everything above is ready
};

// Runs the buffers through an assembly of its own and notes, per buffer, which pages were
// completed and which headers passed: where to stop a delivery to reach a given moment.
class Probe : public StoreOnlyTarget {
 public:
  struct HandOver {
    std::size_t buffer;
    std::uint16_t number, subcode;
  };
  struct Header {
    std::size_t buffer;
    std::string row;  // 40 bytes, as the window receives it
  };

  explicit Probe(const std::vector<Buffer>& buffers) {
    MagazineAssembly assembly;
    std::atomic<bool> reset{true};
    for (current_ = 0; current_ < buffers.size(); ++current_) {
      const Buffer& b = buffers[current_];
      assembly.Receive(b.data(), static_cast<std::int32_t>(b.size()), *this, reset);
    }
  }
  void ReceivePage(CVTPage& page) override { handOvers.push_back({current_, page.Number(), page.GetSubcode()}); }
  void ReceiveHeader(std::uint8_t* row) override { headers.push_back({current_, std::string(row, row + kColumns)}); }

  // The index one past the buffer that completes the first transmission of number (and
  // subcode, if given) in a buffer at or after from.
  std::size_t EndOfHandOver(std::uint16_t number, std::size_t from = 0,
                            std::optional<std::uint16_t> subcode = std::nullopt) const {
    for (const HandOver& h : handOvers) {
      if (h.buffer >= from && h.number == number && (!subcode || h.subcode == *subcode)) return h.buffer + 1;
    }
    ADD_FAILURE() << "page " << number << " is not completed after buffer " << from;
    return 0;
  }
  std::vector<HandOver> HandOversIn(std::size_t from, std::size_t end, std::uint16_t number) const {
    std::vector<HandOver> found;
    for (const HandOver& h : handOvers) {
      if (h.buffer >= from && h.buffer < end && h.number == number) found.push_back(h);
    }
    return found;
  }
  // A transmission of number after which at least `others` transmissions of its other
  // subcodes come before the same subcode comes again: a moment to hold a subpage.
  std::optional<HandOver> HoldableTransmission(std::uint16_t number, unsigned others) const {
    for (std::size_t i = 0; i < handOvers.size(); ++i) {
      if (handOvers[i].number != number) continue;
      unsigned between = 0;
      for (std::size_t j = i + 1; j < handOvers.size(); ++j) {
        if (handOvers[j].number != number) continue;
        if (handOvers[j].subcode == handOvers[i].subcode) break;
        if (++between >= others) return handOvers[i];
      }
    }
    return std::nullopt;
  }
  // The last header in the buffers before end.
  const Header* LastHeaderBefore(std::size_t end) const {
    const Header* last = nullptr;
    for (const Header& h : headers) {
      if (h.buffer < end) last = &h;
    }
    return last;
  }

  std::vector<HandOver> handOvers;
  std::vector<Header> headers;

 private:
  std::size_t current_ = 0;
};

// The paint box's canvas: pixels as the raster canvas paints them, plus a count of what was
// drawn. Every PaintPage fills the left margin once; nothing else fills from (0, 0).
class CountingCanvas : public ui::Canvas {
 public:
  CountingCanvas(int width, int height) : raster(width, height) {}

  void SetFontName(std::string_view faceName) override { raster.SetFontName(faceName); }
  void SetFontHeight(int pixels) override { raster.SetFontHeight(pixels); }
  void SetFontColor(ui::TColor color) override { raster.SetFontColor(color); }
  void SetBrushColor(ui::TColor color) override { raster.SetBrushColor(color); }
  void TextOut(int x, int y, std::uint8_t character) override {
    ++cellsDrawn;
    if (y == 0) ++headerCellsDrawn;
    raster.TextOut(x, y, character);
  }
  void FillRect(const ui::TRect& rect) override {
    if (rect.Left == 0 && rect.Top == 0) ++pagePaints;
    raster.FillRect(rect);
  }
  void CopyRect(const ui::TRect& target, ui::Canvas& source, const ui::TRect& sourceRect) override {
    raster.CopyRect(target, source, sourceRect);
  }
  void ResetCounts() { pagePaints = cellsDrawn = headerCellsDrawn = 0; }

  ui::RasterCanvas raster;
  unsigned pagePaints = 0;
  unsigned cellsDrawn = 0;
  unsigned headerCellsDrawn = 0;
};

// A headless session with the viewer window open in a host directory, its paint box on a
// counting canvas.
class ViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetReveal(false);
    session_.Backend().SetCanvasFactory([this](ui::PaintBox& box) {
      auto made = std::make_shared<CountingCanvas>(box.Width(), box.Height());
      canvas_ = made.get();
      return made;
    });
  }
  void TearDown() override {
    ui::Application().FreeAllForms();
    SetReveal(false);
  }

  TFormTolv& Open() {
    TFormTolv* window = CreateFormTolv();
    window->Show();
    return *window;
  }
  CountingCanvas& Canvas() { return *canvas_; }
  // Opens the viewer, feeds the whole recording, then types page: a page from memory.
  TFormTolv& ShowFromMemory(const char* recording, const std::string& page) {
    data_ = std::make_unique<DataThread>(RecordingBuffers(recording));
    TFormTolv& window = Open();
    data_->DeliverAll();
    Type(window, page);
    EXPECT_EQ(window.PanelShow->Caption().substr(0, 11), " Zeige: " + page);
    return window;
  }
  // The paint box's page area (560 x 360), the page as the window drew it.
  std::vector<ui::TColor> PageAreaOnScreen(TFormTolv& window) {
    std::vector<ui::TColor> area;
    const int left = window.Render.Rendering.PageLeft;
    for (int y = 0; y < 360; ++y) {
      for (int x = left; x < left + 560; ++x) area.push_back(Canvas().raster.Pixel(x, y));
    }
    return area;
  }
  void Tick(TFormTolv& window) { ui::headless::TickTimers(window); }
  void Key(TFormTolv& window, std::uint16_t key, ui::TShiftState shift = {}) {
    ui::headless::PressKey(window, key, shift);
  }
  void Type(TFormTolv& window, const std::string& digits) {
    for (char d : digits) Key(window, static_cast<std::uint16_t>(d));
  }
  // A copy of a row of the page on screen, taken under the page-data lock.
  static std::string DisplayRow(TFormTolv& window, unsigned row) {
    if (!window.HandOver.LockPageData()) return "<wait failed>";
    std::string text = window.DisplayPage.Rows[row]
                           ? std::string(window.DisplayPage.Rows[row]->begin(), window.DisplayPage.Rows[row]->end())
                           : std::string("<absent>");
    window.HandOver.UnlockPageData();
    return text;
  }
  static bool MemoryHolds(TFormTolv& window, std::uint16_t number) {
    if (!window.HandOver.LockPageData()) return false;
    const bool held = window.AllPages().GetPage(number, 0, gmFirst) != nullptr;
    window.HandOver.UnlockPageData();
    return held;
  }

  HostDirectory directory_;
  ui::headless::Session session_;
  CountingCanvas* canvas_ = nullptr;
  std::unique_ptr<DataThread> data_;  // ended before the session and the window go
};

}  // namespace tolv::testing
