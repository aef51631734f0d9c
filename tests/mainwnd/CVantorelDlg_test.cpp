// The main window's start-up, layout, commands, language, keys and shut-down.
#include "MainWindowFixture.h"

#include "BarCommand.h"
#include "CCoolButtonBar.h"
#include "CCoolToolBar.h"
#include "CFileList.h"
#include "CLvCover.h"
#include "COutputSetting.h"
#include "CReadOnlyComboBox.h"
#include "CoolBarTables.h"
#include "DialogUnits.h"
#include "MainMenus.h"
#include "MenuCommandId.h"
#include "PdfMaker.h"
#include "VendorSite.h"
#include "controls/CXListCtrl.h"

#include <filesystem>

#include <wx/checkbox.h>
#include <wx/dcmemory.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {
wxString Label(CVantorelDlg *dlg, int id) { return dlg->FindWindow(id)->GetLabel(); }
} // namespace

TEST_F(MainWindow, StartsWithTheCoverTheTitleAndOnlyTheSwitchAndUpgradeEnabled) {
  EXPECT_EQ(wxSize(900, 608), dlg->GetSize());
  EXPECT_EQ("Tessary Zuzu VOR Adazev", dlg->GetTitle());
  EXPECT_TRUE(dlg->GetCover()->IsShown());
  EXPECT_FALSE(dlg->GetListCtrl()->IsShown());
  EXPECT_EQ(dlg->GetListCtrl()->GetPosition(), dlg->GetCover()->GetPosition());
  EXPECT_EQ(wxSize(877, 280), dlg->GetCover()->GetSize());
  EXPECT_EQ(5, dlg->GetListCtrl()->GetColumns());
  EXPECT_FALSE(dlg->GetBuildBar()->IsButtonEnabled(0));
  for (int command : {kCmdPageRange, kCmdMoveUp, kCmdMoveDown, kCmdRemove, kCmdClear})
    EXPECT_FALSE(ListButtonEnabled(command)) << command;
  EXPECT_TRUE(ListButtonEnabled(kCmdMergeSwitch));
  EXPECT_TRUE(ListButtonEnabled(kCmdUpgrade));
  // Output folder and name.
  EXPECT_EQ(dlg->GetSettings().OutputFolder, dlg->GetOutputFolderEdit()->GetValue().ToStdWstring());
  CReadOnlyComboBox *name = dlg->GetOutputNameBox();
  ASSERT_EQ(2u, name->GetCount());
  EXPECT_EQ("Customize", name->GetString(0));
  EXPECT_EQ(1, name->GetSelection());
  EXPECT_EQ("FirstFileName_LastFileName", name->GetValue());
  EXPECT_FALSE(name->IsEditPartEditable());
}

TEST_F(MainWindow, BarsAndPanelSitWhereTheLayoutPutsThem) {
  const int W = dlg->GetSize().x, H = dlg->GetSize().y;
  CCoolToolBar *add = dlg->GetAddFilesBar(), *folder = dlg->GetAddFolderBar();
  EXPECT_EQ(DluRect(7, 24, 92, 18).GetPosition(), add->GetPosition());
  EXPECT_EQ(add->GetBarWidth(), add->GetSize().x);
  EXPECT_EQ(add->GetRect().GetRight() + 11, folder->GetPosition().x);
  EXPECT_EQ(add->GetPosition().y, folder->GetPosition().y);
  CCoolToolBar *build = dlg->GetBuildBar(), *list = dlg->GetListBar();
  EXPECT_EQ(wxPoint(W - build->GetBarWidth() - kBarRightMargin, H - kBuildBarBottomOffset),
            build->GetPosition());
  EXPECT_EQ(wxPoint(W - list->GetBarWidth() - kBarRightMargin, kListBarTop), list->GetPosition());
  CCoolButtonBar *title = dlg->GetTitleBar();
  EXPECT_EQ(wxPoint(W - title->GetStripSize().x - 7, 2), title->GetPosition());
  wxWindow *panel = dlg->GetOutputSetting();
  EXPECT_EQ(5, panel->GetPosition().x);
  EXPECT_EQ(W - 12, panel->GetSize().x);
  EXPECT_EQ(dlg->FindWindow(CVantorelDlg::IDC_OUTPUT_PATH)->GetPosition().y,
            panel->GetRect().GetBottom() + 1);
}

