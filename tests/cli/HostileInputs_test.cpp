// vantorel-merge on damaged and hostile inputs: the exit status, the message that names the file
// and says why, and a merged file that other readers accept. Every run is a child process, so a
// crash shows as a signal and a hang as a time-out instead of taking the tests down.
#include "CliRun.h"
#include "HostilePdf.h"
#include "OutputChecks.h"
#include "ReferenceReaders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::string TestName(const char *name) {
  std::string text = name;
  for (char &c : text)
    c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return text;
}
const auto kCaseName = [](const ::testing::TestParamInfo<HostileCase> &info) {
  return TestName(info.param.name);
};

// The run ended by itself, with one of the statuses a merge may end with.
::testing::AssertionResult EndedSoundly(const ChildResult &run) {
  if (run.exited && (run.exitCode == 0 || run.exitCode == 1))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << run.Describe();
}

// Standard error holds nothing but warnings about path.
std::string NotAWarning(const ChildResult &run, const std::string &path) {
  std::istringstream lines(run.err);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("vantorel-merge: " + path + ": warning: ", 0) != 0)
      return line;
  return "";
}

class HostileInput : public ::testing::TestWithParam<HostileCase> {
protected:
  TempDir dir;
  Neighbours good = MakeNeighbours(dir);
  std::string out = dir.file("out.pdf");
  std::string Write() {
    const std::string path = dir.file(std::string(GetParam().name) + ".pdf");
    WriteFileBytes(path, GetParam().make());
    return path;
  }
};

// Repairable damage and loops: --info tells the true count; merged between two good files,
// every page comes out with its own text, and the good files' pages are untouched.
using RepairedInput = HostileInput;

TEST_P(RepairedInput, InfoTellsTheTruePagesAndTheMergeKeepsEveryPage) {
  const HostileCase &c = GetParam();
  const std::string path = Write();
  const ChildResult info = RunMerge({"--info", path});
  EXPECT_EQ(info.exitCode, 0) << info.Describe();
  EXPECT_EQ(info.out, path + ": " + std::to_string(c.pages) + " pages\n");

  const ChildResult merge = RunMerge({"-o", out, good.before, path, good.after});
  ASSERT_TRUE(merge.exited && merge.exitCode == 0) << merge.Describe();
  EXPECT_EQ(NotAWarning(merge, path), ""); // repairs are warnings, nothing else is said
  const int sheets = QpdfPageCount(out);
  EXPECT_EQ(sheets, c.pages + 4);
  EXPECT_EQ(MarkedProblem(out, 3, c.pages, c.name, c.distinct), "");
  EXPECT_EQ(NeighbourProblem(out, 1, 0), "");
  EXPECT_EQ(NeighbourProblem(out, sheets - 1, 2), "");
  EXPECT_EQ(OutputProblem(out), "");
}

INSTANTIATE_TEST_SUITE_P(Repairable, RepairedInput, ::testing::ValuesIn(RepairableCases()),
                         kCaseName);
INSTANTIATE_TEST_SUITE_P(Loops, RepairedInput, ::testing::ValuesIn(LoopCases()), kCaseName);
INSTANTIATE_TEST_SUITE_P(ReadersRead, RepairedInput, ::testing::ValuesIn(ReaderRepairCases()),
                         kCaseName);

// Lies and junk: never a signal, never a silent loss. If --info says N pages, the merge has N
// sheets of the file, or exits 1 naming it, or warns about it.
using JunkInput = HostileInput;

