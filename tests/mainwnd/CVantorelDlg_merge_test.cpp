// The whole merge from the window: files added, a page range set, Build pressed, the real
// progress dialog and merge job run, and the output read back.
#include "MainWindowFixture.h"

#include "BarCommand.h"
#include "CDlgMergeProgress.h"
#include "CFileList.h"
#include "COutputSetting.h"
#include "MergerTool.h"
#include "PdfMaker.h"
#include "controls/CXListCtrl.h"

#include <filesystem>

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

namespace {

// What the progress dialog of the last Build showed: the file manager's paths and the messages.
struct ProgressSeen {
  std::vector<std::wstring> shown;
  std::vector<wxString> messages;
};

// The real progress dialog, with the file manager and the message box replaced by seen.
class RecordingProgress : public CDlgMergeProgress {
public:
  RecordingProgress(wxWindow *parent, const std::vector<_stru_ItemData_> &rows,
                    const CFSMSettings &settings, ProgressSeen &seen, bool cancelAtOnce)
      : CDlgMergeProgress(parent, rows, settings), m_seen(seen) {
    m_seen = {};
    if (cancelAtOnce)
      Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent &event) {
        event.Skip();
        // The user presses Cancel as soon as the dialog shows.
        CallAfter([this] {
          wxCommandEvent cancel(wxEVT_BUTTON, wxID_CANCEL);
          GetEventHandler()->ProcessEvent(cancel);
        });
      });
  }

protected:
  void ShowResult(const std::wstring &path) override { m_seen.shown.push_back(path); }
  void ShowMessage(const wxString &text, long) override { m_seen.messages.push_back(text); }

private:
  ProgressSeen &m_seen;
};

// Builds run the real progress dialog.
void RunRealProgress(TestDlg *dlg, ProgressSeen &seen, bool cancelAtOnce = false) {
  dlg->merge = [dlg, &seen, cancelAtOnce](const std::vector<_stru_ItemData_> &rows,
                                          const CFSMSettings &settings) {
    RecordingProgress(dlg, rows, settings, seen, cancelAtOnce).ShowModal();
  };
}

} // namespace

TEST_F(MainWindow, BuildMergesTheListIntoOnePdf) {
  MakeNumberedPdf(Home("first.pdf"), 4);
  MakeNumberedPdf(Home("second.pdf"), 3);
  AddRead(Wide(Home("first.pdf")));
  AddRead(Wide(Home("second.pdf")));
  dlg->pageRange = [](CDlgChangePageRange &d) {
    d.nMode = 1;
    d.strRange = "1-2";
    return true;
  };
  dlg->ChangePageRange(1);
  // One page per sheet: 4 + 2 pages.
  static_cast<wxRadioButton *>(dlg->FindWindow(COutputSetting::IDC_1IN1))->SetValue(true);
  dlg->GetOutputFolderEdit()->ChangeValue(Home("out"));
  ProgressSeen seen;
  RunRealProgress(dlg, seen);
  dlg->Build();
  const std::vector<std::wstring> &shown = seen.shown;
  EXPECT_TRUE(seen.messages.empty());
  ASSERT_EQ(1u, shown.size());
  EXPECT_EQ(Wide(Home("out/first_second.pdf")), shown[0]);
  EXPECT_EQ(6, MergerTool::GetPdfInfo(shown[0].c_str()));
  EXPECT_EQ(1, dlg->upgradeShown);
  // The job wrote the output path into the rows' shared buffers.
  EXPECT_EQ(shown[0], *dlg->GetFileList()->GetItemData(0)->pszOutPath);
}

