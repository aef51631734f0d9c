// Output naming against real folders: existing files and folders force numbered names.
#include "JobTestSupport.h"
#include "MergeJob.h"
#include "OutputNaming.h"
#include "support/TempDir.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

TEST(Suffixes, ByPagesPerSheet) {
  EXPECT_EQ(GetMergedNameAddition(0), L"");
  EXPECT_EQ(GetMergedNameAddition(1), L"_2IN1");
  EXPECT_EQ(GetMergedNameAddition(2), L"_4IN1");
  EXPECT_EQ(GetRowSuffix(0), L"_to.pdf");
  EXPECT_EQ(GetRowSuffix(1), L"_2IN1.pdf");
  EXPECT_EQ(GetRowSuffix(2), L"_4IN1.pdf");
  EXPECT_EQ(GetRowSuffix(7), L"_to.pdf");
  EXPECT_TRUE(EndsWithPdfExtension(L"x.PdF"));
  EXPECT_FALSE(EndsWithPdfExtension(L"pdf"));
  EXPECT_FALSE(EndsWithPdfExtension(L"x.pdf "));
}

class Naming : public ::testing::Test {
protected:
  TempDir dir;
  std::string out = dir.file("out");

  std::unique_ptr<MergeJob> Job(const std::vector<std::string> &titles, int mergeOn, int nUp,
                                const wchar_t *name = L"FirstFileName_LastFileName") {
    std::vector<_stru_ItemData_> rows;
    for (const std::string &t : titles)
      rows.push_back(MakeRow("/src/" + t, 1));
    return std::make_unique<MergeJob>(nullptr, rows, MakeSettings(out, mergeOn, nUp, name));
  }
  std::wstring Out(const std::string &name) const { return W(out + "/" + name); }
  void Touch(const std::string &name) {
    mkdir(out.c_str(), 0777);
    WriteFileBytes(out + "/" + name, "x");
  }
};

TEST_F(Naming, AutomaticNameFromFirstAndLastTitlesNumberedWhileTaken) {
  auto job = Job({"a.pdf", "middle.pdf", "b.jpg"}, 1, 1);
  EXPECT_EQ(MakeMergedOutputPath(*job), Out("a_b_2IN1.pdf"));
  // The missing output folder was made.
  EXPECT_TRUE(FileExists(out));
  EXPECT_EQ(*job->arrRows[0].pszOutPath, Out("a_b_2IN1.pdf"));

  Touch("a_b_2IN1.pdf");
  EXPECT_EQ(MakeMergedOutputPath(*job), Out("a_b_2IN1(1).pdf"));
  // A folder takes a name as well as a file does.
  mkdir((out + "/a_b_2IN1(1).pdf").c_str(), 0777);
  EXPECT_EQ(MakeMergedOutputPath(*job), Out("a_b_2IN1(2).pdf"));
  EXPECT_EQ(*job->arrRows[0].pszOutPath, Out("a_b_2IN1(2).pdf"));
  EXPECT_TRUE(job->vecNotes.empty());
}

TEST_F(Naming, AutomaticNameTable) {
  const struct {
    std::vector<std::string> titles;
    int nUp;
    const wchar_t *name;
    const char *expected;
  } cases[] = {
      {{"only.pdf"}, 0, L"FirstFileName_LastFileName", "only.pdf"},
      {{"only.pdf"}, 2, L"firstfilename_lastfilename", "only_4IN1.pdf"}, // any case
      {{"a.pdf", "b.pdf"}, 0, L"FIRSTFILENAME_LASTFILENAME", "a_b.pdf"},
      {{"a.pdf", "b.pdf"}, 1, L"Report.PDF", "Report.PDF"}, // no second extension
      {{"a.pdf", "b.pdf"}, 1, L"Report", "Report.pdf"},
      {{"a.pdf", "b.pdf"}, 1, L"Report.pdf.txt", "Report.pdf.txt.pdf"},
  };
  for (const auto &c : cases) {
    auto job = Job(c.titles, 1, c.nUp, c.name);
    EXPECT_EQ(MakeMergedOutputPath(*job), Out(c.expected)) << c.expected;
  }
}

TEST_F(Naming, TypedNameInUpperCaseIsNumberedBeforeALowerCaseExtension) {
  Touch("Report.PDF");
  auto job = Job({"a.pdf"}, 1, 0, L"Report.PDF");
  EXPECT_EQ(MakeMergedOutputPath(*job), Out("Report(1).pdf"));
}