TEST_F(MainWindow, MainMenuHoldsTheCommandsAndTheLanguages) {
  wxMenu *menu = dlg->GetMainMenu();
  EXPECT_EQ("Help", menu->FindItemByPosition(0)->GetItemLabelText());
  EXPECT_EQ("Check For Update...", menu->FindItemByPosition(2)->GetItemLabelText());
  EXPECT_EQ("Homepage", menu->FindItemByPosition(3)->GetItemLabelText());
  EXPECT_EQ("Language", menu->FindItemByPosition(5)->GetItemLabelText());
  wxMenu *languages = dlg->GetLanguageMenu();
  ASSERT_NE(nullptr, languages);
  // "auto", a separator and the four language files.
  EXPECT_EQ(6u, languages->GetMenuItemCount());
  EXPECT_TRUE(languages->IsChecked(MenuItemIdFromCommand(32778)));
  dlg->OnBarCommand(kCmdMainMenu);
  ASSERT_EQ(1u, dlg->popups.size());
  EXPECT_EQ(menu, dlg->popups[0]);
}

TEST_F(MainWindow, MenuCommandsOpenTheVendorPagesAndDialogs) {
  dlg->OnMenuCommand(ID_HOMEPAGE);
  dlg->OnMenuCommand(ID_ABOUT);
  dlg->OnMenuCommand(ID_CHECK_UPDATE);
  dlg->OnBarCommand(kCmdUpgrade);
  ASSERT_EQ(1u, dlg->addresses.size());
  EXPECT_EQ(GetHomePageUrl(), dlg->addresses[0]);
  EXPECT_EQ(1, dlg->aboutShown);
  EXPECT_EQ(1, dlg->updateShown);
  EXPECT_EQ(1, dlg->upgradeShown);
}

TEST_F(MainWindow, HelpOpensTheTutorialOfTheLanguageCode) {
  struct Case {
    const wchar_t *code;
    const wchar_t *path;
  } cases[] = {{L"de", L"/de/pdf-merger-tutorial.html"},
               {L"DE", L"/pdf-merger-tutorial.html"},
               {L"jp", L"/jp/pdf-merger-tutorial.html"},
               {L"fr", L"/fr/pdf-merger-tutorial.html"},
               {L"en", L"/pdf-merger-tutorial.html"}};
  for (const Case &c : cases) {
    SelectLanguage(c.code);
    dlg->addresses.clear();
    dlg->OnMenuCommand(ID_HELP);
    // F1 does the same.
    wxKeyEvent f1(wxEVT_CHAR_HOOK);
    f1.m_keyCode = WXK_F1;
    dlg->GetEventHandler()->ProcessEvent(f1);
    ASSERT_EQ(2u, dlg->addresses.size());
    EXPECT_EQ(GetVendorSiteHost() + c.path, dlg->addresses[0]);
    EXPECT_EQ(dlg->addresses[0], dlg->addresses[1]);
  }
}

TEST_F(MainWindow, EnterAndEscapeNeverCloseTheWindow) {
  for (wxWindow *control : {static_cast<wxWindow *>(dlg->GetOutputFolderEdit()),
                            static_cast<wxWindow *>(dlg->GetOutputNameBox()),
                            dlg->FindWindow(CVantorelDlg::IDC_OPEN_FOLDER)}) {
    control->SetFocus();
    for (int code : {WXK_RETURN, WXK_ESCAPE, WXK_NUMPAD_ENTER}) {
      wxKeyEvent key(wxEVT_CHAR_HOOK);
      key.m_keyCode = code;
      key.SetEventObject(control);
      dlg->GetEventHandler()->ProcessEvent(key);
      EXPECT_TRUE(key.GetSkipped() == false);
      YieldToWindows();
      EXPECT_TRUE(dlg->IsShown());
    }
  }
  EXPECT_TRUE(dlg->addresses.empty());
}

