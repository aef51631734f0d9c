// The progress dialog under a display: the worker's notices drive the bar, the result is shown
// or the failure message is, Cancel reaches the worker, Escape and Enter do nothing.
#include "AnsiText.h"
#include "CDlgMergeProgress.h"
#include "JobTestSupport.h"
#include "PdfMaker.h"
#include "support/FrameTest.h"
#include "support/TempDir.h"
#include "support/WindowEvents.h"

#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/gauge.h>
#include <wx/stattext.h>

namespace {

// Records what the dialog would show. The worker waits at its first notice until Release, so
// the test can act while the run is certainly in progress.
class TestProgressDialog : public CDlgMergeProgress {
public:
  using CDlgMergeProgress::CDlgMergeProgress;

  std::vector<std::wstring> shown;
  std::vector<wxString> messages;
  std::vector<long> styles;

  void WaitHeld() {
    std::unique_lock<std::mutex> lock(m_mutex);
    ASSERT_TRUE(m_changed.wait_for(lock, std::chrono::seconds(30), [this] { return m_held; }));
  }
  void Release() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_released = true;
    m_changed.notify_all();
  }

protected:
  void ShowResult(const std::wstring &path) override { shown.push_back(path); }
  void ShowMessage(const wxString &text, long style) override {
    messages.push_back(text);
    styles.push_back(style);
  }
  void PostMergeNotice(const MergeNotice &notice) override {
    {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_held = true;
      m_changed.notify_all();
      m_changed.wait(lock, [this] { return m_released; });
    }
    CDlgMergeProgress::PostMergeNotice(notice);
  }

private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  bool m_held = false;
  bool m_released = false;
};

class ProgressDialog : public FrameTest {
protected:
  TempDir dir;
  std::string out = dir.file("out");

  void SetUp() override {
    FrameTest::SetUp();
    MakeNumberedPdf(dir.file("a.pdf"), 3);
    MakeNumberedPdf(dir.file("b.pdf"), 2);
  }
  // Shows the dialog, which starts its worker, and returns once the worker waits at its first
  // notice.
  static void Open(TestProgressDialog &dialog) {
    dialog.Show();
    dialog.WaitHeld();
  }
  // Lets events run until the dialog ended itself with a result. Its being hidden says less: a
  // window hidden before the display has mapped it counts as shown again when the map arrives.
  static bool RunUntilClosed(wxDialog &dialog) {
    return YieldUntil([&] { return dialog.GetReturnCode() != 0; }, std::chrono::seconds(60));
  }
  // Opens the dialog and lets its run go to the end.
  static bool Run(TestProgressDialog &dialog) {
    Open(dialog);
    dialog.Release();
    return RunUntilClosed(dialog);
  }
  static bool StillOpen(wxDialog &dialog) {
    YieldToWindows();
    return dialog.IsShown() && dialog.GetReturnCode() == 0;
  }
  std::vector<_stru_ItemData_> Rows() {
    return {MakeRow(dir.file("a.pdf"), 3), MakeRow(dir.file("b.pdf"), 2)};
  }
};

TEST_F(ProgressDialog, TemplateControls) {
  TestProgressDialog dialog(m_frame, Rows(), MakeSettings(out, 1, 0));
  EXPECT_EQ(dialog.GetTitle(), "Merge Progress");
  EXPECT_EQ(dialog.GetProgressBar()->GetId(), 1052);
  EXPECT_EQ(dialog.GetProgressBar()->GetRange(), 100);
  EXPECT_EQ(dialog.GetStatusText()->GetId(), 1053);
  wxWindow *cancel = dialog.FindWindow(wxID_CANCEL);
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(cancel->GetLabel(), "Cancel");
  EXPECT_EQ(dialog.GetJob(), nullptr); // nothing runs before it opens
}

