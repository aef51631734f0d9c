// Failed and cancelled runs: false, no output, and an existing file left as it was.
#include "AnsiText.h"
#include "FileIdentity.h"
#include "MergeTestSupport.h"
#include "PdfMaker.h"
#include "PdfReadBack.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class MergeErrors : public ::testing::Test {
protected:
  TempDir dir;
  MergeRecorder recorder;
  MergerTool job;

  void SetUp() override {
    job.SetCallBack(&recorder, MergeRecorder::Progress, MergeRecorder::Cancel);
    job.SetLayout(1, 0, 0);
    MakeNumberedPdf(dir.file("a.pdf"), 4);
  }
  bool Run(const std::string &out) {
    job.SetOutPDFPath(Wide(out).c_str());
    return job.StartMerge(0);
  }
  size_t FilesInDir() const {
    size_t n = 0;
    for (auto &entry : std::filesystem::directory_iterator(dir.path()))
      n += entry.is_regular_file() ? 1 : 0;
    return n;
  }
};

TEST_F(MergeErrors, CancelBeforeStartWritesNothingAndReportsNothing) {
  recorder.cancelAfter = 0;
  job.AppendMergeSrc(0, Wide(dir.file("a.pdf")).c_str(), 4, nullptr, nullptr);
  EXPECT_FALSE(Run(dir.file("out.pdf")));
  EXPECT_FALSE(FileExists(dir.file("out.pdf")));
  EXPECT_TRUE(recorder.percents.empty());
  EXPECT_EQ(job.GetFailureCode(), MERGE_FAILURE_CANCELLED);
}

TEST_F(MergeErrors, CancelMidRunKeepsTheExistingOutput) {
  WriteFileBytes(dir.file("out.pdf"), "the user's own file");
  recorder.cancelAfter = 3;
  job.AppendMergeSrc(0, Wide(dir.file("a.pdf")).c_str(), 4, nullptr, nullptr);
  EXPECT_FALSE(Run(dir.file("out.pdf")));
  EXPECT_EQ(ReadFileBytes(dir.file("out.pdf")), "the user's own file");
  EXPECT_EQ(FilesInDir(), 2u); // no temporary file left behind
}

TEST_F(MergeErrors, PageCountBeyondTheDocumentFailsTheRun) {
  WriteFileBytes(dir.file("out.pdf"), "old");
  job.AppendMergeSrc(0, Wide(dir.file("a.pdf")).c_str(), 9, nullptr, nullptr);
  EXPECT_FALSE(Run(dir.file("out.pdf")));
  EXPECT_EQ(ReadFileBytes(dir.file("out.pdf")), "old");
  EXPECT_EQ(FilesInDir(), 2u);
  // The reason names the file and the page.
  EXPECT_EQ(job.GetFailureCode(), MERGE_FAILURE_PAGE);
  EXPECT_EQ(job.GetFailureText(), L"a.pdf: page 5 is not in the file (it has 4 pages)");
}

TEST_F(MergeErrors, PageZeroFromALetterFailsTheRun) {
  job.AppendMergeSrc(0, Wide(dir.file("a.pdf")).c_str(), 4, "x-2", nullptr);
  EXPECT_FALSE(Run(dir.file("out.pdf")));
  EXPECT_FALSE(FileExists(dir.file("out.pdf")));
}

TEST_F(MergeErrors, MissingOrReadOnlyOutputFolderFails) {
  job.AppendMergeSrc(0, Wide(dir.file("a.pdf")).c_str(), 4, nullptr, nullptr);
  EXPECT_FALSE(Run(dir.file("no/such/folder/out.pdf")));
  EXPECT_EQ(job.GetFailureCode(), MERGE_FAILURE_OUTPUT);
  EXPECT_NE(job.GetFailureText().find(L"cannot be written: No such file or directory"),
            std::wstring::npos)
      << WideToUtf8(job.GetFailureText());
  if (geteuid() != 0) { // root writes anywhere
    std::filesystem::create_directory(dir.file("ro"));
    chmod(dir.file("ro").c_str(), 0555);
    EXPECT_FALSE(Run(dir.file("ro/out.pdf")));
  }
}