TEST_F(MainWindow, BuildCollectsEveryCheckInOneMessageAndStartsNothing) {
  MakeNumberedPdf(Home("a.pdf"), 1);
  AddRead(Wide(Home("a.pdf")));
  auto *openPwd = static_cast<wxCheckBox *>(dlg->FindWindow(COutputSetting::IDC_OPEN_PWD));
  auto *permPwd = static_cast<wxCheckBox *>(dlg->FindWindow(COutputSetting::IDC_PERMISSION_PWD));
  openPwd->SetValue(true);
  permPwd->SetValue(true);
  dlg->GetOutputNameBox()->SelectEntry(0);
  dlg->GetOutputNameBox()->ChangeValue("");
  dlg->OnBarCommand(kCmdBuild);
  ASSERT_EQ(1u, dlg->messages.size());
  EXPECT_EQ("Open Password is Enalbed but Not Set value \n"
            "Permission Password is Enalbed but Not Set value \n"
            "Output File Name is Empty,please input...",
            dlg->messages[0]);
  EXPECT_EQ(0, dlg->progressRuns);
  EXPECT_EQ(0, dlg->upgradeShown);
}

TEST_F(MainWindow, BuildHandsOverRowsAndSettingsThenShowsTheUpsell) {
  MakeNumberedPdf(Home("a.pdf"), 2);
  MakeNumberedPdf(Home("b.pdf"), 3);
  AddRead(Wide(Home("a.pdf")));
  AddRead(Wide(Home("b.pdf")));
  // A folder typed into the edit is used without pressing "Open".
  dlg->GetOutputFolderEdit()->ChangeValue(Home("typed"));
  std::vector<_stru_ItemData_> rows;
  CFSMSettings seen;
  dlg->merge = [&](const std::vector<_stru_ItemData_> &r, const CFSMSettings &s) {
    rows = r;
    seen = s;
  };
  dlg->OnBarCommand(kCmdBuild);
  EXPECT_TRUE(dlg->messages.empty());
  EXPECT_EQ(1, dlg->progressRuns);
  EXPECT_EQ(1, dlg->upgradeShown);
  ASSERT_EQ(2u, rows.size());
  EXPECT_EQ(Wide(Home("a.pdf")), rows[0].szFilePath);
  // The row's output buffer is shared, so the job's output path shows in the row.
  EXPECT_EQ(dlg->GetFileList()->GetItemData(0)->pszOutPath, rows[0].pszOutPath);
  EXPECT_EQ(Wide(Home("typed")), seen.OutputFolder);
  EXPECT_EQ(L"FirstFileName_LastFileName", seen.strOutputFileName);
  EXPECT_EQ(1, seen.nPaperSize);
  EXPECT_EQ(1, seen.nNUp);
}

TEST_F(MainWindow, NameBoxIsEditableOnlyForTheCustomEntry) {
  CReadOnlyComboBox *name = dlg->GetOutputNameBox();
  name->SelectEntry(0);
  EXPECT_TRUE(name->IsEditPartEditable());
  EXPECT_EQ("Customize", name->GetValue());
  name->SelectEntry(1);
  EXPECT_FALSE(name->IsEditPartEditable());
  // Typing replaces entry 0 with the text typed.
  name->SelectEntry(0);
  name->SetValue("report");
  YieldToWindows();
  EXPECT_EQ("report", name->GetValue());
  ASSERT_EQ(2u, name->GetCount());
  EXPECT_EQ("report", name->GetString(0));
  EXPECT_EQ("FirstFileName_LastFileName", name->GetString(1));
}

