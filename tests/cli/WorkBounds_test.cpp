// The reader's budgets, seen from outside: each hostile file runs through vantorel-merge under
// caps on its address space and CPU time, and ends soundly within them: its pages arrive, or it
// is skipped with a reason. And a merge of many files holds no more files open than it uses.
#include "CliRun.h"
#include "HostilePdf.h"
#include "OutputChecks.h"
#include "PictureMaker.h"
#include "ReferenceReaders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Caps a merge and --info are held to; a run past them is killed (a signal) or fails to
// allocate (an error), and either fails the test. A plain --info runs in 200 MB of address
// space; the caps are the memory meant (1 GB, 256 MB) and a little for what the libraries map.
// AddressSanitizer reserves terabytes of address space: under it only CPU time is capped.
const std::string kMergeCaps = ADDRESS_CAPS ? "--as=1100000000" : "--as=unlimited",
                  kInfoCaps = ADDRESS_CAPS ? "--as=300000000" : "--as=unlimited";
const std::string kCpu = "--cpu=30";

ChildResult Capped(const std::string &memory, std::vector<std::string> args) {
  args.insert(args.begin(), {"/usr/bin/prlimit", memory, kCpu, "--", VANTOREL_MERGE});
  return RunChild(args, 120);
}

class WorkBound : public ::testing::TestWithParam<WorkCase> {};

TEST_P(WorkBound, EndsWithinItsCapsWithPagesOrAReason) {
  const WorkCase &c = GetParam();
  TempDir dir;
  const Neighbours good = MakeNeighbours(dir);
  const std::string path = dir.file(std::string(c.name) + ".pdf"), out = dir.file("out.pdf");
  WriteFileBytes(path, c.make());

  const ChildResult info = Capped(kInfoCaps, {"--info", path});
  ASSERT_TRUE(info.exited) << info.Describe();
  const ChildResult merge =
      Capped(kMergeCaps, {"--skip-bad", "-o", out, good.before, path, good.after});
  ASSERT_TRUE(merge.exited && merge.exitCode == 0) << merge.Describe();
  const int sheets = QpdfPageCount(out);
  EXPECT_EQ(NeighbourProblem(out, 1, 0), "");
  EXPECT_EQ(NeighbourProblem(out, sheets - 1, 2), "");
  EXPECT_TRUE(c.phrase == nullptr || merge.err.find(c.phrase) != std::string::npos) << merge.err;
  if (c.pages < 0) {
    EXPECT_EQ(info.exitCode, 1) << info.out;
    EXPECT_TRUE(Says(merge, path, "skipped: damaged beyond repair")) << merge.err;
    EXPECT_EQ(sheets, 4);
    return;
  }
  EXPECT_EQ(InfoPages(info, path), c.pages) << info.out;
  EXPECT_EQ(sheets, c.pages + 4);
  if (c.pages < 10) {
    EXPECT_EQ(MarkedProblem(out, 3, c.pages, c.name), "");
  }
}

INSTANTIATE_TEST_SUITE_P(Hostile, WorkBound, ::testing::ValuesIn(WorkBombCases()),
                         [](const auto &info) { return std::string(info.param.name); });

// A thousand one-page files, then the same thousand again, with far fewer descriptors than
// files: every page arrives, in order.
TEST(ManyFiles, AThousandListedTwiceMergeWhole) {
  TempDir dir;
  std::vector<std::string> args{"/usr/bin/prlimit", "--nofile=64", "--",
                                VANTOREL_MERGE,     "-o",          dir.file("out.pdf")};
  for (int i = 0; i < 1000; ++i) {
    const std::string path = dir.file("f" + std::to_string(i) + ".pdf");
    WriteFileBytes(path, MakeTextPdf("file" + std::to_string(i), 1).pdf.Write().bytes);
    args.push_back(path);
  }
  for (int i = 0; i < 1000; ++i)
    args.push_back(args[6 + i]);
  const ChildResult merge = RunChild(args, 600);
  ASSERT_TRUE(merge.exited && merge.exitCode == 0) << merge.Describe();
  EXPECT_EQ(QpdfPageCount(dir.file("out.pdf")), 2000);
  EXPECT_EQ(MarkedProblem(dir.file("out.pdf"), 1001, 1, "file0"), "");
  EXPECT_EQ(MarkedProblem(dir.file("out.pdf"), 2000, 1, "file999"), "");
}

// A scanned page whose picture's cross-reference entry is wrong keeps its picture after the
// table is rebuilt, as qpdf and mutool keep it.
TEST(RebuiltTable, KeepsTheScannedPicture) {
  TempDir dir;
  MakePicture(dir.file("scan.jpg"), "jpeg", 64, 48, 0x3060C0);
  const std::string path = dir.file("scan.pdf"), out = dir.file("out.pdf");
  WriteFileBytes(path, ScanXrefWrong(ReadFileBytes(dir.file("scan.jpg"))));
  const ChildResult merge = RunMerge({"-o", out, path});
  ASSERT_TRUE(merge.exited && merge.exitCode == 0) << merge.Describe();
  EXPECT_EQ(MarkedProblem(out, 1, 2, "scan-xref-wrong"), "");
  const std::string images = RunCommand("pdfimages -list '" + out + "' 2>&1");
  EXPECT_NE(images.find("   64    48  rgb     3   8  jpeg"), std::string::npos) << images;
}

// Writes every generated input to $VANTOREL_INPUTS_DIR, for bench/hostile.sh.
TEST(WorkBoundInputs, DISABLED_Write) {
  const std::string dir = std::getenv("VANTOREL_INPUTS_DIR"); // set by bench/hostile.sh
  for (const WorkCase &c : WorkBombCases())
    WriteFileBytes(dir + "/" + c.name + ".pdf", c.make());
  for (const HostileCase &c : ReaderRepairCases())
    WriteFileBytes(dir + "/" + c.name + ".pdf", c.make());
  MakePicture(dir + "/scan.jpg", "jpeg", 64, 48, 0x3060C0);
  WriteFileBytes(dir + "/scan-xref-wrong.pdf", ScanXrefWrong(ReadFileBytes(dir + "/scan.jpg")));
}

} // namespace