TEST_F(MainWindow, MergeSwitchOffWritesOneFilePerRow) {
  MakeNumberedPdf(Home("a.pdf"), 2);
  MakeNumberedPdf(Home("b.pdf"), 4);
  AddRead(Wide(Home("a.pdf")));
  AddRead(Wide(Home("b.pdf")));
  dlg->OnBarCommand(kCmdMergeSwitch);
  std::filesystem::create_directories(Home("each"));
  dlg->GetOutputFolderEdit()->ChangeValue(Home("each"));
  ProgressSeen seen;
  RunRealProgress(dlg, seen);
  dlg->Build();
  EXPECT_EQ(std::vector<wxString>(), seen.messages);
  // The file manager shows the folder of the outputs.
  EXPECT_EQ(std::vector<std::wstring>{Wide(Home("each"))}, seen.shown);
  EXPECT_EQ(1, MergerTool::GetPdfInfo(Wide(Home("each/a_2IN1.pdf")).c_str()));
  EXPECT_EQ(2, MergerTool::GetPdfInfo(Wide(Home("each/b_2IN1.pdf")).c_str()));
}

TEST_F(MainWindow, ACancelledRunIsFollowedByTheUpsellToo) {
  MakeNumberedPdf(Home("big.pdf"), 400);
  for (int i = 0; i < 5; ++i)
    AddRead(Wide(Home("big.pdf")));
  dlg->GetOutputFolderEdit()->ChangeValue(Home("cancelled"));
  ProgressSeen seen;
  RunRealProgress(dlg, seen, true);
  dlg->Build();
  EXPECT_EQ(std::vector<wxString>{"Failed to merge files or User cancel!"}, seen.messages);
  EXPECT_EQ(1, dlg->upgradeShown);
}

// Build names every row the merge would leave out before anything runs: No builds nothing, Yes
// builds the rest; with no usable row it only says why.
TEST_F(MainWindow, BuildNamesTheRowsItWouldLeaveOut) {
  MakeNumberedPdf(Home("good.pdf"), 2);
  WriteFileBytes(Home("text.pdf"), "just some words");
  TestPdfOptions locked;
  locked.userPassword = "secret";
  locked.ownerPassword = "owner";
  MakeTestPdf(Home("locked.pdf"), std::vector<TestPage>(1), locked);
  WriteFileBytes(Home("photo.jpg"), "no picture either");
  for (const char *name : {"good.pdf", "text.pdf", "locked.pdf", "photo.jpg"})
    AddRead(Wide(Home(name)));
  dlg->GetOutputFolderEdit()->ChangeValue(Home("out"));
  ProgressSeen seen;
  RunRealProgress(dlg, seen);
  const std::vector<wxString> &reported = seen.messages;
  const char *const named[] = {"2. text.pdf: cannot be read: not a PDF", "3. locked.pdf: locked",
                               "4. photo.jpg: cannot be read"};
  for (bool yes : {false, true}) {
    dlg->yesAnswer = yes;
    dlg->Build();
    ASSERT_EQ(dlg->questions.size(), yes ? 2u : 1u);
    for (const char *line : named) {
      EXPECT_TRUE(dlg->questions.back().Contains(line)) << dlg->questions.back();
      EXPECT_EQ(reported.size() == 1 && reported[0].Contains(line), yes) << line;
    }
    EXPECT_EQ(dlg->progressRuns, yes ? 1 : 0);
    EXPECT_EQ(std::filesystem::exists(Home("out/good_photo_2IN1.pdf")), yes);
  }
  EXPECT_EQ(1, MergerTool::GetPdfInfo(Wide(Home("out/good_photo_2IN1.pdf")).c_str()));

  // Without the good row there is nothing to build: the message says why and nothing runs.
  dlg->DeleteRow(0);
  dlg->Build();
  ASSERT_EQ(1u, dlg->messages.size());
  EXPECT_TRUE(dlg->messages[0].StartsWith(LoadLangString(277))) << dlg->messages[0];
  EXPECT_TRUE(dlg->messages[0].Contains("1. text.pdf: cannot be read")) << dlg->messages[0];
  EXPECT_EQ(dlg->progressRuns, 1);
  EXPECT_EQ(2u, dlg->questions.size());
}
