// Adding files to the main window: one file, the Add Files dialog, the folder scan and drops.
#include "MainWindowFixture.h"

#include "BarCommand.h"
#include "CCoolToolBar.h"
#include "CFileList.h"
#include "CLvCover.h"
#include "CURLDropTarget.h"
#include "FileAdding.h"
#include "PdfMaker.h"
#include "PictureMaker.h"
#include "controls/CXListCtrl.h"

#include <filesystem>

#include <wx/utils.h>

namespace {} // namespace

TEST_F(MainWindow, AnUnsupportedNameHidesTheCoverButAddsNothing) {
  ASSERT_TRUE(dlg->GetCover()->IsShown());
  ASSERT_FALSE(dlg->GetListCtrl()->IsShown());
  AddRead(Wide(Home("notes.txt")));
  EXPECT_FALSE(dlg->GetCover()->IsShown());
  EXPECT_TRUE(dlg->GetListCtrl()->IsShown());
  EXPECT_EQ(0, dlg->GetListCtrl()->GetItemCount());
  EXPECT_FALSE(dlg->GetBuildBar()->IsButtonEnabled(0));
}

TEST_F(MainWindow, TheFirstFileEnablesBuildAndTheListButtons) {
  MakeNumberedPdf(Home("a.pdf"), 3);
  AddRead(Wide(Home("a.pdf")));
  ASSERT_EQ(1, dlg->GetListCtrl()->GetItemCount());
  EXPECT_EQ("1", dlg->GetListCtrl()->GetItemText(0, 0));
  EXPECT_EQ("a.pdf", dlg->GetListCtrl()->GetItemText(0, 1));
  EXPECT_EQ("3", dlg->GetListCtrl()->GetItemText(0, 3));
  EXPECT_TRUE(dlg->GetBuildBar()->IsButtonEnabled(0));
  // Nothing selected yet: the switch, clear and upgrade only.
  EXPECT_TRUE(ListButtonEnabled(kCmdMergeSwitch));
  EXPECT_TRUE(ListButtonEnabled(kCmdClear));
  EXPECT_TRUE(ListButtonEnabled(kCmdUpgrade));
  EXPECT_FALSE(ListButtonEnabled(kCmdMoveUp));
  EXPECT_FALSE(ListButtonEnabled(kCmdRemove));
  EXPECT_FALSE(ListButtonEnabled(kCmdPageRange));
  AddRead(Wide(Home("a.pdf")));
  EXPECT_EQ(2, dlg->GetListCtrl()->GetItemCount()); // no duplicate check
  EXPECT_TRUE(dlg->GetBuildBar()->IsButtonEnabled(0));
}

TEST_F(MainWindow, AddFilesAddsInTheDialogsOrderAndRemembersTheFolder) {
  std::filesystem::create_directories(Home("in"));
  MakeNumberedPdf(Home("in/a.PDF"), 2);
  MakePicture(Home("in/b.Jpeg"), "jpeg", 8, 8, 0x336699);
  const std::wstring before = dlg->GetSettings().TrackFolder;
  dlg->filesAnswer = true;
  dlg->files = {Wide(Home("in/a.PDF")), Wide(Home("in/b.Jpeg"))};
  dlg->OnBarCommand(kCmdAddFiles);
  EXPECT_EQ(before, dlg->askedFilesFolder);
  ASSERT_EQ(2, dlg->GetListCtrl()->GetItemCount());
  EXPECT_EQ("a.PDF", dlg->GetListCtrl()->GetItemText(0, 1));
  EXPECT_EQ("b.Jpeg", dlg->GetListCtrl()->GetItemText(1, 1));
  WaitForReading();
  EXPECT_EQ(2, dlg->GetFileList()->GetItemData(0)->nTotalPage);
  EXPECT_EQ(1, dlg->GetFileList()->GetItemData(1)->nTotalPage);
  EXPECT_EQ(Wide(Home("in")), dlg->GetSettings().TrackFolder);
}