TEST_P(JunkInput, NoCrashAndNothingLostWithoutAWord) {
  const HostileCase &c = GetParam();
  const std::string path = Write();
  const ChildResult info = RunMerge({"--info", path});
  ASSERT_TRUE(EndedSoundly(info));
  const int told = InfoPages(info, path);
  if (info.exitCode == 0) {
    EXPECT_GE(told, 0) << info.out;
  } else {
    EXPECT_NE(InfoError(info, path), "") << info.out;
  }

  const ChildResult merge = RunMerge({"-o", out, good.before, path, good.after});
  ASSERT_TRUE(EndedSoundly(merge));
  if (c.expect != Expect::NoSilentLoss) {
    ASSERT_EQ(merge.exitCode, 0) << "a file whose pages are sound was refused: " << merge.err;
  }
  if (info.exitCode == 1) {
    // What --info refuses, the merge does not use without --skip-bad.
    EXPECT_EQ(merge.exitCode, 1) << info.out << merge.Describe();
  }
  if (merge.exitCode == 1) {
    EXPECT_TRUE(Names(merge, path)) << merge.err;
    EXPECT_FALSE(FileExists(out));
    return;
  }
  const int sheets = QpdfPageCount(out);
  ASSERT_GE(sheets, 4) << "the good files' pages are missing";
  EXPECT_EQ(NeighbourProblem(out, 1, 0), "");
  EXPECT_EQ(NeighbourProblem(out, sheets - 1, 2), "");
  EXPECT_EQ(OutputProblem(out), "");
  const int placed = sheets - 4;
  switch (c.expect) {
  case Expect::AllPages:
    EXPECT_EQ(told, c.pages);
    EXPECT_EQ(placed, c.pages);
    EXPECT_EQ(MarkedProblem(out, 3, c.pages, c.name), "");
    break;
  case Expect::PagesWarned:
    EXPECT_EQ(placed, c.pages);
    EXPECT_EQ(MarkedProblem(out, 3, c.pages, c.name), "");
    EXPECT_TRUE(Warns(merge, path)) << merge.err;
    break;
  case Expect::NoSilentLoss: {
    const std::vector<int> pages = MarkedPages(out, 3, placed, c.name);
    for (size_t k = 0; k < pages.size(); ++k)
      EXPECT_TRUE(pages[k] > 0 && (k == 0 || pages[k] > pages[k - 1]))
          << "sheet " << k + 3 << " shows page " << pages[k] << " of the file";
    if (placed != told) {
      EXPECT_TRUE(Warns(merge, path))
          << "--info said " << told << " pages, " << placed << " were merged, and nothing was said";
    }
    break;
  }
  }
}

INSTANTIATE_TEST_SUITE_P(Junk, JunkInput, ::testing::ValuesIn(JunkCases()), kCaseName);

// Files that are no PDF: --info and the merge say so, nothing is written.
using NotPdfInput = HostileInput;

TEST_P(NotPdfInput, IsRefusedByNameWithItsReason) {
  const std::string path = Write();
  const ChildResult info = RunMerge({"--info", path});
  EXPECT_TRUE(info.exited && info.exitCode == 1) << info.Describe();
  const std::string reason = InfoError(info, path);
  EXPECT_TRUE(IsReason(reason, "not a PDF") || IsReason(reason, "damaged beyond repair"))
      << info.out;

  const ChildResult merge = RunMerge({"-o", out, good.before, path});
  EXPECT_TRUE(merge.exited && merge.exitCode == 1) << merge.Describe();
  EXPECT_TRUE(Says(merge, path, "not a PDF") || Says(merge, path, "damaged beyond repair"))
      << merge.err;
  EXPECT_FALSE(FileExists(out));
}

INSTANTIATE_TEST_SUITE_P(NotPdf, NotPdfInput, ::testing::ValuesIn(NotPdfCases()), kCaseName);

// Encryption dictionaries that cannot be trusted: refused by name, or skipped with --skip-bad.
class BadEncryptionInput : public ::testing::TestWithParam<EncryptionCase> {};

