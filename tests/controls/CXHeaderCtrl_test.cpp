#include <wx/dcmemory.h>
#include <wx/image.h>

#include "ListFixture.h"

using Header = ListFixture;

namespace {
COLORREF At(const wxImage &image, int x, int y) {
  return RGBColor(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}
} // namespace

TEST_F(Header, ItemsAndGeometry) {
  CXHeaderCtrl *header = list->GetHeaderCtrl();
  EXPECT_EQ(header->GetItemCount(), 3);
  EXPECT_EQ(header->GetItemLeft(2), 250);
  EXPECT_EQ(header->GetTotalWidth(), 450);
  EXPECT_EQ(header->HitTestItem(wxPoint(120, 5)), 1);
  EXPECT_EQ(header->HitTestItem(wxPoint(460, 5)), -1);
  EXPECT_EQ(header->HitTestDivider(wxPoint(101, 5)), 0);
  EXPECT_EQ(header->HitTestDivider(wxPoint(50, 5)), -1);
  EXPECT_EQ(header->InsertItem(-1, HeaderItem()), -1);
  EXPECT_EQ(header->GetItem(3), nullptr);
  EXPECT_GT(header->GetSize().y, 10);
}

TEST_F(Header, ColumnClickTogglesTheHeaderCheckBoxAndTheCells) {
  AddRows(3);
  list->SetCheckbox(0, 1, 0);
  list->SetCheckbox(2, 1, 1);
  list->SetHeaderCheckedState(1, 1);
  CXHeaderCtrl *header = list->GetHeaderCtrl();
  wxMouseEvent down(wxEVT_LEFT_DOWN);
  down.SetPosition(wxPoint(150, 5));
  header->GetEventHandler()->ProcessEvent(down);
  EXPECT_EQ(list->GetHeaderCheckedState(1), 2);
  EXPECT_EQ(list->GetCheckbox(0, 1), 1);
  EXPECT_EQ(list->GetCheckbox(1, 1), -1); // no check box: untouched
  EXPECT_EQ(list->GetCheckbox(2, 1), 1);
  EXPECT_TRUE(list->GetCellData(0, 1)->bModified);
  ASSERT_EQ(Count(wxEVT_LIST_COL_CLICK), 1);
  EXPECT_EQ(seen.back().col, 1);
  // A double click is a second press.
  wxMouseEvent dclick(wxEVT_LEFT_DCLICK);
  dclick.SetPosition(wxPoint(150, 5));
  header->GetEventHandler()->ProcessEvent(dclick);
  EXPECT_EQ(list->GetHeaderCheckedState(1), 1);
  EXPECT_EQ(list->GetCheckbox(2, 1), 0);
  EXPECT_EQ(Count(wxEVT_LIST_COL_CLICK), 2);
}

TEST_F(Header, DraggingADividerResizesItsColumn) {
  CXHeaderCtrl *header = list->GetHeaderCtrl();
  wxMouseEvent down(wxEVT_LEFT_DOWN);
  down.SetPosition(wxPoint(100, 5));
  header->GetEventHandler()->ProcessEvent(down);
  wxMouseEvent move(wxEVT_MOTION);
  move.SetPosition(wxPoint(140, 5));
  move.SetLeftDown(true);
  header->GetEventHandler()->ProcessEvent(move);
  wxMouseEvent up(wxEVT_LEFT_UP);
  up.SetPosition(wxPoint(140, 5));
  header->GetEventHandler()->ProcessEvent(up);
  EXPECT_EQ(list->GetColumnWidth(0), 140);
  EXPECT_EQ(list->GetCellRect(0 + 0, 1).x, 0); // no rows: no cell
  AddRows(1);
  EXPECT_EQ(list->GetCellRect(0, 1).x, 140);
  EXPECT_EQ(Count(wxEVT_LIST_COL_CLICK), 0);
}

TEST_F(Header, PaintsFaceDividersFrameAndCheckBox) {
  CXHeaderCtrl *header = list->GetHeaderCtrl();
  list->SetHeaderCheckedState(2, 2);
  wxSize size = header->GetClientSize();
  wxBitmap bitmap(size.x, size.y, 24);
  {
    wxMemoryDC dc(bitmap);
    header->DrawHeader(dc, wxRect(size));
  }
  wxImage image = bitmap.ConvertToImage();
  COLORREF face = GetSysColor(SysColor::ButtonFace);
  COLORREF shadow = GetSysColor(SysColor::ButtonShadow);
  COLORREF light = GetSysColor(SysColor::ButtonHighlight);
  EXPECT_EQ(At(image, 50, size.y / 2 + 4), face);
  // Divider of column 0: shadow at right - 1, highlight at right.
  EXPECT_EQ(At(image, 99, size.y / 2), shadow);
  EXPECT_EQ(At(image, 100, size.y / 2), light);
  // Frame: highlight on top, shadow at the bottom, cut to the columns' width.
  EXPECT_EQ(At(image, 50, 0), light);
  EXPECT_EQ(At(image, 50, size.y - 1), shadow);
  EXPECT_EQ(At(image, 500, size.y / 2), face);
  // Column 2's check box: 13 x 13 after the spacing, framed, ticked.
  int top = (size.y - 13) / 2;
  EXPECT_EQ(At(image, 250 + 6, top + 6), RGBColor(51, 102, 153));
  EXPECT_EQ(At(image, 250 + 6 + 9, top + 4), RGBColor(51, 153, 51));
}
