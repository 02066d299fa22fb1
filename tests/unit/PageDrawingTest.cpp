// Page drawing onto the raster canvas with the faces of the built tolv.fon, checked pixel by
// pixel against the glyphs of the face each cell should use.
#include <gtest/gtest.h>

#include <vector>

#include "faces/FaceRegistry.h"
#include "render/PageDrawing.h"
#include "render/RenderingSetup.h"
#include "ui/raster/RasterCanvas.h"

namespace tolv {
namespace {

constexpr ui::TColor kBlack = 0x000000;
constexpr ui::TColor kRed = 0x0000FF;
constexpr ui::TColor kYellow = 0x00FFFF;
constexpr ui::TColor kBlue = 0xFF0000;
constexpr ui::TColor kWhite = 0xFFFFFF;
constexpr ui::TColor kUnpainted = 0x123456;
constexpr int kDesignWidth = 733;
constexpr int kDesignHeight = 385;

void SetRow(CVTPage& page, unsigned r, const std::vector<std::uint8_t>& bytes) {
  std::unique_ptr<VtRow> row = NewRow();
  row->fill(0x20);
  std::copy(bytes.begin(), bytes.end(), row->begin());
  page.StoreRow(r, std::move(row));
}

const BitmapFace& Face(const char* name) { return *FaceRegistry::Instance().Find(name, 15); }

class PageDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.PaintBox = &canvas_;
    window_.PaintBoxWidth = kDesignWidth;
    ASSERT_TRUE(SetUpRendering(window_, TOLV_FONT_FILE));
    page_ = CVTPage::New();
  }
  void TearDown() override {
    RemoveRenderingFonts(TOLV_FONT_FILE);
    FreeRenderingBitmap(window_);
  }

  void Fill(ui::TColor color) {
    canvas_.SetBrushColor(color);
    canvas_.FillRect({0, 0, canvas_.Width(), canvas_.Height()});
  }
  int CellX(unsigned column) const { return window_.Rendering.PageLeft + static_cast<int>(column) * 14; }
  int CellY(unsigned row) const { return static_cast<int>(row) * 15; }

  // The glyph of ch in face, scaled vertically by `stretch`, at the cell's place.
  void ExpectCell(unsigned column, unsigned row, const BitmapFace& face, std::uint8_t ch, ui::TColor fg, ui::TColor bg,
                  int stretch = 1) {
    const BitmapGlyph& glyph = face.GlyphFor(ch);
    for (int y = 0; y < 15 * stretch; ++y) {
      for (int x = 0; x < 14; ++x) {
        ASSERT_EQ(canvas_.Pixel(CellX(column) + x, CellY(row) + y), glyph.PixelSet(x, y / stretch) ? fg : bg)
            << face.Name << " char " << int(ch) << " pixel " << x << "," << y;
      }
    }
  }
  std::vector<ui::TColor> CellPixels(unsigned column, unsigned row) const {
    std::vector<ui::TColor> pixels;
    for (int y = 0; y < 15; ++y)
      for (int x = 0; x < 14; ++x) pixels.push_back(canvas_.Pixel(CellX(column) + x, CellY(row) + y));
    return pixels;
  }

  ui::RasterCanvas canvas_{kDesignWidth, kDesignHeight};
  RenderWindow window_;
  std::unique_ptr<CVTPage> page_;
};

TEST(RenderingSetup, GivesTheStateForThePaintBoxAtItsDesignSize) {
  ui::RasterCanvas canvas(kDesignWidth, kDesignHeight);
  RenderWindow window;
  window.PaintBox = &canvas;
  window.PaintBoxWidth = kDesignWidth;
  EXPECT_TRUE(SetUpRendering(window, TOLV_FONT_FILE));
  const RenderingState& state = window.Rendering;
  EXPECT_EQ(state.CellW, 14);
  EXPECT_EQ(state.CellH, 15);
  EXPECT_EQ(state.PageLeft, 86);
  EXPECT_EQ(state.PageTop, 0);
  EXPECT_EQ(state.PageRight, 646);
  EXPECT_EQ(state.PageBottom, 360);
  EXPECT_EQ(state.TextFontName, "VTTEXT640x480");
  EXPECT_EQ(state.MosaicFontName, "VTGRAFIK640x480");
  EXPECT_EQ(state.SeparatedFontName, "VTGERASTERT640x480");
  ASSERT_NE(state.DoubleBitmap, nullptr);
  EXPECT_EQ(state.DoubleBitmap->Width(), 880);
  EXPECT_EQ(state.DoubleBitmap->Height(), 26);
  RemoveRenderingFonts(TOLV_FONT_FILE);
  FreeRenderingBitmap(window);
  EXPECT_EQ(window.Rendering.DoubleBitmap, nullptr);
  EXPECT_EQ(FaceRegistry::Instance().Find("VTTEXT640x480", 15), nullptr);
}

TEST(RenderingSetup, ReportsAMissingFontFileAndDrawingGoesOnWithASubstitute) {
  ui::RasterCanvas canvas(560, 360);
  RenderWindow window;
  window.PaintBox = &canvas;
  window.PaintBoxWidth = 560;
  const std::string missing = std::string(TOLV_TEST_OUTPUT_DIR) + "/missing.fon";
  EXPECT_FALSE(SetUpRendering(window, missing));
  std::unique_ptr<CVTPage> page = CVTPage::New();
  SetRow(*page, 1, {'A'});
  DrawPage(window, page.get(), false);
  EXPECT_EQ(canvas.Pixel(2, 15 + 2), kWhite);  // the corner of the substitute's box
  RemoveRenderingFonts(missing);
  FreeRenderingBitmap(window);
}

