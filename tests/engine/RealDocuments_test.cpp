// Manuals from Debian's documentation packages (pdfTeX, dvipdfmx and xdvipdfmx output, with
// object streams, outlines and thousands of links), merged as users merge them: every page,
// every link and every outline entry arrives, and other readers accept the result.
#include "AnsiText.h"
#include "MergeTestSupport.h"
#include "OutputChecks.h"
#include "ReferenceReaders.h"
#include "support/TempDir.h"

#include <podofo/podofo.h>

#include <gtest/gtest.h>

#include <functional>
#include <set>

using namespace PoDoFo;

namespace {

const std::vector<std::string> kManuals = {
    "/usr/share/doc/glpk-doc/glpk.pdf",
    "/usr/share/doc/auto-multiple-choice/auto-multiple-choice.en.pdf",
    "/usr/share/doc/auto-multiple-choice/latex/automultiplechoice.pdf",
    "/usr/share/doc/shared-mime-info/shared-mime-info-spec.pdf",
};

struct Counts {
  int pages = 0, links = 0, outline = 0;
};

// Link annotations on the pages and entries of the outline, as PoDoFo reads them.
Counts Count(const std::string &pdf) {
  PdfMemDocument doc;
  doc.Load(pdf.c_str());
  Counts counts;
  counts.pages = doc.GetPageCount();
  for (int i = 0; i < counts.pages; ++i) {
    PdfPage *page = doc.GetPage(i);
    for (int k = 0; k < page->GetNumAnnots(); ++k)
      counts.links += page->GetAnnotation(k)->GetType() == ePdfAnnotation_Link ? 1 : 0;
  }
  std::set<PdfReference> seen;
  std::function<void(PdfOutlineItem *)> walk = [&](PdfOutlineItem *item) {
    for (; item != nullptr && seen.insert(item->GetObject()->Reference()).second;
         item = item->Next()) {
      ++counts.outline;
      walk(item->First());
    }
  };
  if (PdfOutlines *outlines = doc.GetOutlines(false))
    walk(outlines->First());
  return counts;
}

TEST(RealDocuments, EveryPageLinkAndOutlineEntryArrives) {
  TempDir dir;
  Counts sum;
  MergerTool job;
  job.SetLayout(PAPER_A4, 0, 0);
  int index = 0;
  for (const std::string &manual : kManuals) {
    ASSERT_TRUE(FileExists(manual)) << manual << " comes with the project's set-up";
    const Counts one = Count(manual);
    sum.pages += one.pages;
    sum.links += one.links;
    sum.outline += one.outline + 1; // one entry per merged file above its own
    job.AppendMergeSrc(index++, Wide(manual).c_str(), MergerTool::GetPdfInfo(Wide(manual).c_str()),
                       nullptr, nullptr);
  }
  const std::string out = dir.file("manuals.pdf");
  job.SetOutPDFPath(Wide(out).c_str());
  ASSERT_TRUE(job.StartMerge(0)) << WideToUtf8(job.GetFailureText());
  EXPECT_TRUE(job.GetNotices().empty());
  const Counts merged = Count(out);
  EXPECT_EQ(merged.pages, sum.pages);
  EXPECT_EQ(merged.links, sum.links);
  EXPECT_EQ(merged.outline, sum.outline);
  EXPECT_EQ(OutputProblem(out), "");
  // The text of a page is the text of the page it shows.
  for (int page : {1, 2, sum.pages / 2, sum.pages})
    EXPECT_FALSE(PageText(out, page).empty()) << "sheet " << page;
  EXPECT_EQ(PageText(out, 3), PageText(kManuals[0], 3));
}

TEST(RealDocuments, TwoAndFourPerSheetKeepLinksAndReadersAcceptThem) {
  TempDir dir;
  for (int nup : {1, 2}) {
    MergerTool job;
    job.SetLayout(PAPER_A4, nup, 0);
    job.AppendMergeSrc(0, Wide(kManuals[2]).c_str(),
                       MergerTool::GetPdfInfo(Wide(kManuals[2]).c_str()), nullptr, nullptr);
    const std::string out = dir.file("nup.pdf");
    job.SetOutPDFPath(Wide(out).c_str());
    ASSERT_TRUE(job.StartMerge(0));
    EXPECT_EQ(Count(out).links, Count(kManuals[2]).links) << nup;
    EXPECT_EQ(OutputProblem(out), "") << nup;
  }
}

} // namespace
