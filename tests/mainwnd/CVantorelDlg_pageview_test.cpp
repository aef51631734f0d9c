// Choose Pages and Preview from the main window: the commands, the row's range written back,
// and what Build then merges.
#include "MainWindowFixture.h"

#include "CDlgChoosePages.h"
#include "CDlgMergeProgress.h"
#include "CDlgPreviewSheets.h"
#include "CFileList.h"
#include "COutputSetting.h"
#include "CThumbnailGrid.h"
#include "MainMenus.h"
#include "MenuCommandId.h"
#include "MergerTool.h"
#include "PdfMaker.h"
#include "PictureMaker.h"
#include "controls/CXListCtrl.h"

#include <wx/radiobut.h>
#include <wx/textctrl.h>

namespace {

// The real progress dialog, with the file manager replaced.
class QuietProgress : public CDlgMergeProgress {
public:
  using CDlgMergeProgress::CDlgMergeProgress;
  std::vector<std::wstring> shown;

protected:
  void ShowResult(const std::wstring &path) override { shown.push_back(path); }
  void ShowMessage(const wxString &, long) override {}
};

template <typename T> T *FindTopLevel() {
  for (wxWindow *window : wxTopLevelWindows)
    if (auto *found = dynamic_cast<T *>(window))
      return found;
  return nullptr;
}

class PageView : public MainWindow {
protected:
  // Builds with the real progress dialog; the file the run wrote.
  std::wstring BuildOutput() {
    std::wstring output;
    dlg->merge = [&](const std::vector<_stru_ItemData_> &rows, const CFSMSettings &settings) {
      QuietProgress progress(dlg, rows, settings);
      progress.ShowModal();
      if (!progress.shown.empty())
        output = progress.shown[0];
    };
    dlg->GetOutputFolderEdit()->ChangeValue(Home("out"));
    dlg->Build();
    return output;
  }
  void ChooseLayout(int id) {
    static_cast<wxRadioButton *>(dlg->FindWindow(id))->SetValue(true);
  }
  wxString RangeCell(int row) { return dlg->GetListCtrl()->GetItemText(row, 4); }
};

void ClickPage(CThumbnailGrid *grid, int index, bool ctrl) {
  const wxRect cell = grid->CellRect(index);
  wxMouseEvent event(wxEVT_LEFT_DOWN);
  event.SetPosition(grid->CalcScrolledPosition(cell.GetPosition() + wxSize(cell.width / 2, 40)));
  event.SetControlDown(ctrl);
  event.SetEventObject(grid);
  grid->GetEventHandler()->ProcessEvent(event);
}

TEST_F(PageView, PagesChosenByClicksAreTheRowsRangeAndWhatBuildMerges) {
  MakeNumberedPdf(Home("five.pdf"), 5);
  AddRead(Wide(Home("five.pdf")));
  bool opened = false;
  dlg->CallAfter([&] {
    CDlgChoosePages *choose = FindTopLevel<CDlgChoosePages>();
    ASSERT_TRUE(choose);
    opened = true;
    ClickPage(choose->GetGrid(), 0, false);
    ClickPage(choose->GetGrid(), 2, true);
    wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
    ok.SetEventObject(choose->FindWindow(wxID_OK));
    choose->FindWindow(wxID_OK)->GetEventHandler()->ProcessEvent(ok);
  });
  dlg->ChoosePages(0);
  ASSERT_TRUE(opened);
  EXPECT_EQ("1, 3", RangeCell(0));
  EXPECT_EQ(L"1, 3", *dlg->GetFileList()->GetItemData(0)->pszPageRange);

  ChooseLayout(COutputSetting::IDC_1IN1);
  const std::wstring output = BuildOutput();
  ASSERT_FALSE(output.empty());
  const std::string path(output.begin(), output.end());
  ASSERT_EQ(2, MergerTool::GetPdfInfo(output.c_str()));
  EXPECT_TRUE(Near(RenderPage(path, 1).At(0.5, 0.5), PageColour(0)));
  EXPECT_TRUE(Near(RenderPage(path, 2).At(0.5, 0.5), PageColour(2)));
}

TEST_F(PageView, CancelChangesNothingAndEveryPageMeansAll) {
  MakeNumberedPdf(Home("four.pdf"), 4);
  AddRead(Wide(Home("four.pdf")));
  dlg->GetFileList()->SetPageRange(0, L"2-3");
  dlg->CallAfter([&] {
    CDlgChoosePages *choose = FindTopLevel<CDlgChoosePages>();
    ASSERT_TRUE(choose);
    ClickPage(choose->GetGrid(), 0, false);
    choose->EndModal(wxID_CANCEL);
  });
  dlg->ChoosePages(0);
  EXPECT_EQ("2-3", RangeCell(0));
  dlg->CallAfter([&] {
    CDlgChoosePages *choose = FindTopLevel<CDlgChoosePages>();
    ASSERT_TRUE(choose);
    EXPECT_EQ(L"2-3", choose->GetRangeText()); // the range starts selected
    choose->GetGrid()->Selection().SelectAll();
    choose->EndModal(wxID_OK);
  });
  dlg->ChoosePages(0);
  EXPECT_EQ("All(Double click to change the page range)", RangeCell(0));
  EXPECT_TRUE(dlg->GetFileList()->GetItemData(0)->HasAllPages());
}

TEST_F(PageView, ADamagedRowOpensNothingAndSaysWhy) {
  WriteFileBytes(Home("broken.pdf"), "%PDF-1.4\nnothing more\n");
  AddRead(Wide(Home("broken.pdf")));
  dlg->ChoosePages(0);
  ASSERT_EQ(1u, dlg->messages.size());
  EXPECT_TRUE(dlg->messages[0].StartsWith("Selected PDF File Load failed\n\n")) << dlg->messages[0];
  EXPECT_GT(dlg->messages[0].size(), wxString("Selected PDF File Load failed\n\n").size());
  EXPECT_FALSE(FindTopLevel<CDlgChoosePages>());
}

TEST_F(PageView, TheCommandsAreInTheMenusForTheRowsTheyFit) {
  MakeNumberedPdf(Home("one.pdf"), 1);
  MakePicture(Home("photo.png"), "png", 20, 20, 0xFF0000);
  AddRead(Wide(Home("one.pdf")));
  AddRead(Wide(Home("photo.png")));
  wxMenu *menu = dlg->GetListMenu();
  dlg->EnableContextMenu(0);
  EXPECT_TRUE(IsMenuCommandEnabled(menu, ID_LIST_CHOOSE_PAGES));
  EXPECT_TRUE(IsMenuCommandEnabled(menu, ID_PREVIEW));
  dlg->EnableContextMenu(1);
  EXPECT_FALSE(IsMenuCommandEnabled(menu, ID_LIST_CHOOSE_PAGES));
  dlg->EnableContextMenu(-1);
  EXPECT_FALSE(IsMenuCommandEnabled(menu, ID_LIST_CHOOSE_PAGES));
  EXPECT_TRUE(dlg->GetMainMenu()->FindItem(MenuItemIdFromCommand(ID_PREVIEW)));
  // Ctrl+T on the selected picture row says why it has no pages to choose.
  dlg->GetListCtrl()->SetCurSel(1);
  wxKeyEvent key(wxEVT_CHAR_HOOK);
  key.m_keyCode = 'T';
  key.SetControlDown(true);
  dlg->GetEventHandler()->ProcessEvent(key);
  ASSERT_EQ(1u, dlg->messages.size());
  EXPECT_EQ("Image file has only one page.There is no need to change its range.", dlg->messages[0]);
}

TEST_F(PageView, ThePreviewOfATwoUpMergeHasTheSheetsBuildWrites) {
  MakeNumberedPdf(Home("five.pdf"), 5);
  MakeNumberedPdf(Home("two.pdf"), 2);
  AddRead(Wide(Home("five.pdf")));
  AddRead(Wide(Home("two.pdf")));
  ChooseLayout(COutputSetting::IDC_2IN1);
  dlg->OnMenuCommand(ID_PREVIEW);
  CDlgPreviewSheets *preview = FindTopLevel<CDlgPreviewSheets>();
  ASSERT_TRUE(preview);
  ASSERT_TRUE(YieldUntil([&] { return preview->GetSheetCount() > 0; }));
  const int sheets = preview->GetSheetCount();
  EXPECT_EQ(4, sheets);
  // A second command brings the same window forward.
  dlg->OpenPreview();
  EXPECT_EQ(preview, FindTopLevel<CDlgPreviewSheets>());

  const std::wstring output = BuildOutput();
  ASSERT_FALSE(output.empty());
  EXPECT_EQ(sheets, MergerTool::GetPdfInfo(output.c_str()));

  // Four per sheet in the panel: the preview offers to show it anew.
  ChooseLayout(COutputSetting::IDC_4IN1);
  preview->CheckInputs();
  EXPECT_TRUE(preview->IsRefreshOffered());
  preview->Remake();
  ASSERT_TRUE(YieldUntil([&] { return !preview->IsMaking() && preview->GetSheetCount() > 0; }));
  EXPECT_EQ(2, preview->GetSheetCount());
  preview->Destroy();
  YieldToWindows();
}

} // namespace
