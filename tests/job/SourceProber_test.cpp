// Reading page counts through the probe helper: the real helper answers as the engine does, and
// a helper that crashes or hangs costs only the file it was reading.
#include "PdfMaker.h"
#include "SourceProber.h"
#include "SystemFolders.h"
#include "support/TempDir.h"

#include "MergerTool.h"

#include <csignal>
#include <fstream>
#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

// A password in Japanese, its UTF-8 bytes as they are in the file.
const char kSecret[] = "\xE7\xA7\x98\xE5\xAF\x86";

std::wstring W(const std::string &text) { return std::wstring(text.begin(), text.end()); }

ProbeRequest Request(const std::string &path, const char *password = nullptr) {
  ProbeRequest request;
  request.path = W(path);
  request.hasPassword = password != nullptr;
  request.password = password ? password : "";
  return request;
}

// A stand-in helper: a shell script with the given body.
std::string Script(const TempDir &dir, const std::string &name, const std::string &body) {
  const std::string path = dir.file(name);
  std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
  chmod(path.c_str(), 0755);
  return path;
}

class Prober : public ::testing::Test {
protected:
  void SetUp() override {
    MakeNumberedPdf(dir.file("three.pdf"), 3);
    TestPdfOptions locked;
    locked.userPassword = kSecret;
    locked.ownerPassword = "owner";
    MakeTestPdf(dir.file("locked.pdf"), {TestPage{}, TestPage{}}, locked);
  }
  TempDir dir;
  const std::string helper = ProbeHelperPath(GetProgramFolder());
};

TEST_F(Prober, TheHelperAnswersAsTheEngineDoes) {
  SourceProber prober(helper);
  ProbeReply reply = prober.Probe(Request(dir.file("three.pdf")));
  EXPECT_EQ(reply.nPages, 3);
  EXPECT_EQ(reply.nStatus, PROBE_OK);
  // With the file as it was read, which the merge checks the file against.
  struct stat info {};
  ASSERT_EQ(stat(dir.file("three.pdf").c_str(), &info), 0);
  EXPECT_EQ(reply.nFileSize, info.st_size);
  EXPECT_EQ(reply.nFileModified, info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec);
  ASSERT_GT(prober.GetHelperPid(), 0); // read in a process of its own
  const int helperPid = prober.GetHelperPid();

  reply = prober.Probe(Request(dir.file("locked.pdf")));
  EXPECT_EQ(reply.nPages, -1);
  EXPECT_EQ(reply.nStatus, PROBE_NEEDS_PASSWORD);
  reply = prober.Probe(Request(dir.file("locked.pdf"), "wrong"));
  EXPECT_EQ(reply.nStatus, PROBE_WRONG_PASSWORD);
  reply = prober.Probe(Request(dir.file("locked.pdf"), kSecret));
  EXPECT_EQ(reply.nPages, 2);
  EXPECT_TRUE(reply.reason.empty());
  reply = prober.Probe(Request(dir.file("missing.pdf")));
  EXPECT_EQ(reply.nPages, -1);
  EXPECT_EQ(reply.nStatus, PROBE_UNREADABLE);
  // The engine's reason comes back with the answer, whole and in UTF-8, as read here.
  std::wstring here;
  MergerTool::ProbeSource(W(dir.file("missing.pdf")).c_str(), nullptr, nullptr, &here);
  EXPECT_FALSE(reply.reason.empty());
  EXPECT_EQ(reply.reason, here);
  // One helper served them all.
  EXPECT_EQ(prober.GetHelperPid(), helperPid);
}

TEST_F(Prober, ACrashingReaderCostsOnlyItsFile) {
  SourceProber prober(Script(dir, "crash", "kill -SEGV $$"));
  for (int i = 0; i < 2; ++i) {
    const ProbeReply reply = prober.Probe(Request(dir.file("three.pdf")));
    EXPECT_EQ(reply.nStatus, kProbeHelperFailed);
    EXPECT_EQ(reply.nPages, 0);
    EXPECT_EQ(prober.GetHelperPid(), -1); // gone, and collected
  }
}

TEST_F(Prober, AHungReaderIsStoppedAfterItsTime) {
  SourceProber prober(Script(dir, "hang", "exec sleep 600"), 200);
  const ProbeReply reply = prober.Probe(Request(dir.file("three.pdf")));
  EXPECT_EQ(reply.nStatus, kProbeHelperFailed);
  EXPECT_EQ(prober.GetHelperPid(), -1);
}

TEST_F(Prober, WithoutAHelperTheFileIsReadHere) {
  SourceProber prober(dir.file("no such helper"));
  const ProbeReply reply = prober.Probe(Request(dir.file("three.pdf")));
  EXPECT_EQ(reply.nPages, 3);
  EXPECT_EQ(prober.GetHelperPid(), -1);
}

TEST_F(Prober, AbortGivesUpAtOnce) {
  SourceProber prober(Script(dir, "hang", "exec sleep 600"));
  prober.Abort();
  EXPECT_EQ(prober.Probe(Request(dir.file("three.pdf"))).nStatus, kProbeHelperFailed);
}

} // namespace
