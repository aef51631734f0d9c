// The merge worker end to end, fed with rows and settings as the progress dialog feeds it.
#include "AnsiText.h"
#include "FileIdentity.h"
#include "JobTestSupport.h"
#include "MergeJob.h"
#include "MergeRequest.h"
#include "MergeWorker.h"
#include "PdfMaker.h"
#include "PdfReadBack.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <future>
#include <sys/stat.h>
#include <thread>
#include <utility>

#include <gtest/gtest.h>

namespace {

std::vector<std::string> FolderEntries(const std::string &folder) {
  std::vector<std::string> names;
  if (DIR *d = opendir(folder.c_str())) {
    while (dirent *e = readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
        names.push_back(e->d_name);
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

size_t Sheets(const std::string &path, const std::string &password = "") {
  return ReadBack(path, password).sheets.size();
}

class Worker : public ::testing::Test {
protected:
  TempDir dir;
  std::string out = dir.file("out");
  RecordingSink sink;

  void SetUp() override {
    MakeNumberedPdf(dir.file("a.pdf"), 3);
    MakeNumberedPdf(dir.file("b.pdf"), 2);
  }
  std::shared_ptr<MergeJob> Job(std::vector<_stru_ItemData_> rows, const CFSMSettings &settings) {
    return std::make_shared<MergeJob>(&sink, std::move(rows), settings);
  }
  // Runs rows in a job with a sink of its own; the run's result and its finished notice.
  static std::pair<int, MergeNotice> RunAlone(std::vector<_stru_ItemData_> rows,
                                              const CFSMSettings &settings) {
    RecordingSink own;
    const int result = RunMergeWorker(*std::make_shared<MergeJob>(&own, std::move(rows), settings));
    return {result, own.Finished()};
  }
  // Starts job, cancels it at its first progress notice, as a user pressing Cancel as soon as
  // the progress shows, and waits for the run to end.
  void RunCancelledAtOnce(MergeJob &job) {
    sink.onNotice = [&job](const MergeNotice &n) {
      if (n.nMessage == WM_MERGE_PROGRESS)
        job.Cancel();
    };
    ASSERT_TRUE(job.Start());
    ASSERT_TRUE(sink.WaitFinished());
    job.Stop();
  }
  // Holds the worker inside its first progress notice while hold runs (on the worker's thread);
  // the future is ready once the worker got there.
  std::future<void> HoldAtFirstProgress(std::function<void()> hold) {
    auto reached = std::make_shared<std::promise<void>>();
    sink.onNotice = [reached, hold, held = false](const MergeNotice &n) mutable {
      if (n.nMessage != WM_MERGE_PROGRESS || std::exchange(held, true))
        return;
      reached->set_value();
      hold();
    };
    return reached->get_future();
  }
};

TEST_F(Worker, SingleFileRunMergesUsableRowsInOrder) {
  std::vector<_stru_ItemData_> rows = {
      MakeRow(dir.file("a.pdf"), 3,
              L"3-2"), // pages 3 and 2, as the page range dialog lets it be typed
      MakeRow(dir.file("missing.pdf"), 0, nullptr, STATUS_LOAD_FAILED), // skipped
      MakeRow(dir.file("b.pdf"), 2, L""), // an emptied range means all pages
  };
  const auto mainRowOut = rows[0].pszOutPath;
  auto job = Job(rows, MakeSettings(out, 1, 0));
  EXPECT_EQ(RunMergeWorker(*job), 0);

  const std::string expected = out + "/a_b.pdf";
  EXPECT_EQ(Sheets(expected), 4u);
  // The path reaches the main window's row through the shared buffer; statuses stay on the
  // job's copies.
  EXPECT_EQ(*mainRowOut, W(expected));
  EXPECT_EQ(job->arrRows[0].nStatus, STATUS_SUCCESS);
  EXPECT_EQ(rows[0].nStatus, STATUS_READY);

  const MergeNotice finished = sink.Finished();
  EXPECT_EQ(finished.wParam, 1);
  EXPECT_EQ(finished.strDetail, L"");
  EXPECT_EQ(sink.FinishedCount(), 1);
  EXPECT_EQ(sink.Notices().back().nMessage, WM_MERGE_FINISHED);
  const std::vector<int> percents = sink.Percents();
  ASSERT_GE(percents.size(), 4u);
  EXPECT_EQ(percents.front(), 5);
  EXPECT_EQ(percents.back(), 100);
  for (const MergeNotice &n : sink.Notices()) {
    if (n.nMessage == WM_MERGE_PROGRESS) {
      EXPECT_EQ(n.wParam, 0);
    }
  }
}

// Single-file runs that make nothing end as failures, with their reason, and write nothing.
TEST_F(Worker, SingleFileRunsThatMakeNothing) {
  const _stru_ItemData_ a = MakeRow(dir.file("a.pdf"), 3);
  const _stru_ItemData_ skipped = MakeRow(dir.file("x.pdf"), 0, nullptr, STATUS_LOAD_FAILED);
  const std::wstring tooLong(280, L'n');
  const struct {
    const char *name;
    std::vector<_stru_ItemData_> rows;
    const wchar_t *outputName;
    bool fileInTheWay; // a file stands where the output folder should be made
    int result;
    const wchar_t *reason;
  } cases[] = {
      {"every row skipped", {skipped}, L"empty", false, -2, L""},
      {"no rows", {}, L"none", false, -1, L""},
      {"folder cannot be made", {a}, L"a", true, -2, L""},
      {"output path too long", {a}, tooLong.c_str(), false, -2, L"259 characters"},
  };
  int folderNumber = 0;
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    const std::string folder = out + std::to_string(++folderNumber);
    if (c.fileInTheWay)
      WriteFileBytes(folder, "not a folder");
    RecordingSink own;
    auto job = std::make_shared<MergeJob>(&own, c.rows, MakeSettings(folder, 1, 0, c.outputName));
    EXPECT_EQ(RunMergeWorker(*job), c.result);
    EXPECT_EQ(own.Finished().nMessage, WM_MERGE_FINISHED);
    EXPECT_EQ(own.Finished().wParam, 0);
    EXPECT_NE(own.Finished().strDetail.find(c.reason), std::wstring::npos);
    for (const _stru_ItemData_ &row : job->arrRows)
      EXPECT_EQ(row.nStatus, STATUS_LOAD_FAILED);
    if (c.fileInTheWay)
      EXPECT_EQ(ReadFileBytes(folder), "not a folder");
    else
      EXPECT_TRUE(FolderEntries(folder).empty());
  }
}

TEST_F(Worker, PerRowRunMakesOneFilePerUsableRow) {
  mkdir(out.c_str(), 0777);
  std::vector<_stru_ItemData_> rows = {
      MakeRow(dir.file("a.pdf"), 3, L"3"),
      MakeRow(dir.file("gone.pdf"), 0, nullptr, STATUS_LOAD_FAILED),
      MakeRow(dir.file("b.pdf"), 2),
  };
  auto job = Job(rows, MakeSettings(out, 0, 1));
  job->settings.nOrientation = 2; // ignored: every file of this mode is Auto
  EXPECT_EQ(RunMergeWorker(*job), 0);

  EXPECT_EQ(FolderEntries(out), (std::vector<std::string>{"a_2IN1.pdf", "b_2IN1.pdf"}));
  EXPECT_EQ(Sheets(out + "/a_2IN1.pdf"), 1u);
  EXPECT_EQ(Sheets(out + "/b_2IN1.pdf"), 1u);
  // Row 0 was rewritten with the folder when row 2 was named; row 2 holds its own file.
  EXPECT_EQ(*rows[0].pszOutPath, W(out));
  EXPECT_EQ(*rows[1].pszOutPath, L"");
  EXPECT_EQ(*rows[2].pszOutPath, W(out + "/b_2IN1.pdf"));
  EXPECT_EQ(job->arrRows[0].nStatus, STATUS_SUCCESS);
  EXPECT_EQ(job->arrRows[1].nStatus, STATUS_LOAD_FAILED);
  EXPECT_EQ(job->arrRows[2].nStatus, STATUS_SUCCESS);
  EXPECT_EQ(sink.Finished().wParam, 1);
  // Progress restarts at 5 for every row and carries the row's index.
  std::vector<std::pair<intptr_t, intptr_t>> starts;
  for (const MergeNotice &n : sink.Notices())
    if (n.nMessage == WM_MERGE_PROGRESS && n.lParam == 5)
      starts.emplace_back(n.wParam, n.lParam);
  EXPECT_EQ(starts, (std::vector<std::pair<intptr_t, intptr_t>>{{0, 5}, {2, 5}}));
}

TEST_F(Worker, PerRowRunMakesAMissingOutputFolder) {
  auto job = Job({MakeRow(dir.file("a.pdf"), 3)}, MakeSettings(out + "/new/deeper", 0, 0));
  EXPECT_EQ(RunMergeWorker(*job), 0);
  EXPECT_EQ(job->arrRows[0].nStatus, STATUS_SUCCESS);
  EXPECT_EQ(Sheets(out + "/new/deeper/a_to.pdf"), 3u);
}

TEST_F(Worker, PerRowFailuresAreListedButTheRunIsShown) {
  // The output folder cannot be made (a file stands where it should be): each row fails.
  WriteFileBytes(out, "not a folder");
  auto job =
      Job({MakeRow(dir.file("a.pdf"), 3), MakeRow(dir.file("b.pdf"), 2)}, MakeSettings(out, 0, 0));
  EXPECT_EQ(RunMergeWorker(*job), 0);
  EXPECT_EQ(job->arrRows[0].nStatus, STATUS_FAILED);
  EXPECT_EQ(job->arrRows[1].nStatus, STATUS_FAILED);
  const MergeNotice finished = sink.Finished();
  EXPECT_EQ(finished.wParam, 1);
  EXPECT_NE(finished.strDetail.find(W(dir.file("a.pdf"))), std::wstring::npos);
  EXPECT_NE(finished.strDetail.find(W(dir.file("b.pdf"))), std::wstring::npos);
}

TEST_F(Worker, CancelDuringSingleFileRunLeavesNoOutput) {
  MakeNumberedPdf(dir.file("long.pdf"), 200);
  auto job = Job({MakeRow(dir.file("long.pdf"), 200), MakeRow(dir.file("a.pdf"), 3)},
                 MakeSettings(out, 1, 2));
  RunCancelledAtOnce(*job);
  EXPECT_FALSE(job->IsRunning());
  EXPECT_EQ(job->nThreadResult, -2);
  EXPECT_EQ(sink.Finished().wParam, 0);
  EXPECT_EQ(sink.Percents(), std::vector<int>{5});
  // Neither the output nor a temporary file is left.
  EXPECT_TRUE(FolderEntries(out).empty());
}

TEST_F(Worker, CancelDuringPerRowRunStartsNoFurtherRow) {
  mkdir(out.c_str(), 0777);
  auto job =
      Job({MakeRow(dir.file("a.pdf"), 3), MakeRow(dir.file("b.pdf"), 2)}, MakeSettings(out, 0, 0));
  RunCancelledAtOnce(*job);
  EXPECT_EQ(job->arrRows[0].nStatus, STATUS_FAILED);
  EXPECT_EQ(job->arrRows[1].nStatus, STATUS_READY);
  // A cancel is no failure to report; the folder is shown.
  EXPECT_EQ(sink.Finished().wParam, 1);
  EXPECT_EQ(sink.Finished().strDetail, L"");
  EXPECT_EQ(*job->arrRows[0].pszOutPath, W(out));
  EXPECT_TRUE(FolderEntries(out).empty());
}

TEST_F(Worker, StopWaitsForARunningWorker) {
  auto job = Job({MakeRow(dir.file("a.pdf"), 3)}, MakeSettings(out, 1, 0));
  // The worker stays at its first progress notice until the stop cancels the run.
  std::future<void> reached = HoldAtFirstProgress([pJob = job.get()] {
    while (!pJob->cancelEvent.IsSignalled())
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  });
  ASSERT_TRUE(job->Start());
  EXPECT_FALSE(job->Start()); // one worker per job
  ASSERT_EQ(reached.wait_for(std::chrono::seconds(30)), std::future_status::ready);
  job->Stop();
  EXPECT_FALSE(job->IsRunning());
  EXPECT_EQ(sink.FinishedCount(), 1);
  EXPECT_EQ(sink.Finished().wParam, 0);    // cancelled
  EXPECT_TRUE(FolderEntries(out).empty()); // nothing half-written stays
}

TEST_F(Worker, PasswordsInAnyScriptProtectTheOutput) {
  // AES-256, the window's protection: qpdf opens the output with the password as UTF-8.
  for (const wchar_t *password :
       {L"\u00e9t\u00e9", L"pw\u20ac", L"\u65e5\u672c\u8a9e", L"pw\U0001F600"}) {
    CFSMSettings settings = MakeSettings(out, 1, 0, L"locked");
    settings.bOpenPwd = 1;
    settings.strOpenPwd = password;
    EXPECT_EQ(RunAlone({MakeRow(dir.file("a.pdf"), 3)}, settings).first, 0);
    const std::string check = RunCommand("qpdf --show-encryption --password='" +
                                         WideToUtf8(password) + "' " + out + "/locked.pdf 2>&1");
    EXPECT_NE(check.find("R = 6"), std::string::npos) << check;
    std::remove((out + "/locked.pdf").c_str());
  }
}

// The finished notice says why a file was left out or the run failed.
TEST_F(Worker, FailuresAndSkippedFilesSayWhy) {
  WriteFileBytes(dir.file("junk.pdf"), "no PDF at all");
  _stru_ItemData_ changed = MakeRow(dir.file("b.pdf"), 2);
  const FileStamp listed = ReadFileStamp(W(dir.file("b.pdf")));
  changed.nReadSize = listed.nSize;
  changed.nReadModified = listed.nModified;
  MakeNumberedPdf(dir.file("b.pdf"), 5); // replaced after it was listed
  const _stru_ItemData_ a = MakeRow(dir.file("a.pdf"), 3);
  const struct {
    std::vector<_stru_ItemData_> rows;
    int result;
    const wchar_t *reason;
    size_t sheets = 0; // of the output
  } cases[] = {
      {{a, MakeRow(dir.file("junk.pdf"), 1)}, 0, L"junk.pdf: skipped: not a PDF", 3},
      {{a, changed}, 0, L"b.pdf: skipped: changed since it was read", 3},
      // A page count the file does not have fails the run, and the message says which page.
      {{MakeRow(dir.file("a.pdf"), 5)}, -2, L"a.pdf: page 4 is not in the file (it has 3 pages)"},
  };
  const std::string merged = out + "/merged.pdf";
  for (const auto &c : cases) {
    SCOPED_TRACE(WideToUtf8(c.reason));
    const auto [result, finished] = RunAlone(c.rows, MakeSettings(out, 1, 0, L"merged"));
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(finished.wParam, c.result == 0 ? 1 : 0);
    EXPECT_NE(finished.strDetail.find(c.reason), std::wstring::npos)
        << WideToUtf8(finished.strDetail);
    EXPECT_EQ(Sheets(merged), c.sheets);
    std::remove(merged.c_str());
  }
}

TEST_F(Worker, StopGivesUpOnAWorkerThatDoesNotStop) {
  // The worker is held inside its first notice, as by a file system that does not answer.
  std::promise<void> release;
  std::future<void> reached =
      HoldAtFirstProgress([released = release.get_future().share()] { released.wait(); });
  auto job = Job({MakeRow(dir.file("a.pdf"), 3)}, MakeSettings(out, 1, 0));
  ASSERT_TRUE(job->Start());
  ASSERT_EQ(reached.wait_for(std::chrono::seconds(30)), std::future_status::ready);
  job->Stop(100); // returns although the worker is still held
  EXPECT_TRUE(job->IsRunning());
  std::weak_ptr<MergeJob> weak = job;
  job.reset(); // the worker keeps the job as long as it runs
  EXPECT_FALSE(weak.expired());
  release.set_value();
  // Let go, the worker ends on its own; nothing it does after Stop reaches the sink.
  for (int i = 0; i < 30000 && !weak.expired(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_TRUE(weak.expired());
  EXPECT_EQ(sink.FinishedCount(), 0);
}

TEST_F(Worker, DisabledPermissionPasswordTextIsNotUsed) {
  CFSMSettings settings = MakeSettings(out, 1, 0, L"locked");
  settings.bOpenPwd = 1;
  settings.strOpenPwd = L"open";
  settings.bPermissionPwd = 0;
  settings.strPermissionPwd = L"stale";
  auto job = Job({MakeRow(dir.file("a.pdf"), 3)}, settings);
  EXPECT_EQ(RunMergeWorker(*job), 0);
  const std::string path = out + "/locked.pdf";
  EXPECT_EQ(Sheets(path, "open"), 3u);
  EXPECT_FALSE(ReadBack(path, "stale").loaded);
  // The owner password is the open one.
  int status = 0;
  const std::string info =
      RunCommand("qpdf --show-encryption --password=open '" + path + "' 2>&1", &status);
  EXPECT_NE(info.find("Supplied password is owner password"), std::string::npos) << info;
}

// What the job hands the engine: passwords as typed, in UTF-8; a row's pages as a list and the
// file as it was read for the row.
TEST_F(Worker, RowsAndSettingsBecomeTheEnginesRequest) {
  CFSMSettings settings = MakeSettings(out, 1, 1);
  settings.bOpenPwd = settings.bPermissionPwd = settings.bPrintingAllowed = 1;
  settings.strOpenPwd = L"\u00e9t\u00e9";
  settings.strPermissionPwd = L"\u65e5\u672c\u8a9e";
  MergeRequest request = MakeJobRequest(settings, false);
  EXPECT_EQ(request.strOpenPwd, "\xc3\xa9t\xc3\xa9");
  EXPECT_EQ(request.strPermissionPwd, "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e");
  EXPECT_EQ(request.nPermissions, 4);
  _stru_ItemData_ row = MakeRow(dir.file("a.pdf"), 3, L"3-");
  row.strPassword = "\xe6\x97\xa5";
  row.nReadSize = 1234;
  row.nReadModified = 5678;
  std::wstring why;
  ASSERT_TRUE(AppendRowSource(request, row, &why));
  const MergeRequestSource &source = request.vecSources.at(0);
  EXPECT_EQ(source.vecPages, std::vector<int32_t>{3});
  EXPECT_EQ(source.strPassword, row.strPassword);
  EXPECT_EQ(source.nFileSize, 1234);
  EXPECT_EQ(source.nFileModified, 5678);
  // A text that no longer reads for the row's page count is not merged as something else.
  EXPECT_FALSE(AppendRowSource(request, MakeRow(dir.file("a.pdf"), 3, L"2, 5"), &why));
  EXPECT_EQ(why, L"a.pdf: the page range \"2, 5\" does not read at character 4: page 5 is "
                 L"beyond the last page (3)");
}

} // namespace

TEST_F(Worker, ARowsPasswordOpensItsSource) {
  TestPdfOptions locked;
  locked.userPassword = "\xe9t\xe9"; // PDFDocEncoding, as revisions up to 4 want
  locked.ownerPassword = "owner";
  MakeTestPdf(dir.file("locked.pdf"), {TestPage{}, TestPage{}}, locked);
  _stru_ItemData_ row = MakeRow(dir.file("locked.pdf"), 2);
  row.strPassword = "\xc3\xa9t\xc3\xa9"; // UTF-8, as the window keeps it
  auto job = Job({MakeRow(dir.file("a.pdf"), 3), row}, MakeSettings(out, 1, 0, L"both"));
  EXPECT_EQ(RunMergeWorker(*job), 0);
  EXPECT_EQ(Sheets(out + "/both.pdf"), 5u);
}

TEST(EnginePassword, IsUtf8AndRefusesOnlyWhatIsNoText) {
  std::string out;
  EXPECT_TRUE(ToEnginePassword(L"\u65e5\u00e9", &out));
  EXPECT_EQ(out, "\xe6\x97\xa5\xc3\xa9");
  EXPECT_FALSE(ToEnginePassword(std::wstring(L"a\0b", 3), &out));
}
