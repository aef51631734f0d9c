// Every signal that ends the program (INT, TERM, HUP, PIPE) cancels a large merge within a
// second while the inputs are probed, while pages are placed and as the file is finished: exit
// 130, the old output as it was, no temporary file (a signal after the output was moved into
// place is a finished run: exit 0). Readiness is an event (an input opened, a progress line).
#include "CliRun.h"
#include "HostilePdf.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <memory>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

constexpr int kFiles = 5, kPagesPerFile = 1000; // 5,000 pages

enum class When { WhileProbing, WhilePlacing, AsItFinishes };

struct CancelCase {
  int signal;
  When when;
};
void PrintTo(const CancelCase &c, std::ostream *out) {
  *out << strsignal(c.signal)
       << (c.when == When::WhileProbing ? " while probing" : " while placing");
}

std::string Entries(const std::string &folder) {
  std::string names;
  for (const auto &entry : std::filesystem::directory_iterator(folder))
    names += entry.path().filename().string() + " ";
  return names;
}

class Cancel : public ::testing::TestWithParam<CancelCase> {
protected:
  static void SetUpTestSuite() {
    inputs = std::make_unique<TempDir>();
    for (int i = 1; i <= kFiles; ++i)
      WriteFileBytes(Input(i),
                     MakeTextPdf("big" + std::to_string(i), kPagesPerFile).pdf.Write().bytes);
  }
  static void TearDownTestSuite() { inputs.reset(); }
  static std::string Input(int i) { return inputs->file("big" + std::to_string(i) + ".pdf"); }

  std::vector<std::string> Args() const {
    std::vector<std::string> args{VANTOREL_MERGE, "--progress", "-o", out};
    for (int i = 1; i <= kFiles; ++i)
      args.push_back(Input(i));
    return args;
  }

  static std::unique_ptr<TempDir> inputs;
  TempDir outDir;
  std::string out = outDir.file("merged.pdf");
};
std::unique_ptr<TempDir> Cancel::inputs;

// Waits until a file in the watched folder is opened; false after the timeout.
bool WaitForOpen(int watch, int timeoutMs) {
  alignas(inotify_event) char buffer[4096];
  pollfd fd{watch, POLLIN, 0};
  while (poll(&fd, 1, timeoutMs) == 1) {
    const ssize_t got = read(watch, buffer, sizeof buffer);
    for (ssize_t at = 0; at < got;) {
      const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
      if (event->len > 0 && !(event->mask & IN_ISDIR))
        return true; // a file, not the folder itself
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  return false;
}

TEST_P(Cancel, ExitsWithin1SecondAndLeavesNothing) {
  const CancelCase c = GetParam();
  const int watch = inotify_init1(IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  ASSERT_GE(inotify_add_watch(watch, inputs->path().c_str(), IN_OPEN), 0);

  WriteFileBytes(out, "the user's old output");
  ChildProcess child(Args());
  if (c.when == When::WhileProbing) {
    // The first input opened: the inputs are being probed, nothing has been placed yet.
    ASSERT_TRUE(WaitForOpen(watch, 60000)) << "the program opened none of its inputs";
  } else {
    // The first page placed, or every page placed and the file being finished.
    const char *line = c.when == When::WhilePlacing ? "progress " : "progress 95";
    ASSERT_TRUE(child.WaitForErrLine(line, 120)) << child.Wait(60).Describe();
  }
  child.Signal(c.signal);
  const ChildResult run = child.Wait(60);
  close(watch);

  ASSERT_TRUE(run.exited) << run.Describe();
  EXPECT_LT(run.secondsAfterSignal, 1.0);
  EXPECT_EQ(Entries(outDir.path()), "merged.pdf ");
  if (c.when == When::AsItFinishes && run.exitCode == 0) {
    EXPECT_EQ(ReadFileBytes(out).rfind("%PDF-", 0), 0u);
  } else {
    EXPECT_EQ(run.exitCode, 130) << run.Describe();
    EXPECT_EQ(ReadFileBytes(out), "the user's old output");
  }
}

std::vector<CancelCase> AllCases() {
  std::vector<CancelCase> cases;
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
    for (When when : {When::WhileProbing, When::WhilePlacing, When::AsItFinishes})
      cases.push_back({signal, when});
  return cases;
}

std::string CaseName(const ::testing::TestParamInfo<CancelCase> &info) {
  static const char *const kWhen[] = {"WhileProbing", "WhilePlacing", "AsItFinishes"};
  return std::string(sigabbrev_np(info.param.signal)) + kWhen[static_cast<int>(info.param.when)];
}

INSTANTIATE_TEST_SUITE_P(Cli, Cancel, ::testing::ValuesIn(AllCases()), CaseName);

// --info stops reading a file as soon as Ctrl-C comes, held to a processor time that the whole
// reading (seconds of decoding) passes several times over.
TEST(CancelInfo, CtrlCStopsTheReadingOfALargeDamagedFile) {
  TempDir dir;
  WriteFileBytes(dir.file("slow.pdf"), SlowToRead(400));
  const int watch = inotify_init1(IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  ASSERT_GE(inotify_add_watch(watch, dir.path().c_str(), IN_OPEN), 0);
  ChildProcess child(
      {"/usr/bin/prlimit", "--cpu=3", "--", VANTOREL_MERGE, "--info", dir.file("slow.pdf")});
  ASSERT_TRUE(WaitForOpen(watch, 60000)) << "the program did not open its input";
  child.Signal(SIGINT);
  const ChildResult run = child.Wait(120);
  close(watch);
  ASSERT_TRUE(run.exited) << run.Describe();
  EXPECT_EQ(run.exitCode, 130) << run.Describe();
}

} // namespace