TEST_F(ProgressDialog, SuccessfulRunShowsTheOutputAndCloses) {
  TestProgressDialog dialog(m_frame, Rows(), MakeSettings(out, 1, 0));
  ASSERT_TRUE(Run(dialog));
  EXPECT_EQ(dialog.GetReturnCode(), wxID_OK);
  EXPECT_EQ(dialog.shown, std::vector<std::wstring>{W(out + "/a_b.pdf")});
  EXPECT_TRUE(dialog.messages.empty());
  EXPECT_EQ(dialog.GetProgressBar()->GetValue(), 100);
  EXPECT_EQ(dialog.GetStatusText()->GetLabel(), "Merging files...\t\t100%");
}

// The output folder cannot be made (a file stands where it should be): the fixed text first,
// then why, and no file manager. In a per-row run both rows fail; the path row 0 holds exists,
// but nothing was made there, so nothing is shown as a result either.
TEST_F(ProgressDialog, FailureShowsTheMessageAndNoFileManager) {
  const struct {
    int mergeOn;
    std::vector<std::string> said;
  } cases[] = {
      {1, {"cannot be written"}},
      {0, {dir.file("a.pdf"), dir.file("b.pdf")}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.mergeOn ? "one file" : "a file per row");
    const std::string folder = out + std::to_string(c.mergeOn);
    WriteFileBytes(folder, "not a folder");
    TestProgressDialog dialog(m_frame, Rows(), MakeSettings(folder, c.mergeOn, 0));
    ASSERT_TRUE(Run(dialog));
    EXPECT_TRUE(dialog.shown.empty());
    ASSERT_EQ(dialog.messages.size(), 1u);
    const wxString &message = dialog.messages[0];
    EXPECT_TRUE(message.StartsWith("Failed to merge files or User cancel!\n\n")) << message;
    for (const std::string &text : c.said)
      EXPECT_TRUE(message.Contains(text)) << message;
    EXPECT_TRUE(dialog.styles[0] & wxICON_INFORMATION);
  }
}

// Rows the job leaves out are named after the run, and a job with nothing to merge starts no
// worker and writes nothing.
TEST_F(ProgressDialog, RowsLeftOutBeforeTheRunAreNamedAfterIt) {
  _stru_ItemData_ unreadable = MakeRow(dir.file("text.pdf"), -1, nullptr, STATUS_LOAD_FAILED);
  unreadable.strReadProblem = L"not a PDF (no header)";
  _stru_ItemData_ locked = MakeRow(dir.file("x"), -1, nullptr, STATUS_LOAD_FAILED);
  locked.szFilePath = Utf8ToWide(dir.file("caf\xE9.pdf")); // a Latin-1 name, read as such
  locked.nReadState = READ_NEEDS_PASSWORD;
  const _stru_ItemData_ noPage = MakeRow(dir.file("b.pdf"), 1, L"Even");
  for (bool withGoodRow : {true, false}) {
    std::vector<_stru_ItemData_> rows = {unreadable, locked, noPage};
    if (withGoodRow)
      rows.insert(rows.begin(), MakeRow(dir.file("a.pdf"), 3));
    const std::string folder = out + (withGoodRow ? "1" : "2");
    TestProgressDialog dialog(m_frame, rows, MakeSettings(folder, 1, 2));
    dialog.Release();
    dialog.Show();
    ASSERT_TRUE(RunUntilClosed(dialog));
    ASSERT_EQ(dialog.messages.size(), 1u);
    const wxString &said = dialog.messages[0];
    const int first = withGoodRow ? 2 : 1;
    EXPECT_TRUE(said.Contains(wxString::Format(
        L"%d. text.pdf: cannot be read: not a PDF (no header)\n%d. caf\u00e9.pdf: locked", first,
        first + 1)))
        << said;
    EXPECT_TRUE(
        said.Contains(wxString::Format("%d. b.pdf: its page range selects no page", first + 2)))
        << said;
    EXPECT_EQ(said.StartsWith("Failed to merge files or User cancel!"), !withGoodRow) << said;
    EXPECT_EQ(dialog.shown.size(), withGoodRow ? 1u : 0u);
    EXPECT_EQ(access(folder.c_str(), F_OK) == 0, withGoodRow); // nothing at all without it
  }
}

