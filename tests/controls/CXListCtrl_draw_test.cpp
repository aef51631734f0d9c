#include <string>

#include <wx/dcmemory.h>
#include <wx/image.h>

#include "ListFixture.h"

namespace {
const COLORREF kPink = RGBColor(245, 205, 223);
const COLORREF kGreen = RGBColor(200, 251, 221);
} // namespace

class ListDrawing : public ListFixture {
protected:
  // Paints the whole rows area into a picture and returns it.
  wxImage Paint() {
    wxSize size = list->GetClientSize();
    wxBitmap bitmap(size.x, size.y, 24);
    {
      wxMemoryDC dc(bitmap);
      dc.SetBackground(*wxBLACK_BRUSH);
      dc.Clear();
      list->PaintRows(dc, wxRect(size));
    }
    return bitmap.ConvertToImage();
  }
  static COLORREF At(const wxImage &image, const wxPoint &pt) {
    return RGBColor(image.GetRed(pt.x, pt.y), image.GetGreen(pt.x, pt.y),
                    image.GetBlue(pt.x, pt.y));
  }
  // A point inside the cell that neither text nor the focus ring round the row reaches.
  wxPoint Blank(int row, int col) {
    wxRect r = list->GetCellRect(row, col);
    return wxPoint(r.GetRight() - 3, r.y + 3);
  }
};

TEST_F(ListDrawing, CellsShowTheirOwnBackgrounds) {
  list->InsertItem(0, "pdf", 0, kPink);
  list->InsertItem(1, "picture", 0, kGreen);
  list->SetItemText(1, 2, L"x", 0, kGreen);
  wxImage image = Paint();
  EXPECT_EQ(At(image, Blank(0, 0)), kPink);
  EXPECT_EQ(At(image, Blank(1, 0)), kGreen);
  EXPECT_EQ(At(image, Blank(1, 2)), kGreen);
  // Cells whose colours were never set are the defaults.
  EXPECT_EQ(At(image, Blank(0, 1)), GetSysColor(SysColor::Window));
}

TEST_F(ListDrawing, OutsideTheRowsIsErasedToTheWindowColour) {
  AddRows(2);
  wxImage image = Paint();
  wxRect last = list->GetCellRect(1, 0);
  EXPECT_EQ(At(image, wxPoint(5, last.GetBottom() + 10)), GetSysColor(SysColor::Window));
  // Right of the columns (450 px wide) in a row.
  EXPECT_EQ(At(image, wxPoint(500, last.y + 3)), GetSysColor(SysColor::Window));
}

TEST_F(ListDrawing, EmptyListIsAllWindowColour) {
  wxImage image = Paint();
  wxRect area = list->GetRowsArea();
  EXPECT_EQ(At(image, wxPoint(10, area.y + 5)), GetSysColor(SysColor::Window));
  EXPECT_EQ(At(image, wxPoint(area.GetRight(), area.GetBottom())), GetSysColor(SysColor::Window));
}

TEST_F(ListDrawing, SelectedRowWithoutFocusIsWindowTextOnButtonFace) {
  list->InsertItem(0, "a", 0, kPink);
  list->SetCurSel(0);
  list->focused = false;
  wxImage image = Paint();
  EXPECT_EQ(At(image, Blank(0, 0)), GetSysColor(SysColor::ButtonFace));
  EXPECT_EQ(At(image, Blank(0, 2)), GetSysColor(SysColor::ButtonFace)); // full-row select
}

TEST_F(ListDrawing, SelectedRowWithFocusIsHighlighted) {
  list->InsertItem(0, "a", 0, kPink);
  list->InsertItem(1, "b", 0, kPink);
  list->SetCurSel(0);
  list->focused = true;
  wxImage image = Paint();
  EXPECT_EQ(At(image, Blank(0, 1)), GetSysColor(SysColor::Highlight));
  EXPECT_EQ(At(image, Blank(1, 0)), kPink);
}

TEST_F(ListDrawing, WithoutFullRowSelectOnlyColumnZeroShowsTheSelection) {
  list->SetExtendedStyle(0);
  list->InsertItem(0, "a", 0, kPink);
  list->SetItemText(0, 1, L"b", 0, kPink);
  list->SetCurSel(0);
  list->focused = true;
  wxImage image = Paint();
  EXPECT_EQ(At(image, Blank(0, 0)), GetSysColor(SysColor::Highlight));
  EXPECT_EQ(At(image, Blank(0, 1)), kPink);
}

