#include "controls/CMemDC.h"

#include <gtest/gtest.h>
#include <wx/dcps.h>
#include <wx/image.h>

#include "support/TempDir.h"

namespace {
wxColour PixelOf(const wxBitmap &bitmap, int x, int y) {
  wxImage image = bitmap.ConvertToImage();
  return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}
} // namespace

TEST(CMemDC, CopiesOnlyTheRectangleAtItsPlaceWhenItGoesAway) {
  wxBitmap target(100, 100, 24);
  {
    wxMemoryDC dc(target);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    {
      // A rectangle away from (0, 0): callers draw in the target's coordinates.
      CMemDC mem(dc, wxRect(20, 30, 40, 50));
      EXPECT_TRUE(mem.IsMemDC());
      mem->SetPen(*wxTRANSPARENT_PEN);
      mem->SetBrush(*wxRED_BRUSH);
      mem->DrawRectangle(0, 0, 100, 100);
      mem->SetBrush(*wxBLUE_BRUSH);
      mem->DrawRectangle(20, 30, 5, 5);
    }
    dc.SelectObject(wxNullBitmap);
  }
  EXPECT_EQ(PixelOf(target, 10, 10), *wxWHITE);
  EXPECT_EQ(PixelOf(target, 21, 31), *wxBLUE);
  EXPECT_EQ(PixelOf(target, 30, 40), *wxRED);
  EXPECT_EQ(PixelOf(target, 59, 79), *wxRED);
  EXPECT_EQ(PixelOf(target, 60, 40), *wxWHITE);
  EXPECT_EQ(PixelOf(target, 30, 80), *wxWHITE);
}

TEST(CMemDC, CoversTheClipBoxOfTheTarget) {
  wxBitmap target(100, 100, 24);
  wxMemoryDC dc(target);
  dc.SetClippingRegion(10, 15, 30, 20);
  CMemDC mem(dc);
  EXPECT_EQ(mem.GetRect(), wxRect(10, 15, 30, 20));
}

TEST(CMemDC, CoversTheWholeTargetWithoutClipping) {
  wxBitmap target(64, 48, 24);
  wxMemoryDC dc(target);
  CMemDC mem(dc);
  EXPECT_EQ(mem.GetRect(), wxRect(0, 0, 64, 48));
}

TEST(CMemDC, DrawsStraightOnAPrinter) {
  TempDir dir;
  wxPrintData print;
  print.SetFilename(dir.file("out.ps"));
  print.SetPrintMode(wxPRINT_MODE_FILE);
  wxPostScriptDC ps(print);
  ASSERT_TRUE(ps.IsOk());
  ASSERT_TRUE(ps.StartDoc("test"));
  ps.StartPage();
  {
    CMemDC mem(ps, wxRect(0, 0, 50, 50));
    EXPECT_FALSE(mem.IsMemDC());
    EXPECT_EQ(&mem.GetDC(), static_cast<wxDC *>(&ps));
    mem->DrawRectangle(0, 0, 10, 10);
  }
  ps.EndPage();
  ps.EndDoc();
  EXPECT_TRUE(CMemDC::IsPrinterDC(ps));
}