// Escape, Enter and OK do nothing while the run goes on; Cancel and the close box cancel it, and
// the dialog stays until the worker ends. Cancelled, neither a single-file run nor a per-row one
// (in its first row) has anything to show.
TEST_F(ProgressDialog, OnlyCancelAndTheCloseBoxStopTheRun) {
  for (bool closeBox : {false, true}) {
    SCOPED_TRACE(closeBox ? "close box" : "Cancel");
    const std::string folder = out + (closeBox ? "-each" : "-one");
    mkdir(folder.c_str(), 0777);
    TestProgressDialog dialog(m_frame, Rows(), MakeSettings(folder, closeBox ? 0 : 1, 0));
    Open(dialog);
    for (int key : {WXK_ESCAPE, WXK_RETURN, WXK_NUMPAD_ENTER}) {
      wxKeyEvent press(wxEVT_CHAR_HOOK);
      press.m_keyCode = key;
      press.SetEventObject(&dialog);
      dialog.GetEventHandler()->ProcessEvent(press);
    }
    wxCommandEvent enter(wxEVT_BUTTON, wxID_OK);
    dialog.GetEventHandler()->ProcessEvent(enter);
    EXPECT_TRUE(StillOpen(dialog));
    EXPECT_FALSE(dialog.GetJob()->cancelEvent.IsSignalled());
    if (closeBox) {
      EXPECT_FALSE(dialog.Close());
    } else {
      wxCommandEvent click(wxEVT_BUTTON, wxID_CANCEL);
      dialog.FindWindow(wxID_CANCEL)->GetEventHandler()->ProcessEvent(click);
    }
    EXPECT_TRUE(dialog.GetJob()->cancelEvent.IsSignalled());
    EXPECT_TRUE(StillOpen(dialog));
    dialog.Release();
    ASSERT_TRUE(RunUntilClosed(dialog));
    EXPECT_EQ(dialog.messages, std::vector<wxString>{"Failed to merge files or User cancel!"});
    EXPECT_TRUE(dialog.shown.empty());
    EXPECT_EQ(RunCommand("ls -A '" + folder + "'"), ""); // nothing half-written is left
  }
}

// Holds its worker at the first progress notice until the job is cancelled, and says when the
// worker got there. It keeps nothing of its own that the worker touches once it is destroyed.
class HeldUntilCancelled : public CDlgMergeProgress {
public:
  HeldUntilCancelled(wxWindow *parent, const std::vector<_stru_ItemData_> &rows,
                     const CFSMSettings &settings, std::promise<void> *reached)
      : CDlgMergeProgress(parent, rows, settings), m_reached(reached) {}

protected:
  void PostMergeNotice(const MergeNotice &notice) override {
    if (notice.nMessage == WM_MERGE_PROGRESS && m_reached) {
      std::exchange(m_reached, nullptr)->set_value();
      while (!GetJob()->cancelEvent.IsSignalled())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    CDlgMergeProgress::PostMergeNotice(notice);
  }

private:
  std::promise<void> *m_reached;
};

TEST_F(ProgressDialog, DestroyingItDuringARunWaitsForTheWorker) {
  std::promise<void> reached;
  auto *dialog = new HeldUntilCancelled(m_frame, Rows(), MakeSettings(out, 1, 0), &reached);
  dialog->Show();
  ASSERT_EQ(reached.get_future().wait_for(std::chrono::seconds(30)), std::future_status::ready);
  // Its notices are never handled: it goes before the events run. Going, it cancels the run
  // and waits for the worker.
  delete dialog;
  YieldToWindows();
  // Nothing half-written is left.
  EXPECT_EQ(RunCommand("ls -A '" + out + "'"), "");
}

} // namespace