TEST_P(BadEncryptionInput, IsRefusedOrSkippedWithItsReason) {
  TempDir dir;
  const Neighbours good = MakeNeighbours(dir);
  const std::string path = dir.file("locked.pdf"), out = dir.file("out.pdf");
  WriteFileBytes(path, MakeBadEncryption(GetParam(), dir.path()));
  const std::string phrase = "unsupported or damaged encryption";

  const ChildResult info = RunMerge({"--info", good.before, path});
  EXPECT_TRUE(info.exited && info.exitCode == 1) << info.Describe();
  EXPECT_TRUE(IsReason(InfoError(info, path), phrase)) << info.out;
  EXPECT_EQ(InfoPages(info, good.before), 2);

  const ChildResult merge = RunMerge({"-o", out, good.before, path, good.after});
  EXPECT_TRUE(merge.exited && merge.exitCode == 1) << merge.Describe();
  EXPECT_TRUE(Says(merge, path, phrase)) << merge.err;
  EXPECT_FALSE(FileExists(out));

  const ChildResult skip = RunMerge({"--skip-bad", "-o", out, good.before, path, good.after});
  ASSERT_TRUE(skip.exited && skip.exitCode == 0) << skip.Describe();
  EXPECT_TRUE(Says(skip, path, "skipped: " + phrase)) << skip.err;
  EXPECT_EQ(QpdfPageCount(out), 4);
  EXPECT_EQ(NeighbourProblem(out, 1, 0), "");
  EXPECT_EQ(NeighbourProblem(out, 3, 2), "");
  EXPECT_EQ(OutputProblem(out), "");
}

INSTANTIATE_TEST_SUITE_P(Hostile, BadEncryptionInput, ::testing::ValuesIn(BadEncryptionCases()),
                         [](const ::testing::TestParamInfo<EncryptionCase> &info) {
                           return TestName(info.param.name);
                         });

// --password after an input opens it; without one, or with a wrong one, the file is named.
struct PasswordCase {
  const char *name, *encryption;
};
void PrintTo(const PasswordCase &c, std::ostream *out) { *out << c.name; }

class PasswordInput : public ::testing::TestWithParam<PasswordCase> {
protected:
  TempDir dir;
  std::string out = dir.file("out.pdf");
};

TEST_P(PasswordInput, UserPasswordIsNeededAndChecked) {
  const std::string path = dir.file("locked.pdf");
  WriteFileBytes(path,
                 MakeEncryptedPdf("locked", 2, "user", "owner", GetParam().encryption, dir.path()));

  const ChildResult info = RunMerge({"--info", path});
  EXPECT_TRUE(info.exited && info.exitCode == 1) << info.Describe();
  EXPECT_TRUE(IsReason(InfoError(info, path), "needs a password")) << info.out;

  const ChildResult none = RunMerge({"-o", out, path});
  EXPECT_TRUE(none.exited && none.exitCode == 1) << none.Describe();
  EXPECT_TRUE(Says(none, path, "needs a password")) << none.err;
  EXPECT_FALSE(FileExists(out));

  const ChildResult wrong = RunMerge({"-o", out, path, "--password", "wrong"});
  EXPECT_TRUE(wrong.exited && wrong.exitCode == 1) << wrong.Describe();
  EXPECT_TRUE(Says(wrong, path, "wrong password")) << wrong.err;
  EXPECT_FALSE(FileExists(out));

  const ChildResult right = RunMerge({"-o", out, path, "--password", "user", "--pages", "2"});
  ASSERT_TRUE(right.exited && right.exitCode == 0) << right.Describe();
  EXPECT_EQ(QpdfPageCount(out), 1);
  EXPECT_EQ(PageText(out, 1), PageMarker("locked", 2));
  EXPECT_EQ(OutputProblem(out), "");
}

TEST_P(PasswordInput, OwnerPasswordOnlyNeedsNone) {
  const std::string path = dir.file("owned.pdf");
  WriteFileBytes(path,
                 MakeEncryptedPdf("owned", 2, "", "owner", GetParam().encryption, dir.path()));
  const ChildResult info = RunMerge({"--info", path});
  EXPECT_EQ(info.out, path + ": 2 pages\n") << info.Describe();
  const ChildResult merge = RunMerge({"-o", out, path});
  ASSERT_TRUE(merge.exited && merge.exitCode == 0) << merge.Describe();
  EXPECT_EQ(MarkedProblem(out, 1, 2, "owned"), "");
  EXPECT_EQ(OutputProblem(out), "");
}

