// Rows read in the background, PDFs that need a password, and settings kept as they change.
#include "MainWindowFixture.h"

#include "BarCommand.h"
#include "CFSMSettings.h"
#include "CFileList.h"
#include "PdfMaker.h"
#include "SettingsStartup.h"
#include "controls/CXListCtrl.h"

#include <fstream>
#include <sstream>

namespace {

std::string FileText(const std::string &path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class Reading : public MainWindow {
protected:
  void MakeLocked(const std::string &name, int pages) {
    TestPdfOptions locked;
    locked.userPassword = "secret";
    locked.ownerPassword = "owner";
    MakeTestPdf(Home(name), std::vector<TestPage>(pages), locked);
  }
  wxString Cell(int row, int col) { return dlg->GetListCtrl()->GetItemText(row, col); }
};

TEST_F(Reading, RowsComeAtOnceAndFillInWhenRead) {
  MakeNumberedPdf(Home("a.pdf"), 3);
  MakeNumberedPdf(Home("b.pdf"), 2);
  dlg->AddFile(Wide(Home("a.pdf")));
  dlg->AddFile(Wide(Home("b.pdf")));
  // Nothing was read on the window's thread: both rows wait for their answers.
  ASSERT_EQ(2, dlg->GetListCtrl()->GetItemCount());
  EXPECT_TRUE(dlg->IsReadingFiles());
  EXPECT_EQ("Reading...", Cell(0, 4));
  EXPECT_EQ("", Cell(1, 3));
  // Build starts nothing meanwhile, and says which rows are still being read.
  dlg->OnBarCommand(kCmdBuild);
  EXPECT_EQ(0, dlg->progressRuns);
  ASSERT_EQ(1u, dlg->messages.size());
  EXPECT_TRUE(dlg->messages[0].Contains("1. a.pdf: still being read\n2. b.pdf: still being read"))
      << dlg->messages[0];
  WaitForReading();
  EXPECT_EQ("3", Cell(0, 3));
  EXPECT_EQ("2", Cell(1, 3));
  EXPECT_EQ("All(Double click to change the page range)", Cell(1, 4));
  dlg->OnBarCommand(kCmdBuild);
  EXPECT_EQ(1, dlg->progressRuns);
}

TEST_F(Reading, RowsRemovedWhileReadAreLetGo) {
  for (const char *name : {"a.pdf", "b.pdf", "c.pdf"}) {
    MakeNumberedPdf(Home(name), 1);
    dlg->AddFile(Wide(Home(name)));
  }
  dlg->DeleteRow(1);
  dlg->RemoveAllRows();
  MakeNumberedPdf(Home("d.pdf"), 4);
  dlg->AddFile(Wide(Home("d.pdf")));
  WaitForReading();
  ASSERT_EQ(1, dlg->GetListCtrl()->GetItemCount());
  EXPECT_EQ("4", Cell(0, 3));
}

TEST_F(Reading, APageRangeWaitsForTheReading) {
  MakeNumberedPdf(Home("a.pdf"), 3);
  dlg->AddFile(Wide(Home("a.pdf")));
  bool opened = false;
  dlg->pageRange = [&](CDlgChangePageRange &) { return opened = true, false; };
  dlg->ActivateRow(0);
  EXPECT_FALSE(opened);
  ASSERT_EQ(1u, dlg->messages.size());
  EXPECT_EQ(LoadLangString(241), dlg->messages[0]);
}

// Choose Pages shares the page range's checks: it waits for the reading, and on a locked row
// asks for the password instead of saying the file cannot be read.
TEST_F(Reading, ChoosingPagesWaitsForTheReadingAndAsksForAPassword) {
  MakeLocked("locked.pdf", 2);
  dlg->AddFile(Wide(Home("locked.pdf")));
  dlg->ChoosePages(0);
  ASSERT_EQ(1u, dlg->messages.size());
  EXPECT_EQ(LoadLangString(241), dlg->messages[0]);
  WaitForReading();
  dlg->passwords = {"secret"};
  dlg->ChoosePages(0);
  EXPECT_TRUE(dlg->passwordPrompt.Contains("locked.pdf"));
  EXPECT_EQ(1u, dlg->messages.size());
  EXPECT_EQ("2", Cell(0, 3));
}

TEST_F(Reading, ALockedPdfAsksForItsPasswordUntilItIsRight) {
  MakeLocked("locked.pdf", 2);
  AddRead(Wide(Home("locked.pdf")));
  EXPECT_EQ("Password needed (double click to enter it)", Cell(0, 4));
  dlg->passwords = {"wrong", "secret"};
  dlg->ActivateRow(0); // a double click or Enter
  EXPECT_TRUE(dlg->passwordPrompt.Contains("locked.pdf"));
  ASSERT_EQ(1u, dlg->passwordProblems.size());
  EXPECT_EQ(LoadLangString(234), dlg->passwordProblems[0]);
  EXPECT_EQ("2", Cell(0, 3));
  EXPECT_EQ("All(Double click to change the page range)", Cell(0, 4));
  const _stru_ItemData_ *item = dlg->GetFileList()->GetItemData(0);
  EXPECT_EQ(STATUS_READY, item->nStatus);
  EXPECT_EQ("secret", item->strPassword);

  // The merge gets the password with the row; the settings never do.
  std::vector<_stru_ItemData_> merged;
  dlg->merge = [&](const std::vector<_stru_ItemData_> &rows, const CFSMSettings &) {
    merged = rows;
  };
  dlg->OnBarCommand(kCmdBuild);
  ASSERT_EQ(1u, merged.size());
  EXPECT_EQ("secret", merged[0].strPassword);
  Close();
  EXPECT_EQ(std::string::npos, FileText(Home("config.ini")).find("secret"));
}

TEST_F(Reading, CancellingThePasswordLeavesTheRowLocked) {
  MakeLocked("locked.pdf", 1);
  AddRead(Wide(Home("locked.pdf")));
  dlg->passwords = {"nope"};
  dlg->ActivateRow(0);
  EXPECT_EQ("Password needed (double click to enter it)", Cell(0, 4));
  EXPECT_EQ(STATUS_LOAD_FAILED, dlg->GetFileList()->GetItemData(0)->nStatus);
  EXPECT_TRUE(dlg->GetFileList()->GetItemData(0)->strPassword.empty());
  // A password in any script is tried: a wrong one in Japanese is wrong like any other.
  dlg->passwords = {wxString::FromUTF8("\xe6\x97\xa5\xe6\x9c\xac")};
  dlg->passwordProblems.clear();
  dlg->ActivateRow(0);
  ASSERT_EQ(1u, dlg->passwordProblems.size());
  EXPECT_EQ(LoadLangString(234), dlg->passwordProblems[0]);
}

TEST_F(Reading, StoredSettingsAreSavedWhenTheyChange) {
  const int mergeOn = dlg->GetSettings().bMergeOn;
  dlg->OnBarCommand(kCmdMergeSwitch);
  dlg->GetOutputFolderEdit()->ChangeValue(Home("elsewhere"));
  dlg->OpenOutputFolder();
  // Read back from the store while the window still runs (a crash now would lose nothing).
  CFSMSettings stored;
  PrepareSettings(stored);
  EXPECT_NE(mergeOn, stored.bMergeOn);
  EXPECT_EQ(Wide(Home("elsewhere")), stored.OutputFolder);
}

} // namespace
