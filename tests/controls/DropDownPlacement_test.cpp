// Where a combo box's drop-down goes: geometry alone, no display.
#include "controls/DropDownPlacement.h"

#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace {

// A box 20 pixels high and 100 wide at x 50 on an 800 x 600 screen, rows of 15 pixels, at least
// 5 rows below, a list 120 pixels wide and scroll-bar arrows of 16.
struct PlaceCase {
  const char *name;
  int boxTop, rows;
  int top, height;
};

void PrintTo(const PlaceCase &c, std::ostream *out) {
  *out << c.name << " (box at y " << c.boxTop << ", " << c.rows << " rows)";
}

class DropDownPlacement : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(DropDownPlacement, BelowOrAboveTheBox) {
  const PlaceCase &c = GetParam();
  const wxRect rect =
      DropDownRect(wxRect(50, c.boxTop, 100, 20), 15, c.rows, 5, 120, wxRect(0, 0, 800, 600), 16);
  EXPECT_EQ(rect.y, c.top);
  EXPECT_EQ(rect.height, c.height);
  EXPECT_EQ(rect.width, 120);
  EXPECT_EQ(rect.x, 50);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DropDownPlacement,
    ::testing::Values(PlaceCase{"RoomBelow", 100, 10, 120, 152},
                      PlaceCase{"BelowCutAtTheScreensBottom", 450, 10, 470, 130},
                      PlaceCase{"AboveWhenFewerThanFiveRowsFitBelow", 510, 10, 358, 152},
                      PlaceCase{"AboveCutAtTheTop", 510, 50, 0, 510},
                      PlaceCase{"AboveEvenWhenItsRowsWouldFitBelow", 515, 2, 483, 32},
                      PlaceCase{"NeverLowerThanOneArrow", 100, 0, 120, 16}),
    [](const ::testing::TestParamInfo<PlaceCase> &info) { return std::string(info.param.name); });

TEST(DropDownPlacementRule, StaysOnTheScreenSideways) {
  const wxRect screen(0, 0, 800, 600);
  EXPECT_EQ(DropDownRect(wxRect(700, 100, 100, 20), 15, 3, 5, 300, screen, 16).GetRight(), 799);
  EXPECT_EQ(DropDownRect(wxRect(-40, 100, 100, 20), 15, 3, 5, 120, screen, 16).x, 0);
}

} // namespace