TEST_F(MergeErrors, OutputOnAFolderFailsWithoutTouchingIt) {
  std::filesystem::create_directory(dir.file("taken.pdf"));
  job.AppendMergeSrc(0, Wide(dir.file("a.pdf")).c_str(), 4, nullptr, nullptr);
  EXPECT_FALSE(Run(dir.file("taken.pdf")));
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("taken.pdf")));
  EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(MergeErrors, DamagedSourcesNeverCrashTheRun) {
  // Cut-off files, a broken cross-reference and garbage after a valid header.
  const std::string good = ReadFileBytes(dir.file("a.pdf"));
  WriteFileBytes(dir.file("half.pdf"), good.substr(0, good.size() / 2));
  WriteFileBytes(dir.file("head.pdf"), "%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >>\n");
  std::string noXref = good;
  noXref.replace(noXref.find("xref"), 4, "xxxx");
  WriteFileBytes(dir.file("xref.pdf"), noXref);
  WriteFileBytes(dir.file("empty.pdf"), "");
  for (const char *name : {"half.pdf", "head.pdf", "xref.pdf", "empty.pdf"}) {
    MergerTool one;
    one.SetLayout(1, 0, 0);
    one.AppendMergeSrc(0, Wide(dir.file(name)).c_str(), 1, nullptr, nullptr);
    one.SetOutPDFPath(Wide(dir.file(std::string("out-") + name)).c_str());
    one.StartMerge(0); // either outcome is fine; the process must live
    MergerTool::GetPdfInfo(Wide(dir.file(name)).c_str());
  }
}

TEST_F(MergeErrors, SourcesBeyondRepairAreSkippedAndSaidSo) {
  WriteFileBytes(dir.file("junk.pdf"), "this is no PDF");
  MakeNumberedPdf(dir.file("b.pdf"), 2);
  job.AppendMergeSrc(0, Wide(dir.file("a.pdf")).c_str(), 4, nullptr, nullptr);
  job.AppendMergeSrc(1, Wide(dir.file("junk.pdf")).c_str(), 1, nullptr, nullptr);
  job.AppendMergeSrc(2, Wide(dir.file("b.pdf")).c_str(), 2, nullptr, nullptr);
  job.AppendMergeSrc(3, Wide(dir.file("junk.pdf")).c_str(), 1, nullptr, nullptr);
  ASSERT_TRUE(Run(dir.file("out.pdf")));
  EXPECT_EQ(ReadBack(dir.file("out.pdf")).sheets.size(), 6u);
  ASSERT_EQ(job.GetNotices().size(), 1u); // a file listed twice is said once
  const MergeSourceNote &notice = job.GetNotices()[0];
  EXPECT_TRUE(notice.bSkipped);
  EXPECT_EQ(notice.nSource, 1);
  EXPECT_EQ(notice.strPath, Wide(dir.file("junk.pdf")));
  EXPECT_EQ(notice.strText.rfind(L"not a PDF", 0), 0u) << WideToUtf8(notice.strText);
  EXPECT_EQ(job.GetFailureCode(), MERGE_FAILURE_NONE);
  EXPECT_TRUE(job.GetFailureText().empty());
}

TEST_F(MergeErrors, PasswordsThatCannotBeWrittenFailWithTheReason) {
  // 0x81 has no character in Windows-1252, and none in PDFDocEncoding, which RC4 takes.
  job.AppendMergeSrc(0, Wide(dir.file("a.pdf")).c_str(), 4, nullptr, nullptr);
  job.SetEncryption(ENCRYPT_RC4_40);
  job.SetOpenPwd("pw\x81");
  job.SetPemissionPwd(nullptr, false, false, false);
  EXPECT_FALSE(Run(dir.file("out.pdf")));
  EXPECT_EQ(job.GetFailureCode(), MERGE_FAILURE_PASSWORD);
  EXPECT_FALSE(FileExists(dir.file("out.pdf")));
  EXPECT_EQ(FilesInDir(), 1u);
}

// A source cut short by another program while the merge reads it: the run fails and says so
// instead of the program being stopped by the system.
struct Truncator {
  std::string path;
  int calls = 0;
  static bool Cancel(void *user) {
    auto *self = static_cast<Truncator *>(user);
    if (++self->calls == 40)
      truncate(self->path.c_str(), 2000);
    return false;
  }
};

TEST_F(MergeErrors, SourceCutShortWhileReadFailsTheRun) {
  MakeNumberedPdf(dir.file("long.pdf"), 300);
  Truncator truncator{dir.file("long.pdf")};
  job.SetCallBack(&truncator, nullptr, Truncator::Cancel);
  job.AppendMergeSrc(0, Wide(dir.file("long.pdf")).c_str(), 300, nullptr, nullptr);
  EXPECT_FALSE(Run(dir.file("out.pdf")));
  EXPECT_EQ(job.GetFailureCode(), MERGE_FAILURE_SOURCE) << WideToUtf8(job.GetFailureText());
  EXPECT_FALSE(FileExists(dir.file("out.pdf")));
}

