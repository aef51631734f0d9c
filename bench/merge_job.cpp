// Merge job benchmark: naming against thousands of taken names, how long a cancelled run
// keeps the progress dialog waiting, and what the job adds to plain engine runs.
//   merge_job_bench TEXT_PDF PAGES WORK_DIR
#include "MergeJob.h"
#include "MergeWorker.h"
#include "MergerTool.h"
#include "OutputNaming.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <string>
#include <sys/stat.h>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

std::wstring W(const std::string &s) { return std::wstring(s.begin(), s.end()); }

void Touch(const std::string &path) { std::ofstream(path) << "x"; }

_stru_ItemData_ Row(const std::string &path, int pages) {
  static int id = 0;
  _stru_ItemData_ row;
  row.nItemID = ++id;
  row.szFilePath = W(path);
  row.nTotalPage = pages;
  row.pszOutPath = std::make_shared<std::wstring>();
  return row;
}

CFSMSettings Settings(const std::string &folder, int mergeOn) {
  CFSMSettings s;
  s.OutputFolder = W(folder);
  s.bMergeOn = mergeOn;
  s.nNUp = 0;
  s.strOutputFileName = L"FirstFileName_LastFileName";
  return s;
}

// Cancels the job once the progress reaches a percent; notes when the end was reported.
class CancellingSink : public MergeNotifySink {
public:
  MergeJob *job = nullptr;
  int cancelAt = 30;
  Clock::time_point cancelled, finished, last97;
  int notices = 0;

  void PostMergeNotice(const MergeNotice &n) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    ++notices;
    if (n.nMessage == WM_MERGE_PROGRESS && n.lParam >= cancelAt && job &&
        !job->cancelEvent.IsSignalled()) {
      cancelled = Clock::now();
      job->Cancel();
    }
    if (n.nMessage == WM_MERGE_PROGRESS && n.lParam == 97)
      last97 = Clock::now();
    if (n.nMessage == WM_MERGE_FINISHED) {
      finished = Clock::now();
      m_done.notify_all();
    }
  }
  void Wait() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_done.wait(lock, [this] { return finished != Clock::time_point(); });
  }

private:
  std::mutex m_mutex;
  std::condition_variable m_done;
};

} // namespace

int main(int argc, char **argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: merge_job_bench TEXT_PDF PAGES WORK_DIR\n");
    return 2;
  }
  const std::string source = argv[1];
  const int pages = std::atoi(argv[2]);
  const std::string work = argv[3];

  // 1. Naming when every per-row name up to (2998) is taken, and a merged name with 2000.
  const std::string taken = work + "/taken";
  mkdir(taken.c_str(), 0777);
  Touch(taken + "/a_to.pdf");
  Touch(taken + "/a.pdf");
  for (int n = 1; n <= 2998; ++n) {
    Touch(taken + "/a(" + std::to_string(n) + ")_to.pdf");
    if (n <= 2000)
      Touch(taken + "/a(" + std::to_string(n) + ").pdf");
  }
  {
    MergeJob job(nullptr, {Row("/src/a.pdf", 1)}, Settings(taken, 0));
    auto t0 = Clock::now();
    const std::wstring row = MakeRowOutputPath(job, 0, L"_to.pdf");
    auto t1 = Clock::now();
    const std::wstring merged = MakeMergedOutputPath(job);
    auto t2 = Clock::now();
    std::printf("naming: per-row past 2998 taken names %.1f ms (%s), merged past 2000 %.1f ms\n",
                Ms(t1 - t0), row.empty() ? "refused" : "found", Ms(t2 - t1));
    (void)merged;
  }

  // 2. Cancel latency of a single-file run of one large source, cancelled at 30%.
  const std::string cancelDir = work + "/cancel";
  mkdir(cancelDir.c_str(), 0777);
  {
    CancellingSink sink;
    MergeJob job(&sink, {Row(source, pages)}, Settings(cancelDir, 1));
    sink.job = &job;
    const auto start = Clock::now();
    job.Start();
    sink.Wait();
    job.Stop();
    const auto stopped = Clock::now();
    std::printf("cancel: %d pages, cancelled after %.0f ms, finished %.1f ms after Cancel, "
                "worker gone %.1f ms after Cancel\n",
                pages, Ms(sink.cancelled - start), Ms(sink.finished - sink.cancelled),
                Ms(stopped - sink.cancelled));
  }

  // The longest stretch without a cancel check: from 97% (protection, writing) to the end.
  {
    CancellingSink sink;
    sink.cancelAt = 1000; // never
    MergeJob job(&sink, {Row(source, pages)}, Settings(cancelDir, 1));
    job.Start();
    sink.Wait();
    job.Stop();
    std::printf("tail: from 97%% to the finished notice %.0f ms (a Cancel then waits at most "
                "this long)\n",
                Ms(sink.finished - sink.last97));
  }

  // 3. Per-row job of 20 copies against the same 20 engine runs without the job.
  const int copies = 20;
  const std::string direct = work + "/direct", viaJob = work + "/job";
  mkdir(direct.c_str(), 0777);
  mkdir(viaJob.c_str(), 0777);
  std::vector<_stru_ItemData_> rows;
  for (int i = 0; i < copies; ++i) {
    const std::string copy = work + "/src" + std::to_string(i) + ".pdf";
    std::ifstream in(source, std::ios::binary);
    std::ofstream(copy, std::ios::binary) << in.rdbuf();
    rows.push_back(Row(copy, pages));
  }
  auto t0 = Clock::now();
  for (int i = 0; i < copies; ++i) {
    MergerTool tool;
    tool.SetLayout(1, 0, 0);
    const std::wstring out = W(direct + "/src" + std::to_string(i) + "_to.pdf");
    tool.SetOutPDFPath(out.c_str());
    tool.AppendMergeSrc(i + 1, rows[i].szFilePath.c_str(), pages, nullptr, nullptr);
    tool.StartMerge(i);
  }
  auto t1 = Clock::now();
  CancellingSink sink;
  sink.cancelAt = 1000; // never
  MergeJob job(&sink, rows, Settings(viaJob, 0));
  job.Start();
  sink.Wait();
  job.Stop();
  auto t2 = Clock::now();
  std::printf("per-row: %d files of %d pages: engine alone %.0f ms, through the job %.0f ms "
              "(%+.1f%%), %d notices\n",
              copies, pages, Ms(t1 - t0), Ms(t2 - t1),
              100.0 * (Ms(t2 - t1) - Ms(t1 - t0)) / Ms(t1 - t0), sink.notices);
  return 0;
}
