// Comments, drawings and links of merged pages stay annotations at every layout: each sheet
// lists its pages' annotations in their order, pop-ups and replies point at their partners,
// and what readers draw for them, with or without an appearance of their own, is on the sheet.
#include "MergeTestSupport.h"
#include "OutputChecks.h"
#include "PdfMaker.h"
#include "ReferenceReaders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::vector<std::string> Listing(const std::string &pdf) {
  std::istringstream in(RunCommand("/usr/bin/python3 '" ANNOTATIONS_SCRIPT "' list '" + pdf + "'"));
  std::vector<std::string> pages;
  for (std::string line; std::getline(in, line);)
    pages.push_back(line);
  return pages;
}

// Magenta pixels of every page: the colour of all the annotations.
double MagentaArea(const std::string &pdf, int pages) {
  double area = 0;
  for (int page = 1; page <= pages; ++page) {
    const RenderedPage image = RenderPage(pdf, page, 36);
    for (double x = 0.0025; x < 1; x += 0.005)
      for (double y = 0.0025; y < 1; y += 0.005)
        area += Near(image.At(x, y), 0xFF00FF, 60) ? 1 : 0;
  }
  return area;
}

TEST(Annotations, RideWithTheirPagesAtEveryLayout) {
  TempDir dir;
  for (int rotate : {0, 90, 180}) {
    const std::string src = dir.file("src.pdf");
    RunCommand("/usr/bin/python3 '" ANNOTATIONS_SCRIPT "' make '" + src + "' " +
               std::to_string(rotate));
    const std::vector<std::string> pages = Listing(src);
    ASSERT_EQ(pages.size(), 2u);
    const double sourceArea = MagentaArea(src, 2);
    // Scale of each page on its sheet (A4 pages on A4 halves and quarters), squared.
    for (const auto &[nup, area] : {std::pair{0, 1.0}, {1, 0.5}, {2, 0.25}}) {
      SCOPED_TRACE("rotated " + std::to_string(rotate) + ", N-up code " + std::to_string(nup));
      MergerTool job;
      const std::string out = dir.file("out.pdf");
      ASSERT_TRUE(MergeOntoA4(job, out, {{src}}, nup));
      EXPECT_EQ(OutputProblem(out), "");
      // One sheet's words: both pages' subtypes, then both pages' marks.
      std::vector<std::string> expected = pages;
      if (nup != 0) {
        const size_t mark1 = pages[0].find(" popup"), mark2 = pages[1].find(" popup");
        expected = {pages[0].substr(0, mark1) + " " + pages[1].substr(0, mark2) +
                    pages[0].substr(mark1) + pages[1].substr(mark2)};
      }
      EXPECT_EQ(Listing(out), expected);
      const double shown = MagentaArea(out, static_cast<int>(expected.size()));
      EXPECT_NEAR(shown / (sourceArea * area), 1, 0.35);
      // The links whose targets the file lacks stay, and are named.
      int nTargetless = 0;
      for (const MergeSourceNote &note : job.GetNotices())
        nTargetless +=
            note.nPage == 1 && (note.strText.find(L"\"nowhere\"") != std::wstring::npos ||
                                note.strText.find(L"embedded file") != std::wstring::npos);
      EXPECT_EQ(nTargetless, 2);
    }
  }
}

} // namespace