TEST_F(MergeErrors, PipesAndFoldersNamedLikePdfsAreSkippedWithoutWaiting) {
  // Opening a named pipe for reading would wait for a writer that never comes.
  ASSERT_EQ(mkfifo(dir.file("pipe.pdf").c_str(), 0600), 0);
  std::filesystem::create_directory(dir.file("folder.pdf"));
  for (const char *name : {"pipe.pdf", "folder.pdf"}) {
    EXPECT_EQ(MergerTool::GetPdfInfo(Wide(dir.file(name)).c_str()), -1) << name;
    MergerTool one;
    one.SetLayout(1, 0, 0);
    one.AppendMergeSrc(0, Wide(dir.file("a.pdf")).c_str(), 4, nullptr, nullptr);
    one.AppendMergeSrc(1, Wide(dir.file(name)).c_str(), 1, nullptr, nullptr);
    one.SetOutPDFPath(Wide(dir.file("out.pdf")).c_str());
    EXPECT_TRUE(one.StartMerge(0)) << name;
    ASSERT_EQ(one.GetNotices().size(), 1u) << name;
    EXPECT_TRUE(one.GetNotices()[0].bSkipped);
  }
}

// a.pdf is listed twice; the old out.pdf survives a strict run with a missing source, a stale
// size, and a.pdf given a new time once its first page is out.
using namespace std::chrono_literals;

void RewriteOnce(void *user, int32_t, uint32_t, int32_t percent) {
  const std::string &path = *static_cast<std::string *>(user);
  if (percent > 5 && percent < 50)
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + 1s);
}

TEST_F(MergeErrors, SourcesThatChangeOrCannotBeUsedFailBeforeTheOutputIsReplaced) {
  WriteFileBytes(dir.file("out.pdf"), "old");
  const auto before = FolderContents(dir.path());
  std::string a = dir.file("a.pdf");
  const FileStamp stamp = ReadFileStamp(Wide(a));
  for (const std::string name : {"Strict", "Stale", "Rewritten"}) {
    MergerTool run;
    run.SetCallBack(&a, name == "Rewritten" ? RewriteOnce : nullptr, nullptr);
    run.AppendMergeSrc(0, Wide(a).c_str(), 4, nullptr, nullptr,
                       name == "Stale" ? stamp.nSize + 1 : -1, stamp.nModified);
    run.AppendMergeSrc(1, Wide(dir.file(name == "Strict" ? "gone.pdf" : "a.pdf")).c_str(), 4,
                       nullptr, nullptr);
    run.SetSkipBadSources(name == "Rewritten");
    run.SetOutPDFPath(Wide(dir.file("out.pdf")).c_str());
    EXPECT_FALSE(run.StartMerge(0)) << name;
    EXPECT_NE(
        WideToUtf8(run.GetFailureText()).find(name == "Strict" ? "gone.pdf: cannot" : "changed"),
        std::string::npos)
        << WideToUtf8(run.GetFailureText());
    EXPECT_EQ(FolderContents(dir.path()), before) << name;
  }
}

TEST(DocumentProbe, CountsPagesOrAnswersMinusOne) {
  TempDir dir;
  MakeNumberedPdf(dir.file("one.pdf"), 1);
  EXPECT_EQ(MergerTool::GetPdfInfo(Wide(dir.file("one.pdf")).c_str()), 1);
  MakeTestPdf(dir.file("none.pdf"), {});
  EXPECT_EQ(MergerTool::GetPdfInfo(Wide(dir.file("none.pdf")).c_str()), 0);
  EXPECT_EQ(MergerTool::GetPdfInfo(Wide(dir.file("missing.pdf")).c_str()), -1);
  WriteFileBytes(dir.file("photo.pdf"), std::string("\xFF\xD8\xFF\xE0\0\x10JFIF", 10));
  EXPECT_EQ(MergerTool::GetPdfInfo(Wide(dir.file("photo.pdf")).c_str()), -1);
  EXPECT_EQ(MergerTool::GetPdfInfo(nullptr), -1);
  // Paths outside ASCII reach the file system as UTF-8.
  MakeNumberedPdf(dir.file("Übersicht ñ.pdf"), 2);
  EXPECT_EQ(MergerTool::GetPdfInfo((Wide(dir.path()) + L"/\u00DCbersicht \u00F1.pdf").c_str()), 2);
}

} // namespace
