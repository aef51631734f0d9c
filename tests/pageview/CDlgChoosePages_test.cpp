#include "CDlgChoosePages.h"

#include "CThumbnailGrid.h"
#include "PdfMaker.h"
#include "ThumbnailQueue.h"
#include "support/FrameTest.h"
#include "support/TempDir.h"

#include <wx/button.h>
#include <wx/dcmemory.h>
#include <wx/stattext.h>

namespace {

std::wstring Wide(const std::string &s) { return std::wstring(s.begin(), s.end()); }

class ChoosePages : public FrameTest {
protected:
  CDlgChoosePages *Open(const std::string &file, int pages, const std::wstring &range = L"") {
    dialog = new CDlgChoosePages(m_frame, Wide(dir.file(file)), "", pages, range);
    dialog->Show();
    YieldToWindows();
    return dialog;
  }
  void TearDown() override {
    if (dialog)
      dialog->Destroy();
    FrameTest::TearDown();
  }
  // A click in the middle of a page's cell, with the given keys held.
  void ClickPage(int index, bool shift = false, bool ctrl = false) {
    CThumbnailGrid *grid = dialog->GetGrid();
    grid->EnsureVisible(index);
    const wxRect cell = dialog->GetGrid()->CellRect(index);
    wxMouseEvent event(wxEVT_LEFT_DOWN);
    event.SetPosition(grid->CalcScrolledPosition(cell.GetPosition() + wxSize(cell.width / 2, 40)));
    event.SetShiftDown(shift);
    event.SetControlDown(ctrl);
    event.SetEventObject(grid);
    grid->GetEventHandler()->ProcessEvent(event);
  }
  void Press(int id) {
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(dialog->FindWindow(id));
    dialog->FindWindow(id)->GetEventHandler()->ProcessEvent(event);
  }
  void Key(int code, int modifiers = wxMOD_NONE) {
    wxKeyEvent event(wxEVT_KEY_DOWN);
    event.m_keyCode = code;
    event.SetControlDown(modifiers & wxMOD_CONTROL);
    event.SetShiftDown(modifiers & wxMOD_SHIFT);
    dialog->GetGrid()->GetEventHandler()->ProcessEvent(event);
  }
  wxString Status() const { return dialog->GetStatusText()->GetLabel(); }
  bool OkEnabled() const { return dialog->FindWindow(wxID_OK)->IsEnabled(); }