const PasswordCase kPasswordCases[] = {
    {"rc4_128", "128 --use-aes=n"}, {"aes_128", "128 --use-aes=y"}, {"aes_256", "256"}};

INSTANTIATE_TEST_SUITE_P(Encrypted, PasswordInput, ::testing::ValuesIn(kPasswordCases),
                         [](const ::testing::TestParamInfo<PasswordCase> &info) {
                           return std::string(info.param.name);
                         });

// A PNG that declares more pixels than the engine decodes: refused from its header, at once
// (the runs get a minute, not the time decoding would take).
class PictureBombInput : public ::testing::TestWithParam<unsigned> {};

TEST_P(PictureBombInput, IsRefusedAsTooLarge) {
  TempDir dir;
  const Neighbours good = MakeNeighbours(dir);
  const std::string path = dir.file("bomb.png"), out = dir.file("out.pdf");
  WriteFileBytes(path, MakePngHeaderBomb(GetParam(), GetParam()));
  const std::string phrase = "picture too large";

  const ChildResult info = RunMerge({"--info", path}, 60);
  EXPECT_TRUE(info.exited && info.exitCode == 1) << info.Describe();
  EXPECT_TRUE(IsReason(InfoError(info, path), phrase)) << info.out;

  const ChildResult merge = RunMerge({"-o", out, good.before, path, good.after}, 60);
  EXPECT_TRUE(merge.exited && merge.exitCode == 1) << merge.Describe();
  EXPECT_TRUE(Says(merge, path, phrase)) << merge.err;
  EXPECT_FALSE(FileExists(out));

  const ChildResult skip = RunMerge({"--skip-bad", "-o", out, good.before, path, good.after}, 60);
  ASSERT_TRUE(skip.exited && skip.exitCode == 0) << skip.Describe();
  EXPECT_TRUE(Says(skip, path, "skipped: " + phrase)) << skip.err;
  EXPECT_EQ(QpdfPageCount(out), 4);
  EXPECT_EQ(NeighbourProblem(out, 3, 2), "");
}

INSTANTIATE_TEST_SUITE_P(Png, PictureBombInput, ::testing::Values(22000u, 100000u),
                         [](const ::testing::TestParamInfo<unsigned> &info) {
                           return "side_" + std::to_string(info.param);
                         });

// A selection that places no page is an error, not an empty PDF.
TEST(NoPageSelected, IsAnErrorAndWritesNothing) {
  TempDir dir;
  WriteFileBytes(dir.file("three.pdf"), MakeTextPdf("three", 3).pdf.Write().bytes);
  WriteFileBytes(dir.file("one.pdf"), MakeTextPdf("one", 1).pdf.Write().bytes);
  WriteFileBytes(dir.file("none.pdf"), MakeTextPdf("none", 0).pdf.Write().bytes);
  const std::string out = dir.file("out.pdf");
  const std::vector<std::string> cases[] = {
      {dir.file("three.pdf"), "--pages", ""},
      {dir.file("one.pdf"), "--pages", "Even"},
      {dir.file("none.pdf")},
      {dir.file("three.pdf"), "--pages", ",", dir.file("one.pdf"), "--pages", "Even"},
  };
  for (const std::vector<std::string> &inputs : cases) {
    std::vector<std::string> args{"-o", out};
    args.insert(args.end(), inputs.begin(), inputs.end());
    const ChildResult run = RunMerge(args);
    SCOPED_TRACE(args.back());
    EXPECT_TRUE(run.exited && run.exitCode == 1) << run.Describe();
    EXPECT_NE(LineStarting(run.err, "vantorel-merge: no page selected"), "") << run.err;
    EXPECT_FALSE(FileExists(out));
  }
}

} // namespace