TEST_F(PageDrawing, CellsTakeColoursAndFaceFromTheirAttributes) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    std::int8_t charSet;
    unsigned column;
    const char* face;
    std::uint8_t ch;
    ui::TColor fg, bg;
  } cases[] = {
      {"alpha red", {0x01, 'A'}, 1, 1, "VTTEXT640x480", 'A', kRed, kBlack},
      {"contiguous mosaic", {0x11, 0x7F}, 1, 1, "VTGRAFIK640x480", 0x5F, kRed, kBlack},
      {"contiguous mosaic below 0x40", {0x11, 0x35}, 1, 1, "VTGRAFIK640x480", 0x35, kRed, kBlack},
      {"separated mosaic", {0x11, 0x1A, 0x35}, 1, 2, "VTGERASTERT640x480", 0x35, kRed, kBlack},
      {"blast-through capital", {0x11, 0x41}, 1, 1, "VTTEXT640x480", 'A', kRed, kBlack},
      {"new background", {0x04, 0x1D, 0x03, 'B'}, 1, 3, "VTTEXT640x480", 'B', kYellow, kBlue},
      {"character set 4", {0x40}, 4, 0, "VTTEXT640x480", 0xC2, kWhite, kBlack},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    page_->CharSet = c.charSet;
    SetRow(*page_, 3, c.bytes);
    DrawPage(window_, page_.get(), false);
    ExpectCell(c.column, 3, Face(c.face), c.ch, c.fg, c.bg);
  }
}

TEST_F(PageDrawing, AConcealedCellShowsOnlyItsBackgroundUntilRevealed) {
  SetRow(*page_, 5, {0x01, 0x1D, 0x07, 0x18, 'A'});
  window_.DisplayPage = page_.get();
  PaintPage(window_, false);
  ExpectCell(4, 5, Face("VTTEXT640x480"), ' ', kWhite, kRed);
  PaintPage(window_, true);
  ExpectCell(4, 5, Face("VTTEXT640x480"), 'A', kWhite, kRed);
}

TEST_F(PageDrawing, ADoubleHeightCellCoversItsOwnRowAndTheNext) {
  SetRow(*page_, 10, {0x04, 0x1D, 0x07, 0x0D, 'A'});
  SetRow(*page_, 11, {'X', 'X', 'X', 'X', 'X'});  // a lower half: its own bytes are not shown
  DrawPage(window_, page_.get(), false);
  ExpectCell(4, 10, Face("VTTEXT640x480"), 'A', kWhite, kBlue, 2);
  ExpectCell(1, 11, Face("VTTEXT640x480"), ' ', kWhite, kBlue);  // spaces in the colours above

  // Row 11 drawn again on its own leaves the stretched character alone.
  Fill(kUnpainted);
  DrawRow(window_, page_.get(), 11, false);
  EXPECT_EQ(CellPixels(4, 11), std::vector<ui::TColor>(14 * 15, kUnpainted));
}

TEST_F(PageDrawing, AFlashingCellIsDrawnLikeASteadyOne) {
  SetRow(*page_, 1, {0x08, 'F'});
  SetRow(*page_, 2, {0x09, 'F'});
  DrawPage(window_, page_.get(), false);
  EXPECT_EQ(CellPixels(1, 1), CellPixels(1, 2));
  ExpectCell(1, 1, Face("VTTEXT640x480"), 'F', kWhite, kBlack);
}

TEST_F(PageDrawing, PaintingAnEmptyPageGivesABlackBandDownToPageBottom) {
  Fill(kUnpainted);
  window_.DisplayPage = page_.get();
  PaintPage(window_, false);
  for (int y = 0; y < kDesignHeight; ++y) {
    for (int x = 0; x < kDesignWidth; ++x) {
      ASSERT_EQ(canvas_.Pixel(x, y), y < 360 ? kBlack : kUnpainted) << x << "," << y;
    }
  }
}

TEST_F(PageDrawing, RedrawingTheHeaderRowLeavesEverythingElseAlone) {
  SetRow(*page_, 0, {0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0x02, 'P', '1', '0', '0'});
  SetRow(*page_, 1, {'X'});
  Fill(kUnpainted);
  DrawRow(window_, page_.get(), 0, false);
  for (int y = 0; y < kDesignHeight; ++y) {
    for (int x = 0; x < kDesignWidth; ++x) {
      const bool inRowZero = y < 15 && x >= 86 && x < 646;
      if (!inRowZero) {
        ASSERT_EQ(canvas_.Pixel(x, y), kUnpainted) << x << "," << y;
      }
    }
  }
  ExpectCell(8, 0, Face("VTTEXT640x480"), 'P', 0x00FF00, kBlack);
}

TEST_F(PageDrawing, NoPageDrawsNothing) {
  Fill(kUnpainted);
  DrawPage(window_, nullptr, false);
  EXPECT_EQ(canvas_.Pixels(), std::vector<ui::TColor>(canvas_.Pixels().size(), kUnpainted));
}

}  // namespace
}  // namespace tolv