  TempDir dir;
  CDlgChoosePages *dialog = nullptr;
};

TEST_F(ChoosePages, TheRowsRangeStartsSelectedAndTheButtonsSelect) {
  MakeNumberedPdf(dir.file("twelve.pdf"), 12);
  Open("twelve.pdf", 12, L"2-4, 9, 15-14");
  EXPECT_EQ((std::vector<int32_t>{2, 3, 4, 9}), dialog->GetGrid()->Selection().SelectedPages());
  EXPECT_EQ("4 of 12 pages selected", Status());
  EXPECT_EQ(L"2-4, 9", dialog->GetRangeText());
  Press(CDlgChoosePages::IDC_ODD);
  EXPECT_EQ(L"Odd", dialog->GetRangeText());
  Press(CDlgChoosePages::IDC_EVEN);
  EXPECT_EQ(L"Even", dialog->GetRangeText());
  Press(CDlgChoosePages::IDC_NONE);
  EXPECT_FALSE(OkEnabled());
  EXPECT_EQ("Choose at least one page.", Status());
  Press(CDlgChoosePages::IDC_ALL);
  EXPECT_TRUE(OkEnabled());
  EXPECT_TRUE(dialog->IsAllPages());
}

TEST_F(ChoosePages, ARowWithoutARangeStartsWithEveryPage) {
  MakeNumberedPdf(dir.file("three.pdf"), 3);
  Open("three.pdf", 3);
  EXPECT_TRUE(dialog->IsAllPages());
  EXPECT_EQ("3 of 3 pages selected", Status());
}

TEST_F(ChoosePages, ClicksAndKeysSelect) {
  MakeNumberedPdf(dir.file("ten.pdf"), 10);
  Open("ten.pdf", 10);
  ClickPage(1);
  ClickPage(4, false, true);
  ClickPage(6, true, true);
  EXPECT_EQ(L"2, 5-7", dialog->GetRangeText());
  EXPECT_EQ("4 of 10 pages selected", Status());
  Key(WXK_RIGHT); // to page 8, alone
  EXPECT_EQ(L"8", dialog->GetRangeText());
  Key(WXK_LEFT, wxMOD_SHIFT);
  Key(WXK_LEFT, wxMOD_SHIFT);
  EXPECT_EQ(L"6-8", dialog->GetRangeText());
  Key(WXK_HOME, wxMOD_CONTROL);
  Key(WXK_SPACE);
  EXPECT_EQ(L"1, 6-8", dialog->GetRangeText());
  Key('A', wxMOD_CONTROL);
  EXPECT_TRUE(dialog->IsAllPages());
}

TEST_F(ChoosePages, ThumbnailsShowThePages) {
  MakeNumberedPdf(dir.file("five.pdf"), 5);
  Open("five.pdf", 5);
  ASSERT_TRUE(YieldUntil([&] {
    for (int page = 0; page < 5; ++page)
      if (!dialog->GetQueue()->Cache().Contains(page))
        return false;
    return true;
  }));
  // What the grid paints, drawn off screen: other tests' windows may cover it on the display.
  CThumbnailGrid *grid = dialog->GetGrid();
  const wxSize size = grid->GetClientSize();
  wxBitmap shot(size);
  {
    wxMemoryDC memory(shot);
    grid->PaintTo(memory);
  }
  const wxImage image = shot.ConvertToImage();
  for (int page = 0; page < 5; ++page) {
    const wxRect cell = grid->CellRect(page);
    const wxPoint at = grid->CalcScrolledPosition(cell.GetPosition()) +
                       wxSize(cell.width / 2, 8 + CThumbnailGrid::kThumbHeight / 2);
    const unsigned rgb = (image.GetRed(at.x, at.y) << 16) | (image.GetGreen(at.x, at.y) << 8) |
                         image.GetBlue(at.x, at.y);
    EXPECT_TRUE(Near({image.GetRed(at.x, at.y), image.GetGreen(at.x, at.y), image.GetBlue(at.x, at.y)},
                     PageColour(page)))
        << page << ": " << std::hex << rgb;
  }
}

TEST_F(ChoosePages, ALongDocumentKeepsFewPictures) {
  MakeNumberedPdf(dir.file("long.pdf"), 3000, 200, 280);
  Open("long.pdf", 3000);
  CThumbnailGrid *grid = dialog->GetGrid();
  for (int page : {0, 1500, 2999}) {
    grid->EnsureVisible(page);
    grid->Refresh();
    ASSERT_TRUE(YieldUntil([&] { return dialog->GetQueue()->Cache().Contains(page); })) << page;
    grid->Update();
    int first = 0, last = -1;
    ASSERT_TRUE(grid->GetVisibleRange(&first, &last));
    EXPECT_LE(grid->GetBitmapCount(), static_cast<size_t>(3 * (last - first + 1)));
  }
  EXPECT_LE(dialog->GetQueue()->Cache().Bytes(), CDlgChoosePages::kCacheBytes);
  EXPECT_LT(dialog->GetQueue()->Cache().Count(), 1000u);
}

TEST_F(ChoosePages, ADocumentTheRendererCannotOpenSaysWhy) {
  WriteFileBytes(dir.file("junk.pdf"), "no PDF here");
  Open("junk.pdf", 4);
  ASSERT_TRUE(YieldUntil([&] { return dialog->GetOpenStatus() != -1; }));
  EXPECT_TRUE(Status().StartsWith("The pages cannot be shown: The file is damaged")) << Status();
  // Pages are still chosen by number.
  ClickPage(2);
  EXPECT_EQ(L"3", dialog->GetRangeText());
}

} // namespace
