// Sheet geometry: cells, their order, the sheet's /Rotate and the fit-and-turn matrices.
#include "SheetComposer.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <array>

using engine::Matrix;
using engine::Rect;
using engine::SheetComposer;

namespace {

class SheetCells : public ::testing::Test {
protected:
  TempDir dir;
  engine::OutputBuilder out{dir.file("cells.pdf")};

  void ExpectCells(const SheetComposer &composer, const std::vector<Rect> &expected) {
    const std::vector<Rect> cells = composer.Cells();
    ASSERT_EQ(cells.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
      EXPECT_NEAR(cells[i].left, expected[i].left, 1e-9) << "cell " << i;
      EXPECT_NEAR(cells[i].bottom, expected[i].bottom, 1e-9) << "cell " << i;
      EXPECT_NEAR(cells[i].width, expected[i].width, 1e-9) << "cell " << i;
      EXPECT_NEAR(cells[i].height, expected[i].height, 1e-9) << "cell " << i;
    }
  }
};

void ExpectMatrix(const Matrix &m, const std::array<double, 6> &expected) {
  const double got[6] = {m.a, m.b, m.c, m.d, m.e, m.f};
  for (int i = 0; i < 6; ++i)
    EXPECT_NEAR(got[i], expected[i], 1e-6) << "entry " << i;
}

TEST_F(SheetCells, OnePerSheetIsTheWholeSheet) {
  SheetComposer composer(595, 842, out, 0, 0);
  ExpectCells(composer, {{0, 0, 595, 842}});
  EXPECT_EQ(composer.Rotation(), 0);
  SheetComposer horizontal(595, 842, out, 0, 2);
  EXPECT_EQ(horizontal.Rotation(), 270);
}

TEST_F(SheetCells, TwoPerSheetRunInReadingOrderOfTheShownSheet) {
  // Shown turned left, the top half of a portrait sheet is the left half of what is shown.
  SheetComposer automatic(595, 842, out, 1, 0);
  ExpectCells(automatic, {{0, 421, 595, 421}, {0, 0, 595, 421}});
  EXPECT_EQ(automatic.Rotation(), 270);
  SheetComposer vertical(595, 842, out, 1, 1);
  ExpectCells(vertical, {{0, 421, 595, 421}, {0, 0, 595, 421}});
  EXPECT_EQ(vertical.Rotation(), 0);
  // A landscape sheet shown turned left: its right half is shown on top.
  SheetComposer ledger(1224, 790, out, 1, 0);
  ExpectCells(ledger, {{612, 0, 612, 790}, {0, 0, 612, 790}});
  // A landscape sheet shown as it is: left, then right.
  SheetComposer upright(1224, 790, out, 1, 1);
  ExpectCells(upright, {{0, 0, 612, 790}, {612, 0, 612, 790}});
}

TEST_F(SheetCells, FourPerSheetRunInReadingOrderOfTheShownSheet) {
  SheetComposer automatic(595, 842, out, 2, 0);
  ExpectCells(
      automatic,
      {{0, 421, 297.5, 421}, {297.5, 421, 297.5, 421}, {0, 0, 297.5, 421}, {297.5, 0, 297.5, 421}});
  EXPECT_EQ(automatic.Rotation(), 0);
  // Shown turned left: the shown top-left quarter is the sheet's top-right one, the shown
  // top-right its bottom-right one.
  SheetComposer horizontal(595, 842, out, 2, 2);
  ExpectCells(
      horizontal,
      {{297.5, 421, 297.5, 421}, {297.5, 0, 297.5, 421}, {0, 421, 297.5, 421}, {0, 0, 297.5, 421}});
  EXPECT_EQ(horizontal.Rotation(), 270);
}

TEST(FitMatrix, PortraitPageFillsA4AtScaleOne) {
  ExpectMatrix(SheetComposer::FitMatrix({0, 0, 595, 842}, 595, 842), {1, 0, 0, 1, 0, 0});
}

TEST(FitMatrix, LandscapeItemTurnsClockwiseAnchoredTopLeft) {
  ExpectMatrix(SheetComposer::FitMatrix({0, 0, 595, 842}, 842, 595), {0, -1, 1, 0, 0, 842});
}

TEST(FitMatrix, ItemsKeepTheirProportionsInTheLowerLeftCorner) {
  const double s = std::min(421.0 / 595, 595.0 / 842);
  ExpectMatrix(SheetComposer::FitMatrix({0, 0, 421, 595}, 595, 842), {s, 0, 0, s, 0, 0});
}

TEST(UprightMatrix, TurnsAPageAsReadersShowIt) {
  const Rect box{10, 20, 600, 800};
  // No turn: the box's corner moves to the origin, whatever the box's origin.
  ExpectMatrix(SheetComposer::UprightMatrix(box, 0), {1, 0, 0, 1, -10, -20});
  auto shown = [&box](int rotate, double x, double y) {
    engine::MapPoint(SheetComposer::UprightMatrix(box, rotate), x, y);
    return std::array<double, 2>{x, y};
  };
  // The box's bottom-left corner is shown top-left when turned clockwise (90), top-right
  // when turned over (180), bottom-right when turned counter-clockwise (270).
  EXPECT_EQ(shown(90, 10, 20), (std::array<double, 2>{0, 600}));
  EXPECT_EQ(shown(180, 10, 20), (std::array<double, 2>{600, 800}));
  EXPECT_EQ(shown(270, 10, 20), (std::array<double, 2>{800, 0}));
  // And its top-right corner bottom-right, bottom-left, top-left.
  EXPECT_EQ(shown(90, 610, 820), (std::array<double, 2>{800, 0}));
  EXPECT_EQ(shown(180, 610, 820), (std::array<double, 2>{0, 0}));
  EXPECT_EQ(shown(270, 610, 820), (std::array<double, 2>{0, 600}));
}

TEST(FitRule, NearSquareItemsNeverTurn) {
  const Rect portrait{0, 0, 595, 842}, landscape{0, 0, 842, 595};
  EXPECT_FALSE(engine::ShouldTurn(portrait, 104, 100));
  EXPECT_FALSE(engine::ShouldTurn(landscape, 96, 100));
  EXPECT_TRUE(engine::ShouldTurn(portrait, 106, 100));
  EXPECT_TRUE(engine::ShouldTurn(landscape, 94, 100));
  EXPECT_FALSE(engine::ShouldTurn(portrait, 0, 0)); // ratios that cannot be compared
}

} // namespace