TEST(SelectionColors, Rule) {
  const COLORREF hi = 1, hiText = 2, winText = 3, face = 4, own = 9, ownText = 8;
  struct Case {
    bool selected, fullRowOrCol0, focus, always;
    COLORREF text, back;
  };
  const Case cases[] = {
      {false, true, true, true, ownText, own},  {true, false, true, true, ownText, own},
      {true, true, true, true, hiText, hi},     {true, true, true, false, hiText, hi},
      {true, true, false, true, winText, face}, {true, true, false, false, ownText, own},
  };
  for (const Case &c : cases) {
    COLORREF text = ownText, back = own;
    CXListCtrl::SelectionColors(c.selected, c.fullRowOrCol0, c.focus, c.always, hi, hiText, winText,
                                face, text, back);
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(back, c.back);
  }
}

TEST_F(ListDrawing, DisabledRowsDrawGreyText) {
  list->InsertItem(0, "WWWWWWWW", 0, RGBColor(255, 255, 255));
  list->SetEnabled(0, false);
  wxImage image = Paint();
  wxRect r = list->GetCellRect(0, 0);
  // Smoothed text is never darker than its colour: the darkest pixel is the grey itself.
  int darkest = 255 * 3;
  for (int x = r.x; x < r.GetRight(); ++x)
    for (int y = r.y; y < r.GetBottom() - 1; ++y) {
      COLORREF c = At(image, wxPoint(x, y));
      darkest = std::min<int>(darkest, (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF));
    }
  COLORREF grey = GetSysColor(SysColor::GrayText);
  int greySum = (grey & 0xFF) + ((grey >> 8) & 0xFF) + ((grey >> 16) & 0xFF);
  EXPECT_LT(darkest, 255 * 3 - 30); // some text was drawn
  EXPECT_GE(darkest, greySum - 6);
}

TEST_F(ListDrawing, CheckBoxIsFramedAndTicked) {
  AddRows(1);
  list->SetCheckbox(0, 1, 1);
  wxImage image = Paint();
  wxRect cell = list->GetCellRect(0, 1);
  int side = cell.height - 1;
  // Empty text: the box is centred.
  int left = cell.x + (cell.width - side) / 2;
  EXPECT_EQ(At(image, wxPoint(left, cell.y + side / 2)), RGBColor(51, 102, 153));
  // First stroke of the tick: 9 right, 3 down from the box's corner.
  EXPECT_EQ(At(image, wxPoint(left + 9, cell.y + 4)), RGBColor(51, 153, 51));
  list->SetCheckbox(0, 1, 0);
  image = Paint();
  EXPECT_EQ(At(image, wxPoint(left + 9, cell.y + 4)), GetSysColor(SysColor::Window));
}

TEST_F(ListDrawing, ProgressBarFillsItsShare) {
  AddRows(1);
  list->SetProgress(0, 2, 50);
  list->GetCellData(0, 2)->bShowProgressMessage = false;
  wxImage image = Paint();
  wxRect cell = list->GetCellRect(0, 2);
  int mid = cell.y + cell.height / 2;
  EXPECT_EQ(At(image, wxPoint(cell.x + 10, mid)), GetSysColor(SysColor::Highlight));
  EXPECT_EQ(At(image, wxPoint(cell.GetRight() - 10, mid)), RGBColor(224, 224, 224));
  EXPECT_EQ(At(image, wxPoint(cell.x + 1, mid)), 0u); // black frame on the left
  list->DeleteProgress(0, 2);
  EXPECT_FALSE(list->GetCellData(0, 2)->bShowProgress);
}

TEST_F(ListDrawing, UnsafeProgressFormatFallsBackToTheDefaultLabel) {
  AddRows(1);
  auto pixels = [](const wxImage &image) {
    return std::string(reinterpret_cast<const char *>(image.GetData()),
                       static_cast<size_t>(image.GetWidth()) * image.GetHeight() * 3);
  };
  list->SetProgress(0, 2, 30);
  const std::string standard = pixels(Paint()); // "30.00%"
  // A format that would read arguments that are not there is not used.
  list->SetProgress(0, 2, 30, "%s%s%n");
  EXPECT_EQ(pixels(Paint()), standard);
  list->SetProgress(0, 2, 30, "%d%% %d");
  EXPECT_EQ(pixels(Paint()), standard);
  // One integer conversion is a label of its own.
  list->SetProgress(0, 2, 30, "%d items");
  EXPECT_NE(pixels(Paint()), standard);
}

TEST_F(ListDrawing, OnlyVisibleRowsAreDrawnAfterScrolling) {
  AddRows(500);
  list->ScrollToRow(490);
  EXPECT_EQ(list->GetTopItem(), 500 - list->GetCountPerPage());
  wxImage image = Paint();
  // The top row of the page is drawn at the top of the rows area.
  wxRect top = list->GetCellRect(list->GetTopItem(), 0);
  EXPECT_EQ(top.y, list->GetRowsArea().y);
}
