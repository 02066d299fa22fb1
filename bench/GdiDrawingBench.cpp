// DrawPage of full pages of a real broadcast onto the GDI canvas, under Wine: the win32 side of
// page_drawing_bench (the same pages, the paint box's design size, the built tolv.fon installed
// as the plug-in installs it). Draws onto a DIB section, as the page copy's off-screen bitmap
// does, and onto a real window's DC, as the viewer's paint box does; prints pages per second.
//   gdi_drawing_bench FONT_FILE RECORDING [SECONDS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "render/PageDrawing.h"
#include "render/RenderingSetup.h"
#include "support/RecordingFeed.h"
#include "ui/win32/GdiCanvas.h"

namespace {

constexpr int kPaintBoxWidth = 733;
constexpr int kPaintBoxHeight = 385;

// Draws page onto canvas for about seconds; pages per second.
double PagesPerSecond(tolv::ui::Canvas& canvas, tolv::CVTPage& page, const std::string& fontFile, double seconds) {
  tolv::RenderWindow window;
  window.PaintBox = &canvas;
  window.PaintBoxWidth = kPaintBoxWidth;
  if (!tolv::SetUpRendering(window, fontFile)) return -1;
  tolv::DrawPage(window, &page, false);  // the fonts made, the cells decoded
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  long pages = 0;
  double elapsed = 0;
  // In rounds of 50 pages, so the clock is read seldom.
  while (elapsed < seconds) {
    for (int i = 0; i < 50; ++i) tolv::DrawPage(window, &page, false);
    GdiFlush();
    pages += 50;
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  }
  tolv::RemoveRenderingFonts(fontFile);
  tolv::FreeRenderingBitmap(window);
  return static_cast<double>(pages) / elapsed;
}

// A plain top-level window the size of the paint box, shown, whose DC the canvas draws on.
HWND NewPaintWindow() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "TolvDrawingBench";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, "gdi_drawing_bench", WS_POPUP | WS_VISIBLE, 0, 0,
                                kPaintBoxWidth, kPaintBoxHeight, nullptr, nullptr, windowClass.hInstance, nullptr);
  MSG message;
  while (window != nullptr && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  return window;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: gdi_drawing_bench FONT_FILE RECORDING [SECONDS]\n");
    return 2;
  }
  const std::string fontFile = argv[1];
  const double seconds = argc > 3 ? std::atof(argv[3]) : 2.0;
  tolv::Reception reception;
  if (!tolv::testing::FeedT42(argv[2], reception)) {
    std::fprintf(stderr, "gdi_drawing_bench: cannot read %s\n", argv[2]);
    return 2;
  }
  HWND window = NewPaintWindow();
  HDC windowDc = window != nullptr ? GetDC(window) : nullptr;
  int status = 0;
  // 100: text, mosaics and a double-height row; 420: a mosaic picture.
  for (const std::uint32_t number : {100u, 420u}) {
    tolv::CVTPage* page = reception.AllPages().GetPage(number, 0, tolv::gmFirst);
    if (page == nullptr) {
      std::fprintf(stderr, "gdi_drawing_bench: page %u not in the recording\n", number);
      status = 1;
      continue;
    }
    tolv::ui::win32::GdiBitmap bitmap;
    bitmap.SetSize(kPaintBoxWidth, kPaintBoxHeight);
    const double onBitmap = PagesPerSecond(bitmap.GetCanvas(), *page, fontFile, seconds);
    std::printf("DrawPage %u onto a DIB section: %.0f pages/s\n", number, onBitmap);
    if (windowDc != nullptr) {
      tolv::ui::win32::GdiCanvas canvas(windowDc);
      const double onWindow = PagesPerSecond(canvas, *page, fontFile, seconds);
      std::printf("DrawPage %u onto a window:      %.0f pages/s\n", number, onWindow);
    }
    if (onBitmap < 0) status = 1;
  }
  if (windowDc != nullptr) ReleaseDC(window, windowDc);
  if (window != nullptr) DestroyWindow(window);
  return status;
}
