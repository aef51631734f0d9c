// Sheet geometry: cells, their order, the sheet's /Rotate and the fit-and-turn matrices.
#include "SheetComposer.h"

#include <gtest/gtest.h>

using engine::Matrix;
using engine::SheetComposer;
using PoDoFo::PdfRect;

namespace {

struct Cell {
  double left, bottom, width, height;
};

void ExpectCells(const SheetComposer &composer, const std::vector<Cell> &expected) {
  ASSERT_EQ(composer.Cells().size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const PdfRect &c = composer.Cells()[i];
    EXPECT_DOUBLE_EQ(c.GetLeft(), expected[i].left) << "cell " << i;
    EXPECT_DOUBLE_EQ(c.GetBottom(), expected[i].bottom) << "cell " << i;
    EXPECT_DOUBLE_EQ(c.GetWidth(), expected[i].width) << "cell " << i;
    EXPECT_DOUBLE_EQ(c.GetHeight(), expected[i].height) << "cell " << i;
  }
}

void ExpectMatrix(const Matrix &m, const std::array<double, 6> &expected) {
  const double got[6] = {m.a, m.b, m.c, m.d, m.e, m.f};
  for (int i = 0; i < 6; ++i)
    EXPECT_NEAR(got[i], expected[i], 1e-6) << "entry " << i;
}

TEST(SheetCells, OnePerSheetIsTheWholeSheet) {
  engine::OutputDocument doc;
  SheetComposer composer(595, 842, &doc, 0, 0);
  ExpectCells(composer, {{0, 0, 595, 842}});
  EXPECT_EQ(composer.Rotation(), 0);
  SheetComposer horizontal(595, 842, &doc, 0, 2);
  EXPECT_EQ(horizontal.Rotation(), 270);
}

TEST(SheetCells, TwoPerSheetTopThenBottomOnPortrait) {
  engine::OutputDocument doc;
  SheetComposer automatic(595, 842, &doc, 1, 0);
  ExpectCells(automatic, {{0, 421, 595, 421}, {0, 0, 595, 421}});
  EXPECT_EQ(automatic.Rotation(), 270);
  SheetComposer vertical(595, 842, &doc, 1, 1);
  EXPECT_EQ(vertical.Rotation(), 0);
}

TEST(SheetCells, TwoPerSheetRightThenLeftOnLandscape) {
  engine::OutputDocument doc;
  SheetComposer composer(1224, 790, &doc, 1, 0);
  ExpectCells(composer, {{612, 0, 612, 790}, {0, 0, 612, 790}});
}

TEST(SheetCells, FourPerSheetOrders) {
  engine::OutputDocument doc;
  SheetComposer automatic(595, 842, &doc, 2, 0);
  ExpectCells(automatic,
              {{0, 421, 297.5, 421}, {297.5, 421, 297.5, 421}, {0, 0, 297.5, 421}, {297.5, 0, 297.5, 421}});
  EXPECT_EQ(automatic.Rotation(), 0);
  SheetComposer horizontal(595, 842, &doc, 2, 2);
  ExpectCells(horizontal,
              {{297.5, 421, 297.5, 421}, {0, 421, 297.5, 421}, {297.5, 0, 297.5, 421}, {0, 0, 297.5, 421}});
  EXPECT_EQ(horizontal.Rotation(), 270);
}

TEST(FitMatrix, PortraitPageFillsA4AtScaleOne) {
  ExpectMatrix(SheetComposer::FitMatrix(PdfRect(0, 0, 595, 842), PdfRect(0, 0, 595, 842), false),
               {1, 0, 0, 1, 0, 0});
}

TEST(FitMatrix, LandscapePageTurnsClockwiseAnchoredTopLeft) {
  ExpectMatrix(SheetComposer::FitMatrix(PdfRect(0, 0, 595, 842), PdfRect(0, 0, 842, 595), false),
               {0, -1, 1, 0, 0, 842});
}

TEST(FitMatrix, TwoUpPortraitPagesTurnIntoHalfCells) {
  const double s = std::min(421.0 / 595, 595.0 / 842);
  ExpectMatrix(SheetComposer::FitMatrix(PdfRect(0, 421, 595, 421), PdfRect(0, 0, 595, 842), false),
               {0, -s, s, 0, 0, 842});
}

TEST(FitMatrix, UpsidePagesGetAHalfTurnAndBoxOriginsAreRemoved) {
  ExpectMatrix(SheetComposer::FitMatrix(PdfRect(0, 0, 595, 842), PdfRect(10, 20, 595, 842), true),
               {-1, 0, 0, -1, -10 + 595, -20 + 842});
  ExpectMatrix(SheetComposer::FitMatrix(PdfRect(0, 0, 595, 842), PdfRect(10, 20, 842, 595), true),
               {0, 1, -1, 0, -10 + 595, -20});
}

TEST(FitRule, NearSquareItemsNeverTurn) {
  const PdfRect portrait(0, 0, 595, 842), landscape(0, 0, 842, 595);
  EXPECT_FALSE(engine::ShouldTurn(portrait, 104, 100));
  EXPECT_FALSE(engine::ShouldTurn(landscape, 96, 100));
  EXPECT_TRUE(engine::ShouldTurn(portrait, 106, 100));
  EXPECT_TRUE(engine::ShouldTurn(landscape, 94, 100));
  EXPECT_FALSE(engine::ShouldTurn(portrait, 0, 0)); // ratios that cannot be compared
}

} // namespace
