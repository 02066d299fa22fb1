// The GDI canvas with the real tolv.fon installed through AddFontResourceA draws the same pixels
// as the raster canvas for the same calls: single cells, fills, stretching copies, whole pages,
// and the page in the viewer's real paint box.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "TestForms.h"
#include "WindowProbe.h"
#include "faces/FaceRegistry.h"
#include "faces/FonReader.h"
#include "platform/FontFiles.h"
#include "render/RenderingSetup.h"
#include "ui/Application.h"
#include "ui/raster/RasterCanvas.h"
#include "ui/win32/GdiCanvas.h"
#include "ui/win32/WindowPeer.h"
#include "viewer/Reveal.h"

namespace tolv::wine {
namespace {

using ui::win32::GdiBitmap;

constexpr char kText[] = "VTTEXT640x480";
constexpr char kMosaic[] = "VTGRAFIK640x480";
constexpr char kSeparated[] = "VTGERASTERT640x480";

// The raster side's off-screen bitmap (the headless back end's is not linked here).
class RasterBitmap final : public ui::Bitmap {
 public:
  void SetSize(int width, int height) override { canvas_.Resize(width, height); }
  int Width() const override { return canvas_.Width(); }
  int Height() const override { return canvas_.Height(); }
  ui::Canvas& GetCanvas() override { return canvas_; }
  std::vector<ui::TColor> ReadPixels() const override { return canvas_.Pixels(); }