TEST_F(Naming, MergedFolderWithTrailingSeparatorGetsNoSecond) {
  auto job = Job({"a.pdf"}, 1, 0);
  job->settings.OutputFolder += L"/";
  EXPECT_EQ(MakeMergedOutputPath(*job), Out("a.pdf"));
}

TEST_F(Naming, TooLongMergedPathIsRefusedNotCut) {
  auto job = Job({"a.pdf"}, 1, 0, std::wstring(300, L'n').c_str());
  *job->arrRows[0].pszOutPath = L"before";
  EXPECT_EQ(MakeMergedOutputPath(*job), L"");
  EXPECT_EQ(*job->arrRows[0].pszOutPath, L"before");
  ASSERT_EQ(job->vecNotes.size(), 1u);
  EXPECT_NE(job->vecNotes[0].find(L"259"), std::wstring::npos);
  EXPECT_NE(job->vecNotes[0].find(std::wstring(300, L'n')), std::wstring::npos);
  // 259 characters still fit.
  const size_t room = 259 - (out.size() + 1) - 4;
  auto fits = Job({"a.pdf"}, 1, 0, std::wstring(room, L'n').c_str());
  EXPECT_EQ(MakeMergedOutputPath(*fits).size(), 259u);
}

TEST_F(Naming, RowNamesFromTheSourceTitleNumberedBeforeTheSuffix) {
  auto job = Job({"x.pdf", "a.pdf"}, 0, 0);
  mkdir(out.c_str(), 0777);
  EXPECT_EQ(MakeRowOutputPath(*job, 1, L"_to.pdf"), Out("a_to.pdf"));
  Touch("a_to.pdf");
  EXPECT_EQ(MakeRowOutputPath(*job, 1, L"_to.pdf"), Out("a(1)_to.pdf"));
  Touch("a(1)_to.pdf");
  EXPECT_EQ(MakeRowOutputPath(*job, 1, L"_to.pdf"), Out("a(2)_to.pdf"));
  // Row 0's buffer holds the folder setting as it is.
  EXPECT_EQ(*job->arrRows[0].pszOutPath, W(out));
  EXPECT_EQ(*job->arrRows[1].pszOutPath, L"");
}

TEST_F(Naming, RowFolderIsCreatedAndGetsOneSeparator) {
  auto job = Job({"a.b.pdf"}, 0, 1);
  job->settings.OutputFolder = W(out + "/");
  EXPECT_EQ(MakeRowOutputPath(*job, 0, L"_2IN1.pdf"), Out("a.b_2IN1.pdf"));
  EXPECT_TRUE(FileExists(out)); // as for a merged file, a folder typed in the window is made
  EXPECT_EQ(*job->arrRows[0].pszOutPath, W(out + "/"));
}

TEST_F(Naming, RowRefusals) {
  auto job = Job({"a.pdf"}, 0, 0);
  EXPECT_EQ(MakeRowOutputPath(*job, 1, L"_to.pdf"), L"");
  EXPECT_EQ(MakeRowOutputPath(*job, -1, L"_to.pdf"), L"");
  EXPECT_TRUE(job->vecNotes.empty());
  // A source without an extension would give the bare suffix: refused with a note.
  job->arrRows[0].szFilePath = L"/src.d/noext";
  EXPECT_EQ(MakeRowOutputPath(*job, 0, L"_to.pdf"), L"");
  ASSERT_EQ(job->vecNotes.size(), 1u);
  EXPECT_NE(job->vecNotes[0].find(L"/src.d/noext"), std::wstring::npos);
  // The invalid row still wrote the folder into row 0.
  EXPECT_EQ(*job->arrRows[0].pszOutPath, W(out));
}

TEST_F(Naming, RowGivesUpWhenEveryVariantUpTo2999IsTaken) {
  mkdir(out.c_str(), 0777);
  Touch("a_to.pdf");
  for (int n = 1; n <= 2998; ++n)
    Touch("a(" + std::to_string(n) + ")_to.pdf");
  auto job = Job({"a.pdf"}, 0, 0);
  EXPECT_EQ(MakeRowOutputPath(*job, 0, L"_to.pdf"), Out("a(2999)_to.pdf"));
  Touch("a(2999)_to.pdf");
  // The last variant is taken too: it is not overwritten.
  EXPECT_EQ(MakeRowOutputPath(*job, 0, L"_to.pdf"), L"");
  ASSERT_EQ(job->vecNotes.size(), 1u);
  EXPECT_EQ(ReadFileBytes(out + "/a(2999)_to.pdf"), "x");
}

} // namespace
