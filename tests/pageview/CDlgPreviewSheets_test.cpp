#include "CDlgPreviewSheets.h"

#include "CSheetView.h"
#include "CThumbnailGrid.h"
#include "PdfMaker.h"
#include "PictureMaker.h"
#include "job/JobTestSupport.h"
#include "support/FrameTest.h"
#include "support/TempDir.h"

#include <filesystem>

#include <wx/button.h>
#include <wx/stattext.h>

namespace {

class Preview : public FrameTest {
protected:
  void SetUp() override {
    FrameTest::SetUp();
    MakeNumberedPdf(dir.file("five.pdf"), 5);
    MakeNumberedPdf(dir.file("two.pdf"), 2);
    inputs.rows = {MakeRow(dir.file("five.pdf"), 5), MakeRow(dir.file("two.pdf"), 2)};
    inputs.settings = MakeSettings(dir.file("out"), 1, 1); // two per sheet
  }
  void TearDown() override {
    if (preview)
      preview->Destroy();
    FrameTest::TearDown();
  }
  void Open() {
    preview = new CDlgPreviewSheets(
        m_frame, [this] { return inputs; }, W(dir.file("tmp")));
    preview->Show();
  }
  bool WaitForSheets() {
    return YieldUntil([&] { return preview->GetSheetCount() > 0 && preview->GetLargePage() >= 0; });
  }
  size_t FilesLeft() const {
    size_t n = 0;
    if (std::filesystem::exists(dir.file("tmp")))
      for (const auto &entry : std::filesystem::directory_iterator(dir.file("tmp")))
        n += entry.path().filename().string().rfind("preview-", 0) == 0;
    return n;
  }
  void Press(int id) {
    wxCommandEvent event(wxEVT_BUTTON, id);
    preview->FindWindow(id)->GetEventHandler()->ProcessEvent(event);
  }

  TempDir dir;
  PreviewInputs inputs;
  CDlgPreviewSheets *preview = nullptr;
};

TEST_F(Preview, ShowsTheSheetsWithACounterAndRemovesItsFile) {
  Open();
  ASSERT_TRUE(WaitForSheets());
  EXPECT_EQ(4, preview->GetSheetCount()); // seven pages, two per sheet
  EXPECT_EQ("Sheet 1 of 4", preview->GetCounter()->GetLabel());
  EXPECT_FALSE(preview->IsMaking());
  EXPECT_EQ(0u, FilesLeft());
  // A click on the third thumbnail shows that sheet larger.
  CThumbnailGrid *grid = preview->GetGrid();
  const wxRect cell = grid->CellRect(2);
  wxMouseEvent click(wxEVT_LEFT_DOWN);
  click.SetPosition(grid->CalcScrolledPosition(cell.GetPosition() + wxSize(cell.width / 2, 40)));
  grid->GetEventHandler()->ProcessEvent(click);
  EXPECT_EQ("Sheet 3 of 4", preview->GetCounter()->GetLabel());
  ASSERT_TRUE(YieldUntil([&] { return preview->GetLargePage() == 2; }));
  EXPECT_TRUE(preview->GetSheetView()->GetBitmap().IsOk());
}

TEST_F(Preview, OffersARefreshWhenWhatBuildWouldMergeChanges) {
  Open();
  ASSERT_TRUE(WaitForSheets());
  preview->CheckInputs();
  EXPECT_FALSE(preview->IsRefreshOffered());
  inputs.settings.nNUp = 2; // four per sheet
  preview->CheckInputs();
  EXPECT_TRUE(preview->IsRefreshOffered());
  Press(CDlgPreviewSheets::IDC_REFRESH);
  EXPECT_FALSE(preview->IsRefreshOffered());
  ASSERT_TRUE(WaitForSheets());
  EXPECT_EQ(2, preview->GetSheetCount());
  inputs.rows[0].pszPageRange = std::make_shared<std::wstring>(L"1");
  preview->CheckInputs();
  EXPECT_TRUE(preview->IsRefreshOffered());
}

TEST_F(Preview, CancelStopsTheMakingAndLeavesNoFile) {
  MakeNumberedPdf(dir.file("long.pdf"), 400);
  for (int i = 0; i < 6; ++i)
    inputs.rows.push_back(MakeRow(dir.file("long.pdf"), 400));
  Open();
  EXPECT_TRUE(preview->IsMaking());
  Press(wxID_CANCEL);
  ASSERT_TRUE(YieldUntil([&] { return !preview->IsMaking(); }));
  EXPECT_EQ("The preview was cancelled.", preview->GetStatusText()->GetLabel());
  EXPECT_EQ(0, preview->GetSheetCount());
  EXPECT_EQ(0u, FilesLeft());
}

TEST_F(Preview, APictureIsShownAsItWillBePlaced) {
  // Stored upside down, with the orientation that turns it: red above blue once turned.
  MakeOrientedJpeg(dir.file("photo.jpg"), 120, 200, 0x0000FF, 0xFF0000, 3);
  inputs.rows = {MakeRow(dir.file("photo.jpg"), 1)};
  inputs.settings.nNUp = 0;
  Open();
  ASSERT_TRUE(WaitForSheets());
  const wxImage image = preview->GetSheetView()->GetBitmap().ConvertToImage();
  const int x = image.GetWidth() / 2, h = image.GetHeight();
  auto colour = [&](int y) {
    return Rgb{image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)};
  };
  EXPECT_TRUE(Near(colour(h * 45 / 100), 0xFF0000));
  EXPECT_TRUE(Near(colour(h * 55 / 100), 0x0000FF));
}

TEST_F(Preview, NothingToPreviewWithoutRows) {
  inputs.rows.clear();
  Open();
  EXPECT_FALSE(preview->IsMaking());
  EXPECT_EQ("There is nothing to preview.", preview->GetStatusText()->GetLabel());
}

} // namespace