 private:
  ui::RasterCanvas canvas_{0, 0};
};

// Pixels that differ, with the first one named.
int Differences(const ui::RasterCanvas& raster, const std::function<ui::TColor(int, int)>& gdi, std::string& first) {
  int count = 0;
  for (int y = 0; y < raster.Height(); ++y) {
    for (int x = 0; x < raster.Width(); ++x) {
      if (raster.Pixel(x, y) == gdi(x, y)) continue;
      if (count++ == 0) {
        std::ostringstream where;
        where << "first at (" << x << ", " << y << "): raster " << std::hex << raster.Pixel(x, y) << ", gdi "
              << gdi(x, y);
        first = where.str();
      }
    }
  }
  return count;
}

class GdiCanvasDrawing : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // GDI gets the file from the Win32 font installer; the raster canvas its faces directly.
    ASSERT_EQ(platform::AddFontFile(BuiltFontFile()), 5);
    std::ifstream in(TOLV_FONT_FILE, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto faces = ReadFonFile(bytes);
    ASSERT_TRUE(faces.has_value());
    FaceRegistry::Instance().Add("tolv.fon", std::move(*faces));
  }
  static void TearDownTestSuite() {
    EXPECT_TRUE(platform::RemoveFontFile(BuiltFontFile()));
    FaceRegistry::Instance().Remove("tolv.fon");
  }
  void TearDown() override {
    SetReveal(false);
    ui::Application().FreeAllForms();
    PumpMessages();
  }
};

// Mosaic faces hold their 64 mosaics at 0x20..0x3F and 0x40..0x5F.
struct CellCall {
  const char* face;
  int x;
  int y;
  std::uint8_t character;
  ui::TColor foreground;
  ui::TColor background;
};

const CellCall kCells[] = {
    {kText, 0, 0, 'A', 0xFFFFFF, 0x000000},         {kText, 14, 0, 'g', 0x00FFFF, 0xFF0000},
    {kText, 28, 0, 0x7B, 0x00FF00, 0x000000},       {kText, 42, 0, 0x20, 0xFFFFFF, 0xFF00FF},
    {kMosaic, 0, 15, 0x5F, 0x0000FF, 0x000000},     {kMosaic, 14, 15, 0x35, 0xFFFF00, 0x0000FF},
    {kMosaic, 28, 15, 0x4A, 0xFFFFFF, 0x00FF00},    {kSeparated, 42, 15, 0x5F, 0xFFFFFF, 0x000000},
    {kSeparated, 56, 15, 0x23, 0x00FFFF, 0xFF0000}, {kText, 63, 33, 'W', 0xFFFFFF, 0x0000FF},  // off the grid, clipped
};

template <class Draw>
void DrawCells(ui::Canvas& canvas, Draw&& stretch) {
  canvas.SetBrushColor(0x123456);
  canvas.FillRect({0, 0, 70, 60});
  for (const CellCall& cell : kCells) {
    canvas.SetFontName(cell.face);
    canvas.SetFontHeight(15);
    canvas.SetFontColor(cell.foreground);
    canvas.SetBrushColor(cell.background);
    canvas.TextOut(cell.x, cell.y, cell.character);
  }
  canvas.SetBrushColor(0x00FF00);
  canvas.FillRect({60, 0, 10, 5});
  stretch(canvas);
}

TEST_F(GdiCanvasDrawing, CellsFillsAndStretchingCopiesMatchTheRasterCanvas) {
  ui::RasterCanvas raster(70, 60);
  RasterBitmap rasterDouble;
  rasterDouble.SetSize(14, 15);
  GdiBitmap gdi;
  gdi.SetSize(70, 60);
  GdiBitmap gdiDouble;
  gdiDouble.SetSize(14, 15);
  // A double-height cell: drawn at (0, 0) of the small bitmap, copied over two rows.
  auto stretchFrom = [](ui::Bitmap& cell) {
    return [&cell](ui::Canvas& target) {
      ui::Canvas& small = cell.GetCanvas();
      small.SetFontName(kText);
      small.SetFontHeight(15);
      small.SetFontColor(0x00FFFF);
      small.SetBrushColor(0xFF0000);
      small.TextOut(0, 0, 'H');
      target.CopyRect({0, 30, 14, 30}, small, {0, 0, 14, 15});
    };
  };
  DrawCells(raster, stretchFrom(rasterDouble));
  DrawCells(gdi.GetCanvas(), stretchFrom(gdiDouble));
  std::string first;
  EXPECT_EQ(Differences(
                raster, [&](int x, int y) { return gdi.Pixel(x, y); }, first),
            0)
      << first;
  // Not a blank picture on both sides: each cell shows its foreground colour somewhere.
  for (const CellCall& cell : kCells) {
    if (cell.character == 0x20) continue;
    int shown = 0;
    for (int y = cell.y; y < std::min(cell.y + 15, 60); ++y) {
      for (int x = cell.x; x < std::min(cell.x + 14, 70); ++x) shown += gdi.Pixel(x, y) == cell.foreground ? 1 : 0;
    }
    EXPECT_GT(shown, 0) << cell.face << " " << int(cell.character);
  }
}

TEST_F(GdiCanvasDrawing, APageMatchesTheRasterDrawingWithOneFontPerFace) {
  std::unique_ptr<CVTPage> page = SamplePage();
  constexpr int kWidth = 733;
  constexpr int kHeight = 385;
  GdiBitmap gdi;
  gdi.SetSize(kWidth, kHeight);
  RenderWindow gdiWindow;
  gdiWindow.PaintBox = &gdi.GetCanvas();
  gdiWindow.PaintBoxWidth = kWidth;
  gdiWindow.DisplayPage = page.get();
  ASSERT_TRUE(SetUpRendering(gdiWindow, BuiltFontFile()));  // a second installation of the file
  const int fontsBefore = ui::win32::LiveHandles(ui::win32::HandleKind::Font);
  for (int pass = 0; pass < 5; ++pass) PaintPage(gdiWindow, false);
  // Three faces on the paint box, the text face in the double-height bitmap: nothing per cell.
  EXPECT_EQ(static_cast<ui::win32::GdiCanvas&>(gdi.GetCanvas()).FontCount(), 3u);
  EXPECT_EQ(ui::win32::LiveHandles(ui::win32::HandleKind::Font) - fontsBefore, 4);
  // Cells side by side in one face and colours go to GDI as one text call, not one each.
  EXPECT_LT(static_cast<ui::win32::GdiCanvas&>(gdi.GetCanvas()).TextCalls(), 5u * kRows * 8);

  ui::RasterCanvas raster(kWidth, kHeight);
  RenderWindow rasterWindow;
  rasterWindow.PaintBox = &raster;
  rasterWindow.PaintBoxWidth = kWidth;
  rasterWindow.DisplayPage = page.get();
  rasterWindow.Rendering.CellW = gdiWindow.Rendering.CellW;
  rasterWindow.Rendering.CellH = gdiWindow.Rendering.CellH;
  rasterWindow.Rendering.PageLeft = gdiWindow.Rendering.PageLeft;
  rasterWindow.Rendering.PageRight = gdiWindow.Rendering.PageRight;
  rasterWindow.Rendering.PageBottom = gdiWindow.Rendering.PageBottom;
  rasterWindow.Rendering.TextFontName = kText;
  rasterWindow.Rendering.MosaicFontName = kMosaic;
  rasterWindow.Rendering.SeparatedFontName = kSeparated;
  rasterWindow.Rendering.DoubleBitmap = std::make_unique<RasterBitmap>();
  rasterWindow.Rendering.DoubleBitmap->SetSize(880, 26);
  PaintPage(rasterWindow, false);

  std::string first;
  EXPECT_EQ(Differences(
                raster, [&](int x, int y) { return gdi.Pixel(x, y); }, first),
            0)
      << first;
  RemoveRenderingFonts(BuiltFontFile());
  FreeRenderingBitmap(gdiWindow);
}

TEST_F(GdiCanvasDrawing, TheViewersPaintBoxShowsThePageAlsoWhenDrawnOutsidePainting) {
  auto* viewer = ui::Application().NewForm<ViewerUnderTest>();
  viewer->Show();
  PumpMessages();
  HWND box = ui::win32::WindowOf(*viewer->PaintBox1);
  ASSERT_NE(box, nullptr);

  ui::RasterCanvas raster(733, 385);
  raster.SetBrushColor(GetSysColor(COLOR_BTNFACE));
  raster.FillRect({0, 0, 733, 385});
  RenderWindow rasterWindow;
  rasterWindow.PaintBox = &raster;
  rasterWindow.PaintBoxWidth = 733;
  rasterWindow.DisplayPage = viewer->Rendering().DisplayPage;
  rasterWindow.Rendering.CellW = 14;
  rasterWindow.Rendering.CellH = 15;
  rasterWindow.Rendering.PageLeft = viewer->Rendering().Rendering.PageLeft;
  rasterWindow.Rendering.PageRight = viewer->Rendering().Rendering.PageRight;
  rasterWindow.Rendering.PageBottom = viewer->Rendering().Rendering.PageBottom;
  rasterWindow.Rendering.TextFontName = kText;
  rasterWindow.Rendering.MosaicFontName = kMosaic;
  rasterWindow.Rendering.SeparatedFontName = kSeparated;
  rasterWindow.Rendering.DoubleBitmap = std::make_unique<RasterBitmap>();
  rasterWindow.Rendering.DoubleBitmap->SetSize(880, 26);

  for (bool reveal : {false, true}) {
    SCOPED_TRACE(reveal ? "drawn straight after reveal" : "painted");
    if (reveal) {
      // As a key handler draws: on the paint box's DC, outside WM_PAINT.
      SetReveal(true);
      PaintPage(viewer->Rendering(), GetReveal());
    }
    PaintPage(rasterWindow, reveal);
    const Screenshot shot = Capture(box, true);
    ASSERT_EQ(shot.Width, 733);
    ASSERT_EQ(shot.Height, 385);
    std::string first;
    EXPECT_EQ(Differences(
                  raster, [&](int x, int y) { return shot.At(x, y); }, first),
              0)
        << first;
  }
}

}  // namespace
}  // namespace tolv::wine