TEST_F(MainWindow, MergeSwitchTogglesAndResetsTheListButtons) {
  MakeNumberedPdf(Home("a.pdf"), 1);
  MakeNumberedPdf(Home("b.pdf"), 1);
  AddRead(Wide(Home("a.pdf")));
  AddRead(Wide(Home("b.pdf")));
  dlg->GetListCtrl()->Select(0, true);
  ASSERT_TRUE(ListButtonEnabled(kCmdRemove));
  const int before = dlg->GetSettings().bMergeOn;
  EXPECT_EQ(1, before);
  const wxString onCaption = dlg->GetListBar()->GetButtonCaption(0);
  dlg->OnBarCommand(kCmdMergeSwitch);
  EXPECT_EQ(0, dlg->GetSettings().bMergeOn);
  EXPECT_EQ("Merge Off", dlg->GetListBar()->GetButtonCaption(0));
  EXPECT_NE(onCaption, dlg->GetListBar()->GetButtonCaption(0));
  for (int command : {kCmdPageRange, kCmdMoveUp, kCmdMoveDown, kCmdRemove, kCmdClear})
    EXPECT_FALSE(ListButtonEnabled(command)) << command;
  const int W = dlg->GetSize().x;
  EXPECT_EQ(W - dlg->GetListBar()->GetBarWidth() - kBarRightMargin,
            dlg->GetListBar()->GetPosition().x);
  dlg->OnBarCommand(kCmdMergeSwitch);
  EXPECT_EQ(1, dlg->GetSettings().bMergeOn);
  EXPECT_EQ("Merge On", dlg->GetListBar()->GetButtonCaption(0));
}

TEST_F(MainWindow, OutputFolderButtons) {
  dlg->folderAnswer = true;
  dlg->folder = Wide(Home("chosen"));
  const std::wstring initial = dlg->GetSettings().OutputFolder;
  dlg->ChooseOutputFolder();
  EXPECT_EQ(initial, dlg->askedFolderInitial);
  EXPECT_EQ(Wide(Home("chosen")), dlg->GetSettings().OutputFolder);
  EXPECT_EQ(Home("chosen"), dlg->GetOutputFolderEdit()->GetValue());
  dlg->folderAnswer = false;
  dlg->ChooseOutputFolder();
  EXPECT_EQ(Wide(Home("chosen")), dlg->GetSettings().OutputFolder);

  dlg->GetOutputFolderEdit()->ChangeValue(Home("other"));
  dlg->OpenOutputFolder();
  EXPECT_EQ(Wide(Home("other")), dlg->GetSettings().OutputFolder);
  ASSERT_EQ(1u, dlg->addresses.size());
  EXPECT_EQ(Wide(Home("other")), dlg->addresses[0]);
}

TEST_F(MainWindow, ChoosingALanguageTranslatesEveryText) {
  MakeNumberedPdf(Home("a.pdf"), 1);
  AddRead(Wide(Home("a.pdf")));
  // The language entries are in name order: de, en, fr, jp.
  dlg->OnMenuCommand(32779);
  EXPECT_EQ(L"de", dlg->GetSettings().languageID);
  EXPECT_EQ(L"de", GetCurrentLanguage());
  EXPECT_TRUE(dlg->GetLanguageMenu()->IsChecked(MenuItemIdFromCommand(32779)));
  EXPECT_FALSE(dlg->GetLanguageMenu()->IsChecked(MenuItemIdFromCommand(32778)));
  EXPECT_EQ("Ausgabedatei:", Label(dlg, CVantorelDlg::IDC_NAME_LABEL));
  EXPECT_EQ(wxString::FromUTF8("Ausgabeeinstellungen:"), Label(dlg, COutputSetting::IDC_TITLE));
  EXPECT_EQ("Hilfe", dlg->GetMainMenu()->FindItemByPosition(0)->GetItemLabelText());
  EXPECT_EQ("Leeren",
            dlg->GetListMenu()->FindItem(MenuItemIdFromCommand(ID_LIST_EMPTY))->GetItemLabelText());
  EXPECT_EQ(wxString::FromUTF8("Dateien hinzufügen"), dlg->GetAddFilesBar()->GetButtonCaption(0));
  EXPECT_EQ("Erstellen", dlg->GetBuildBar()->GetButtonCaption(0));
  EXPECT_EQ("Nr.", dlg->GetListCtrl()->GetHeaderCtrl()->GetItem(0)->text);
  EXPECT_EQ(wxString::FromUTF8("Alle (Doppelklick ändert den Seitenbereich)"),
            dlg->GetListCtrl()->GetItemText(0, 4));
  // The bars are laid out anew for the new caption widths.
  EXPECT_EQ(dlg->GetAddFilesBar()->GetBarWidth(), dlg->GetAddFilesBar()->GetSize().x);
  EXPECT_EQ(dlg->GetAddFilesBar()->GetRect().GetRight() + 11,
            dlg->GetAddFolderBar()->GetPosition().x);
  dlg->OnMenuCommand(32778);
  EXPECT_EQ(L"auto", dlg->GetSettings().languageID);
}

