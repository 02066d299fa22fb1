// The raster canvas: text with installed faces, fills, scaled copies, clipping, substitution.
#include <gtest/gtest.h>

#include "faces/FaceRegistry.h"
#include "platform/FontFiles.h"
#include "ui/raster/RasterCanvas.h"

namespace tolv::ui {
namespace {

constexpr TColor kRed = 0x0000FF;
constexpr TColor kBlue = 0xFF0000;
constexpr TColor kWhite = 0xFFFFFF;

class RasterCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(platform::AddFontFile(TOLV_FONT_FILE), 5); }
  void TearDown() override { platform::RemoveFontFile(TOLV_FONT_FILE); }

  static const BitmapFace& Face(const char* name) { return *FaceRegistry::Instance().Find(name, 15); }

  // The glyph of face at (x, y) in fg on bg, and nothing else changed from `around`.
  static void ExpectGlyphAt(const RasterCanvas& canvas, const BitmapFace& face, std::uint8_t ch, int x, int y,
                            TColor fg, TColor bg) {
    const BitmapGlyph& glyph = face.GlyphFor(ch);
    for (int row = 0; row < face.PixelHeight; ++row) {
      for (int column = 0; column < glyph.Width; ++column) {
        if (x + column < 0 || y + row < 0 || x + column >= canvas.Width() || y + row >= canvas.Height()) continue;
        ASSERT_EQ(canvas.Pixel(x + column, y + row), glyph.PixelSet(column, row) ? fg : bg)
            << "pixel " << column << "," << row;
      }
    }
  }
};

TEST_F(RasterCanvasTest, TextIsTheGlyphInFontColourOnTheBrushColour) {
  RasterCanvas canvas(40, 30);
  canvas.SetFontName("VTTEXT640x480");
  canvas.SetFontHeight(15);
  canvas.SetFontColor(kRed);
  canvas.SetBrushColor(kBlue);
  canvas.TextOut(3, 4, 'A');
  ExpectGlyphAt(canvas, Face("VTTEXT640x480"), 'A', 3, 4, kRed, kBlue);
  EXPECT_EQ(canvas.Pixel(2, 4), 0u);   // left of the cell
  EXPECT_EQ(canvas.Pixel(17, 4), 0u);  // right of the 14-pixel cell
  EXPECT_EQ(canvas.Pixel(3, 19), 0u);  // below the 15-pixel cell
}

TEST_F(RasterCanvasTest, TextIsClippedAtEveryEdge) {
  RasterCanvas canvas(20, 20);
  canvas.SetFontName("VTGRAFIK640x480");
  canvas.SetFontColor(kWhite);
  canvas.SetBrushColor(kRed);
  const BitmapFace& mosaic = Face("VTGRAFIK640x480");
  const int corners[][2] = {{-7, -5}, {13, -5}, {-7, 12}, {13, 12}, {100, 100}, {-100, 3}};
  for (const auto& corner : corners) {
    canvas.FillRect({0, 0, 20, 20});
    canvas.TextOut(corner[0], corner[1], 0x35);  // left column of blocks
    ExpectGlyphAt(canvas, mosaic, 0x35, corner[0], corner[1], kWhite, kRed);
  }
}

TEST_F(RasterCanvasTest, FillRectFillsInsideTheCanvasOnly) {
  RasterCanvas canvas(10, 10);
  canvas.SetBrushColor(kBlue);
  canvas.FillRect({-5, 8, 8, 32});
  canvas.FillRect({-20, 0, 5, 10});  // wholly left of the canvas, and wholly right of it
  canvas.FillRect({12, 0, 5, 10});
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(canvas.Pixel(x, y), (x < 3 && y >= 8) ? kBlue : 0u) << x << "," << y;
}

TEST_F(RasterCanvasTest, CopyRectStretchesByRepeatingPixels) {
  RasterCanvas source(4, 3);
  const TColor rowColours[] = {kRed, kBlue, kWhite};
  for (int y = 0; y < 3; ++y) {
    source.SetBrushColor(rowColours[y]);
    source.FillRect({0, y, 4, 1});
  }
  source.SetBrushColor(0x00FF00);
  source.FillRect({1, 0, 1, 3});  // column 1 green

  RasterCanvas target(10, 10);
  target.CopyRect({2, 1, 2, 6}, source, {0, 0, 2, 3});  // 2x3 to 2x6: every source row twice
  for (int y = 1; y < 7; ++y) {
    EXPECT_EQ(target.Pixel(2, y), rowColours[(y - 1) / 2]) << y;
    EXPECT_EQ(target.Pixel(3, y), 0x00FF00u) << y;
  }
  EXPECT_EQ(target.Pixel(2, 7), 0u);
  EXPECT_EQ(target.Pixel(4, 1), 0u);
  EXPECT_EQ(target.Pixel(2, 0), 0u);
}

TEST_F(RasterCanvasTest, AnUnknownFaceDrawsTheSubstituteBox) {
  RasterCanvas canvas(14, 15);
  canvas.SetFontName("NoSuchFace");
  canvas.SetFontColor(kWhite);
  canvas.SetBrushColor(kBlue);
  canvas.TextOut(0, 0, 'A');
  EXPECT_EQ(canvas.CurrentFace().Name, "Substitute");
  EXPECT_EQ(canvas.Pixel(2, 2), kWhite);   // corner of the box
  EXPECT_EQ(canvas.Pixel(6, 6), kBlue);    // inside it
  EXPECT_EQ(canvas.Pixel(13, 14), kBlue);  // the cell is filled to its corner
}

TEST_F(RasterCanvasTest, FindsAFaceInstalledAfterTheNameWasSet) {
  platform::RemoveFontFile(TOLV_FONT_FILE);
  RasterCanvas canvas(14, 15);
  canvas.SetFontName("VTTEXT640x480");
  EXPECT_EQ(canvas.CurrentFace().Name, "Substitute");
  ASSERT_EQ(platform::AddFontFile(TOLV_FONT_FILE), 5);
  EXPECT_EQ(canvas.CurrentFace().Name, "VTTEXT640x480");
}

}  // namespace
}  // namespace tolv::ui