TEST_F(MainWindow, CancelledAddFilesChangesNothing) {
  const std::wstring before = dlg->GetSettings().TrackFolder;
  dlg->filesAnswer = false;
  dlg->files = {Wide(Home("x.pdf"))};
  dlg->OnBarCommand(kCmdAddFiles);
  EXPECT_EQ(0, dlg->GetListCtrl()->GetItemCount());
  EXPECT_TRUE(dlg->GetCover()->IsShown());
  EXPECT_EQ(before, dlg->GetSettings().TrackFolder);
}

TEST_F(MainWindow, AClickOnTheCoverOpensAddFiles) {
  dlg->filesAnswer = true;
  MakeNumberedPdf(Home("c.pdf"), 1);
  dlg->files = {Wide(Home("c.pdf"))};
  wxMouseEvent click(wxEVT_LEFT_DOWN);
  click.SetPosition(CLvCover::GetHotRect().GetPosition() + wxPoint(5, 5));
  dlg->GetCover()->GetEventHandler()->ProcessEvent(click);
  YieldToWindows();
  EXPECT_EQ(1, dlg->GetListCtrl()->GetItemCount());
}

TEST_F(MainWindow, AddFolderAddsThePdfFilesOfTheTree) {
  std::filesystem::create_directories(Home("tree/sub"));
  for (const char *name : {"tree/x.pdf", "tree/y.Pdf", "tree/z.jpg", "tree/sub/w.PDF"})
    MakeNumberedPdf(Home(name), 1);
  const std::wstring track = dlg->GetSettings().TrackFolder;
  dlg->folderAnswer = true;
  dlg->folder = Wide(Home("tree"));
  dlg->OnBarCommand(kCmdAddFolder);
  // The first Add Folder of a run starts at the home folder, the next at the folder chosen.
  EXPECT_EQ(wxGetHomeDir().ToStdWstring(), dlg->askedFolderInitial);
  dlg->folderAnswer = false;
  dlg->OnBarCommand(kCmdAddFolder);
  EXPECT_EQ(Wide(Home("tree")), dlg->askedFolderInitial);
  ASSERT_EQ(2, dlg->GetListCtrl()->GetItemCount());
  std::vector<wxString> names = {dlg->GetListCtrl()->GetItemText(0, 1),
                                 dlg->GetListCtrl()->GetItemText(1, 1)};
  std::sort(names.begin(), names.end());
  EXPECT_EQ("w.PDF", names[0]);
  EXPECT_EQ("x.pdf", names[1]);
  EXPECT_EQ(track, dlg->GetSettings().TrackFolder);
}

TEST_F(MainWindow, DropsAddOnlySupportedNames) {
  auto *target = dynamic_cast<CURLDropTarget *>(dlg->GetDropTarget());
  ASSERT_NE(nullptr, target);
  wxArrayString textOnly;
  textOnly.Add(Home("readme.txt"));
  EXPECT_FALSE(target->OnDropFiles(0, 0, textOnly));
  EXPECT_EQ(0, dlg->GetListCtrl()->GetItemCount());

  WriteFileBytes(Home("photo.png"), "png");
  std::filesystem::create_directories(Home("folder.pdf"));
  wxArrayString mixed;
  mixed.Add(Home("readme.txt"));
  mixed.Add(Home("photo.png"));
  mixed.Add(Home("folder.pdf"));
  EXPECT_TRUE(target->OnDropFiles(0, 0, mixed));
  ASSERT_EQ(2, dlg->GetListCtrl()->GetItemCount());
  EXPECT_EQ("photo.png", dlg->GetListCtrl()->GetItemText(0, 1));
  // A folder named like a PDF is listed, and fails to load.
  EXPECT_EQ("folder.pdf", dlg->GetListCtrl()->GetItemText(1, 1));
  WaitForReading();
  EXPECT_EQ(STATUS_LOAD_FAILED, dlg->GetFileList()->GetItemData(1)->nStatus);
}
