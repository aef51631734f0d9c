// Whole merge runs: what lands on which sheet, progress, and how sources are shared.
#include "MergeTestSupport.h"
#include "PdfMaker.h"
#include "PdfReadBack.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

namespace {

class StartMerge : public ::testing::Test {
protected:
  TempDir dir;
  MergeRecorder recorder;
  MergerTool job;

  void SetUp() override {
    job.SetCallBack(&recorder, MergeRecorder::Progress, MergeRecorder::Cancel);
  }
  std::string Out() const { return dir.file("out.pdf"); }
  void Add(const std::string &path, int pages, const char *range = nullptr, int index = 0) {
    ASSERT_TRUE(job.AppendMergeSrc(index, Wide(path).c_str(), pages, range, nullptr));
  }
  bool Run(int index = 0) {
    job.SetOutPDFPath(Wide(Out()).c_str());
    return job.StartMerge(index);
  }
  // The colour at the centre of a sheet.
  Rgb Centre(int sheet) const { return RenderPage(Out(), sheet).At(0.5, 0.5); }
};

TEST_F(StartMerge, PagesInListOrderWithProgressSteps) {
  MakeNumberedPdf(dir.file("a.pdf"), 2);
  MakeNumberedPdf(dir.file("b.pdf"), 3);
  MakeNumberedPdf(dir.file("c.pdf"), 5);
  job.SetLayout(1, 0, 0);
  Add(dir.file("a.pdf"), 2);
  Add(dir.file("b.pdf"), 3);
  Add(dir.file("c.pdf"), 5);
  ASSERT_TRUE(Run(0));

  EXPECT_EQ(recorder.percents,
            (std::vector<int>{5, 14, 23, 32, 41, 50, 59, 68, 77, 86, 95, 95, 97, 100}));
  EXPECT_EQ(recorder.indexes, std::vector<int>(14, 0));
  const PdfReadBack out = ReadBack(Out());
  ASSERT_TRUE(out.loaded);
  ASSERT_EQ(out.sheets.size(), 10u);
  EXPECT_EQ(out.pageMode, "UseOutlines");
  const int sourcePage[] = {0, 1, 0, 1, 2, 0, 1, 2, 3, 4};
  for (int i = 0; i < 10; ++i) {
    EXPECT_DOUBLE_EQ(out.sheets[i].width, 595);
    EXPECT_DOUBLE_EQ(out.sheets[i].height, 842);
    EXPECT_EQ(out.sheets[i].rotate, 0);
    EXPECT_TRUE(Near(Centre(i + 1), PageColour(sourcePage[i]))) << "sheet " << i;
  }
  int status = 0;
  RunCommand("qpdf --check '" + Out() + "' >/dev/null 2>&1", &status);
  EXPECT_EQ(status, 0);
}

TEST_F(StartMerge, DrawingOperatorsOfOneItem) {
  // A page narrower than its sheet is drawn as a form; one that fills the sheet as it is
  // becomes the sheet, with its own content.
  MakeNumberedPdf(dir.file("a.pdf"), 1, 500, 842);
  MakeNumberedPdf(dir.file("b.pdf"), 1);
  job.SetLayout(1, 0, 0);
  Add(dir.file("a.pdf"), 1);
  Add(dir.file("b.pdf"), 1);
  ASSERT_TRUE(Run());
  const PdfReadBack out = ReadBack(Out());
  ASSERT_EQ(out.sheets.size(), 2u);
  ASSERT_EQ(out.sheets[0].drawn.size(), 1u);
  const std::string name = out.sheets[0].drawn[0];
  EXPECT_EQ(out.sheets[0].content, "q\n1 0 0 1 0 0 cm\n" + name + " Do\nQ\n");
  EXPECT_EQ(out.sheets[1].content.find(" cm\n/X"), std::string::npos) << out.sheets[1].content;
  EXPECT_TRUE(Near(Centre(2), PageColour(0)));
}

TEST_F(StartMerge, SamePathTwiceIsCopiedOnceAndPlacedTwice) {
  MakeNumberedPdf(dir.file("a.pdf"), 3);
  job.SetLayout(1, 0, 0);
  job.SetBookmarks(false); // each listing would add its own outline entry
  Add(dir.file("a.pdf"), 3);
  ASSERT_TRUE(Run());
  const size_t once = ReadBack(Out()).objectCount;

  MergerTool twice;
  twice.SetBookmarks(false);
  twice.SetLayout(1, 0, 0);
  twice.AppendMergeSrc(0, Wide(dir.file("a.pdf")).c_str(), 3, nullptr, nullptr);
  twice.AppendMergeSrc(1, Wide(dir.file("a.pdf")).c_str(), 3, "2", nullptr);
  twice.SetOutPDFPath(Wide(dir.file("twice.pdf")).c_str());
  ASSERT_TRUE(twice.StartMerge(0));
  const PdfReadBack out = ReadBack(dir.file("twice.pdf"));
  ASSERT_EQ(out.sheets.size(), 4u);
  // One more sheet adds its page object and, the page being placed again, its resources as an
  // object that every further placement names; the content is the page's, written once.
  EXPECT_EQ(out.objectCount, once + 2);
  EXPECT_TRUE(Near(RenderPage(dir.file("twice.pdf"), 4).At(0.5, 0.5), PageColour(1)));
}

TEST_F(StartMerge, TwoPerSheetAutoReadsLeftToRight) {
  MakeNumberedPdf(dir.file("a.pdf"), 3);
  job.SetLayout(1, 1, 0);
  Add(dir.file("a.pdf"), 3);
  ASSERT_TRUE(Run());
  const PdfReadBack out = ReadBack(Out());
  ASSERT_EQ(out.sheets.size(), 2u);
  EXPECT_EQ(out.sheets[0].rotate, 270);
  ASSERT_EQ(out.sheets[0].matrices.size(), 2u);
  const double s = std::min(421.0 / 595, 595.0 / 842);
  EXPECT_NEAR(out.sheets[0].matrices[0][1], -s, 1e-5);
  EXPECT_NEAR(out.sheets[0].matrices[0][5], 842, 1e-5);
  EXPECT_EQ(out.sheets[1].matrices.size(), 1u); // the last sheet keeps its empty cell

  const RenderedPage sheet = RenderPage(Out(), 1, 30);
  EXPECT_GT(sheet.width, sheet.height); // shown as landscape
  EXPECT_TRUE(Near(sheet.At(0.25, 0.5), PageColour(0)));
  EXPECT_TRUE(Near(sheet.At(0.75, 0.5), PageColour(1)));
  // Upright: each page's marker is in the top-left corner of its half.
  EXPECT_TRUE(Near(sheet.At(0.02, 0.03), 0x000000));
  EXPECT_TRUE(Near(sheet.At(0.52, 0.03), 0x000000));
}

TEST_F(StartMerge, TwoPerSheetVerticalHasNoRotate) {
  MakeNumberedPdf(dir.file("a.pdf"), 2);
  job.SetLayout(1, 1, 1);
  Add(dir.file("a.pdf"), 2);
  ASSERT_TRUE(Run());
  EXPECT_EQ(ReadBack(Out()).sheets.at(0).rotate, 0);
}

TEST_F(StartMerge, FourPerSheetFillsTwoSheetsForFivePages) {
  MakeNumberedPdf(dir.file("a.pdf"), 5);
  job.SetLayout(1, 2, 0);
  Add(dir.file("a.pdf"), 5);
  ASSERT_TRUE(Run());
  const PdfReadBack out = ReadBack(Out());
  ASSERT_EQ(out.sheets.size(), 2u);
  EXPECT_EQ(out.sheets[0].matrices.size(), 4u);
  EXPECT_EQ(out.sheets[1].matrices.size(), 1u);
  const RenderedPage sheet = RenderPage(Out(), 1, 30);
  EXPECT_TRUE(Near(sheet.At(0.25, 0.25), PageColour(0)));
  EXPECT_TRUE(Near(sheet.At(0.75, 0.25), PageColour(1)));
  EXPECT_TRUE(Near(sheet.At(0.25, 0.75), PageColour(2)));
  EXPECT_TRUE(Near(sheet.At(0.75, 0.75), PageColour(3)));
}

TEST_F(StartMerge, FourPerSheetHorizontalReadsLeftToRightWithPagesUpright) {
  MakeNumberedPdf(dir.file("a.pdf"), 4);
  job.SetLayout(1, 2, 2);
  Add(dir.file("a.pdf"), 4);
  ASSERT_TRUE(Run());
  const PdfReadBack out = ReadBack(Out());
  EXPECT_EQ(out.sheets.at(0).rotate, 270);
  // Shown as a landscape sheet: rows left to right, top to bottom, each page upright (its
  // marker at the top-left of its place) at the left of its quarter.
  const RenderedPage sheet = RenderPage(Out(), 1, 30);
  ASSERT_GT(sheet.width, sheet.height);
  EXPECT_TRUE(Near(sheet.At(0.12, 0.25), PageColour(0)));
  EXPECT_TRUE(Near(sheet.At(0.62, 0.25), PageColour(1)));
  EXPECT_TRUE(Near(sheet.At(0.12, 0.75), PageColour(2)));
  EXPECT_TRUE(Near(sheet.At(0.62, 0.75), PageColour(3)));
  EXPECT_TRUE(Near(sheet.At(0.01, 0.02), 0x000000));
  EXPECT_TRUE(Near(sheet.At(0.51, 0.52), 0x000000));
}

TEST_F(StartMerge, LandscapeItemTurnsClockwiseToTheTop) {
  // 600 x 500 turned on A4: scale 595/500, so the page is 714 high and leaves the bottom empty.
  MakeTestPdf(dir.file("a.pdf"), {TestPage{600, 500, 0, 0, 0, 0x0000FF}});
  job.SetLayout(1, 0, 0);
  Add(dir.file("a.pdf"), 1);
  ASSERT_TRUE(Run());
  const RenderedPage sheet = RenderPage(Out(), 1, 30);
  EXPECT_TRUE(Near(sheet.At(0.5, 0.5), 0x0000FF));
  EXPECT_TRUE(Near(sheet.At(0.5, 0.95), 0xFFFFFF));
  // Turned clockwise: the page's top-left marker is now at the top-right.
  EXPECT_TRUE(Near(sheet.At(0.97, 0.02), 0x000000));
  EXPECT_TRUE(Near(sheet.At(0.03, 0.02), 0x0000FF));
}

TEST_F(StartMerge, PagesAreDrawnTurnedAsReadersShowThem) {
  MakeTestPdf(dir.file("r.pdf"),
              {TestPage{595, 842, 0, 0, 180, 0x00A000}, TestPage{400, 300, 0, 0, 90, 0xFF0000},
               TestPage{400, 300, 50, 60, 270, 0x0000FF}});
  job.SetLayout(8, 0, 0); // every sheet sized by its page as shown
  Add(dir.file("r.pdf"), 3);
  ASSERT_TRUE(Run());
  const PdfReadBack out = ReadBack(Out());
  ASSERT_EQ(out.sheets.size(), 3u);
  EXPECT_NEAR(out.sheets[0].matrices[0][0], -1, 1e-9); // a half turn
  for (size_t i : {1u, 2u}) {                          // turned a quarter: shown 300 x 400
    EXPECT_DOUBLE_EQ(out.sheets[i].left, 0);
    EXPECT_DOUBLE_EQ(out.sheets[i].width, 300);
    EXPECT_DOUBLE_EQ(out.sheets[i].height, 400);
  }
  // Each page's top-left marker lands where a reader shows it: turned over it is at the
  // bottom-right, turned clockwise at the top-right, turned counter-clockwise bottom-left.
  const RenderedPage upside = RenderPage(Out(), 1, 30);
  EXPECT_TRUE(Near(upside.At(0.97, 0.98), 0x000000));
  EXPECT_TRUE(Near(upside.At(0.03, 0.02), 0x00A000));
  const RenderedPage clockwise = RenderPage(Out(), 2, 30);
  EXPECT_TRUE(Near(clockwise.At(0.96, 0.03), 0x000000));
  EXPECT_TRUE(Near(clockwise.At(0.04, 0.97), 0xFF0000));
  const RenderedPage counter = RenderPage(Out(), 3, 30);
  EXPECT_TRUE(Near(counter.At(0.04, 0.97), 0x000000));
  EXPECT_TRUE(Near(counter.At(0.96, 0.03), 0x0000FF));
}

TEST_F(StartMerge, TurnedPagesAreFittedByTheirShownSize) {
  // A landscape page turned clockwise is shown portrait: it fills A4 without a further turn.
  MakeTestPdf(dir.file("r.pdf"), {TestPage{842, 595, 0, 0, 90, 0xFF0000}});
  job.SetLayout(1, 0, 0);
  Add(dir.file("r.pdf"), 1);
  ASSERT_TRUE(Run());
  const RenderedPage sheet = RenderPage(Out(), 1, 30);
  EXPECT_TRUE(Near(sheet.At(0.5, 0.97), 0xFF0000));
  EXPECT_TRUE(Near(sheet.At(0.96, 0.03), 0x000000)); // its top-left shown at the top-right
}

TEST_F(StartMerge, BoxesAwayFromTheOriginFillTheirCell) {
  // The visible area starts at (100, 200): scaled into A4 it still fills the sheet's width.
  MakeTestPdf(dir.file("o.pdf"), {TestPage{297.5, 421, 100, 200, 0, 0x0000FF}});
  job.SetLayout(1, 0, 0);
  Add(dir.file("o.pdf"), 1);
  ASSERT_TRUE(Run());
  const RenderedPage sheet = RenderPage(Out(), 1, 30);
  EXPECT_TRUE(Near(sheet.At(0.5, 0.5), 0x0000FF));
  EXPECT_TRUE(Near(sheet.At(0.97, 0.97), 0x0000FF));
  EXPECT_TRUE(Near(sheet.At(0.03, 0.02), 0x000000));
}

TEST_F(StartMerge, InheritedResourcesAndSplitContentStillDraw) {
  TestPdfOptions inherited;
  inherited.inheritedResources = true;
  MakeTestPdf(dir.file("i.pdf"), {TestPage{}}, inherited);
  TestPdfOptions split;
  split.splitContent = true;
  MakeTestPdf(dir.file("s.pdf"), {TestPage{}}, split);
  job.SetLayout(1, 0, 0);
  Add(dir.file("i.pdf"), 1);
  Add(dir.file("s.pdf"), 1);
  ASSERT_TRUE(Run());
  for (int sheet = 1; sheet <= 2; ++sheet) {
    const RenderedPage page = RenderPage(Out(), sheet, 30);
    EXPECT_TRUE(Near(page.At(0.5, 0.5), 0xFF0000)) << "sheet " << sheet;
    EXPECT_TRUE(Near(page.At(0.03, 0.02), 0x000000)) << "sheet " << sheet;
  }
}

TEST_F(StartMerge, PageCountZeroTakesEveryPageAndEmptyRangeNothing) {
  MakeNumberedPdf(dir.file("a.pdf"), 3);
  job.SetLayout(1, 0, 0);
  Add(dir.file("a.pdf"), 0);
  Add(dir.file("a.pdf"), 3, "");
  Add(dir.file("a.pdf"), 3, "Even");
  ASSERT_TRUE(Run());
  EXPECT_EQ(ReadBack(Out()).sheets.size(), 4u);
  for (int p : recorder.percents)
    EXPECT_LE(p, 100);
}

TEST_F(StartMerge, UnusableSourcesAreSkippedAndNotCounted) {
  MakeNumberedPdf(dir.file("a.pdf"), 1);
  WriteFileBytes(dir.file("broken.pdf"), "not a pdf at all");
  WriteFileBytes(dir.file("picture.gif"), "GIF89a");
  job.SetLayout(1, 0, 0);
  Add(dir.file("a.pdf"), 1);
  Add(dir.file("broken.pdf"), 1);
  Add(dir.file("picture.gif"), 1);
  Add(dir.file("missing.pdf"), 1);
  Add(dir.file("a.pdf"), 1);
  ASSERT_TRUE(Run());
  EXPECT_EQ(ReadBack(Out()).sheets.size(), 2u);
  // Four counted pages (the gif is not counted), two placed: 5, 27, 50, then the ending.
  EXPECT_EQ(recorder.percents, (std::vector<int>{5, 27, 50, 95, 97, 100}));
}

TEST_F(StartMerge, EncryptedSourceWithEmptyUserPasswordMerges) {
  TestPdfOptions locked;
  locked.ownerPassword = "owner";
  MakeTestPdf(dir.file("e.pdf"), {TestPage{}}, locked);
  EXPECT_EQ(MergerTool::GetPdfInfo(Wide(dir.file("e.pdf")).c_str()), 1);
  job.SetLayout(1, 0, 0);
  Add(dir.file("e.pdf"), 1);
  ASSERT_TRUE(Run());
  EXPECT_TRUE(Near(Centre(1), 0xFF0000));
}

TEST_F(StartMerge, SourcePasswordOpensAProtectedSource) {
  TestPdfOptions locked;
  locked.ownerPassword = "owner";
  locked.userPassword = "user";
  MakeTestPdf(dir.file("e.pdf"), {TestPage{}}, locked);
  EXPECT_EQ(MergerTool::GetPdfInfo(Wide(dir.file("e.pdf")).c_str()), -1);
  static const char password[] = "user";
  job.SetLayout(1, 0, 0);
  job.AppendMergeSrc(0, Wide(dir.file("e.pdf")).c_str(), 1, nullptr, password);
  job.AppendMergeSrc(1, Wide(dir.file("e.pdf")).c_str(), 1, nullptr, nullptr);
  ASSERT_TRUE(Run());
  EXPECT_EQ(ReadBack(Out()).sheets.size(), 2u);
}

TEST_F(StartMerge, EmptyJobWritesNothing) {
  job.SetLayout(1, 0, 0);
  ASSERT_FALSE(Run());
  EXPECT_EQ(job.GetFailureCode(), MERGE_FAILURE_EMPTY);
  EXPECT_FALSE(FileExists(Out()));
}

TEST_F(StartMerge, ManyFilesDoNotKeepTheirFilesOpen) {
  MakeNumberedPdf(dir.file("one.pdf"), 1);
  const std::string bytes = ReadFileBytes(dir.file("one.pdf"));
  for (int i = 0; i < 150; ++i) {
    const std::string name = dir.file("f" + std::to_string(i) + ".pdf");
    WriteFileBytes(name, bytes);
    Add(name, 1);
  }
  job.SetLayout(1, 0, 0);
  // Room for the test's own files and a few more, far fewer than one per source.
  rlimit saved{};
  getrlimit(RLIMIT_NOFILE, &saved);
  rlimit tight = saved;
  tight.rlim_cur = 64;
  setrlimit(RLIMIT_NOFILE, &tight);
  const bool ok = Run();
  setrlimit(RLIMIT_NOFILE, &saved);
  ASSERT_TRUE(ok);
  EXPECT_EQ(ReadBack(Out()).sheets.size(), 150u);
}

TEST_F(StartMerge, PerSourceModeReportsUnderEachSource) {
  MakeNumberedPdf(dir.file("a.pdf"), 2);
  job.SetLayout(1, 0, 0);
  Add(dir.file("a.pdf"), 2, nullptr, 3);
  Add(dir.file("a.pdf"), 2, nullptr, 5);
  ASSERT_TRUE(Run(-1));
  EXPECT_EQ(recorder.percents, (std::vector<int>{52, 100, 100, 52, 100, 100}));
  EXPECT_EQ(recorder.indexes, (std::vector<int>{2, 2, 2, 4, 4, 4}));
}

} // namespace