TEST_F(MainWindow, FolderLanguageAndSwitchAreKeptForTheNextStart) {
  dlg->GetOutputFolderEdit()->ChangeValue(Home("kept"));
  dlg->OpenOutputFolder();
  dlg->OnMenuCommand(32781); // fr
  dlg->OnBarCommand(kCmdMergeSwitch);
  Close();
  SelectLanguage(L"en");
  Open();
  EXPECT_EQ(Wide(Home("kept")), dlg->GetSettings().OutputFolder);
  EXPECT_EQ(Home("kept"), dlg->GetOutputFolderEdit()->GetValue());
  EXPECT_EQ(L"fr", dlg->GetSettings().languageID);
  EXPECT_EQ(L"fr", GetCurrentLanguage());
  EXPECT_EQ(0, dlg->GetSettings().bMergeOn);
  EXPECT_EQ(LoadLangString(216), dlg->GetListBar()->GetButtonCaption(0).ToStdWstring());
  EXPECT_TRUE(dlg->GetLanguageMenu()->IsChecked(MenuItemIdFromCommand(32781)));
}

TEST_F(MainWindow, AFailedSaveIsReported) {
  // A folder where the settings file should be cannot be replaced by a file.
  std::filesystem::create_directories(Home("config.ini"));
  dlg->ShutDown();
  ASSERT_EQ(1u, dlg->messages.size());
  EXPECT_EQ("Save project settings error!", dlg->messages[0]);
}

TEST_F(MainWindow, CloseButtonEndsTheWindow) {
  dlg->OnBarCommand(kCmdClose);
  YieldToWindows();
  EXPECT_FALSE(dlg->IsShown());
}

TEST_F(MainWindow, DraggingTheSurfaceMovesTheWindow) {
  dlg->Move(100, 100);
  YieldToWindows();
  const wxPoint start = dlg->GetPosition();
  wxMouseEvent down(wxEVT_LEFT_DOWN);
  down.SetPosition(wxPoint(400, 20));
  down.m_leftDown = true;
  dlg->GetEventHandler()->ProcessEvent(down);
  wxMouseEvent move(wxEVT_MOTION);
  move.SetPosition(wxPoint(430, 60));
  move.m_leftDown = true;
  dlg->GetEventHandler()->ProcessEvent(move);
  wxMouseEvent up(wxEVT_LEFT_UP);
  up.SetPosition(wxPoint(400, 20));
  dlg->GetEventHandler()->ProcessEvent(up);
  YieldToWindows();
  EXPECT_EQ(start + wxPoint(30, 40), dlg->GetPosition());
  EXPECT_FALSE(dlg->HasCapture());
}

TEST_F(MainWindow, TheSkinIsPaintedWithTheTitle) {
  wxBitmap bitmap(dlg->GetSize());
  {
    wxMemoryDC dc(bitmap);
    dlg->DrawWindow(dc, dlg->GetSize());
  }
  const wxImage image = bitmap.ConvertToImage();
  // The title text is grey (125, 125, 125) somewhere right of the icon on the title line.
  bool titleSeen = false;
  for (int x = 40; x < 300 && !titleSeen; ++x)
    for (int y = 10; y < 30 && !titleSeen; ++y)
      titleSeen =
          std::abs(image.GetRed(x, y) - 125) < 20 && image.GetRed(x, y) == image.GetBlue(x, y);
  EXPECT_TRUE(titleSeen);
  // The icon at (8, 6) is not the skin's colour.
  EXPECT_FALSE(image.GetRed(20, 18) == image.GetRed(60, 45) &&
               image.GetGreen(20, 18) == image.GetGreen(60, 45) &&
               image.GetBlue(20, 18) == image.GetBlue(60, 45));
}
