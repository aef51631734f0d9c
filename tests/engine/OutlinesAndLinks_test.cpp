// Bookmarks and links that survive the merge, and annotations that stay visible.
#include "MergeTestSupport.h"
#include "PdfMaker.h"
#include "PdfReadBack.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <podofo/podofo.h>

using namespace PoDoFo;

namespace {

PdfArray Numbers(std::initializer_list<double> values) {
  PdfArray array;
  for (double v : values)
    array.push_back(PdfObject(v));
  return array;
}

PdfArray Dest(const PdfReference &page, const char *type, std::initializer_list<double> values) {
  PdfArray dest;
  dest.push_back(page);
  dest.push_back(PdfName(type));
  for (double v : values)
    dest.push_back(PdfObject(v));
  if (std::string(type) == "XYZ")
    dest.push_back(PdfObject()); // zoom
  return dest;
}

// Three A4 pages with an outline, links on page 1 and stamps on page 2:
//   "Chapter 1" -> page 1; "Chapter 2" -> page 3 (Fit), under it "Section 2.1" -> named "sec21"
//   (page 2 at 100, 500). Page 1 links: an address, page 3 at (50, 400), the name "sec21".
//   Page 2: a green stamp at (300, 300)-(400, 400) and a hidden red one at (100, 100)-(200, 200).
void MakeOutlinedPdf(const std::string &path) {
  MakeNumberedPdf(path, 3);
  PdfMemDocument doc;
  doc.Load(path.c_str());
  PdfVecObjects &objects = doc.GetObjects();
  const PdfReference p1 = doc.GetPage(0)->GetObject()->Reference();
  const PdfReference p2 = doc.GetPage(1)->GetObject()->Reference();
  const PdfReference p3 = doc.GetPage(2)->GetObject()->Reference();

  // Named destination in a name tree.
  PdfObject *tree = objects.CreateObject();
  PdfArray names;
  names.push_back(PdfString("sec21"));
  names.push_back(Dest(p2, "XYZ", {100, 500}));
  tree->GetDictionary().AddKey("Names", names);
  PdfDictionary nameDict;
  nameDict.AddKey("Dests", tree->Reference());
  doc.GetCatalog()->GetDictionary().AddKey("Names", nameDict);

  PdfObject *root = objects.CreateObject("Outlines");
  PdfObject *ch1 = objects.CreateObject();
  PdfObject *ch2 = objects.CreateObject();
  PdfObject *sec = objects.CreateObject();
  ch1->GetDictionary().AddKey("Title", PdfString("Chapter 1"));
  ch1->GetDictionary().AddKey("Parent", root->Reference());
  ch1->GetDictionary().AddKey("Next", ch2->Reference());
  ch1->GetDictionary().AddKey("Dest", Dest(p1, "XYZ", {0, 842}));
  ch2->GetDictionary().AddKey("Title", PdfString("Chapter 2"));
  ch2->GetDictionary().AddKey("Parent", root->Reference());
  ch2->GetDictionary().AddKey("Prev", ch1->Reference());
  ch2->GetDictionary().AddKey("Dest", Dest(p3, "Fit", {}));
  ch2->GetDictionary().AddKey("First", sec->Reference());
  ch2->GetDictionary().AddKey("Last", sec->Reference());
  ch2->GetDictionary().AddKey("Count", PdfVariant(static_cast<pdf_int64>(1)));
  sec->GetDictionary().AddKey("Title", PdfString("Section 2.1"));
  sec->GetDictionary().AddKey("Parent", ch2->Reference());
  PdfDictionary goTo;
  goTo.AddKey("S", PdfName("GoTo"));
  goTo.AddKey("D", PdfString("sec21"));
  sec->GetDictionary().AddKey("A", goTo);
  root->GetDictionary().AddKey("First", ch1->Reference());
  root->GetDictionary().AddKey("Last", ch2->Reference());
  root->GetDictionary().AddKey("Count", PdfVariant(static_cast<pdf_int64>(3)));
  doc.GetCatalog()->GetDictionary().AddKey("Outlines", root->Reference());

  auto link = [&objects](std::initializer_list<double> rect) {
    PdfObject *annot = objects.CreateObject("Annot");
    annot->GetDictionary().AddKey("Subtype", PdfName("Link"));
    annot->GetDictionary().AddKey("Rect", Numbers(rect));
    return annot;
  };
  PdfObject *uri = link({100, 700, 200, 720});
  PdfDictionary uriAction;
  uriAction.AddKey("S", PdfName("URI"));
  uriAction.AddKey("URI", PdfString("https://example.org/"));
  uri->GetDictionary().AddKey("A", uriAction);
  PdfObject *toPage3 = link({100, 600, 200, 620});
  toPage3->GetDictionary().AddKey("Dest", Dest(p3, "XYZ", {50, 400}));
  PdfObject *named = link({100, 500, 200, 520});
  named->GetDictionary().AddKey("Dest", PdfString("sec21"));
  PdfArray annots1;
  for (PdfObject *a : {uri, toPage3, named})
    annots1.push_back(a->Reference());
  doc.GetPage(0)->GetObject()->GetDictionary().AddKey("Annots", annots1);

  auto stamp = [&objects](std::initializer_list<double> rect, const char *colour, int flags) {
    PdfObject *look = objects.CreateObject("XObject");
    look->GetDictionary().AddKey("Subtype", PdfName("Form"));
    look->GetDictionary().AddKey("BBox", Numbers({0, 0, 10, 10}));
    look->GetStream()->Set((std::string(colour) + " rg 0 0 10 10 re f\n").c_str());
    PdfObject *annot = objects.CreateObject("Annot");
    annot->GetDictionary().AddKey("Subtype", PdfName("Stamp"));
    annot->GetDictionary().AddKey("Rect", Numbers(rect));
    annot->GetDictionary().AddKey("F", PdfVariant(static_cast<pdf_int64>(flags)));
    PdfDictionary ap;
    ap.AddKey("N", look->Reference());
    annot->GetDictionary().AddKey("AP", ap);
    return annot;
  };
  PdfArray annots2;
  annots2.push_back(stamp({300, 300, 400, 400}, "0 0 0", 4)->Reference());
  annots2.push_back(stamp({100, 100, 200, 200}, "1 0 0", 2)->Reference());
  doc.GetPage(1)->GetObject()->GetDictionary().AddKey("Annots", annots2);
  doc.Write(path.c_str());
}

struct OutlineEntry {
  std::string title;
  int sheet = -1; // 0-based sheet of the destination, -1 none
  double x = 0, y = 0;
  int depth = 0;
};

struct ReadOutput {
  std::vector<OutlineEntry> outline;
  std::vector<std::vector<PdfDictionary>> links; // per sheet
};

ReadOutput Read(const std::string &path) {
  ReadOutput out;
  PdfMemDocument doc;
  doc.Load(path.c_str());
  std::map<PdfReference, int> sheets;
  for (int i = 0; i < doc.GetPageCount(); ++i) {
    PdfObject *page = doc.GetPage(i)->GetObject();
    sheets[page->Reference()] = i;
    out.links.emplace_back();
    if (const PdfObject *annots = page->GetDictionary().GetKey("Annots"))
      for (const PdfObject &item : annots->GetArray()) {
        const PdfDictionary &annot =
            doc.GetObjects().GetObject(item.GetReference())->GetDictionary();
        if (annot.GetKey("Subtype")->GetName() == PdfName("Link"))
          out.links.back().push_back(annot);
      }
  }
  auto resolve = [&doc](const PdfObject *p) {
    return p && p->IsReference() ? doc.GetObjects().GetObject(p->GetReference()) : p;
  };
  std::function<void(const PdfObject *, int)> walk = [&](const PdfObject *item, int depth) {
    for (item = resolve(item); item; item = resolve(item->GetDictionary().GetKey("Next"))) {
      OutlineEntry entry;
      entry.title = resolve(item->GetDictionary().GetKey("Title"))->GetString().GetStringUtf8();
      entry.depth = depth;
      if (const PdfObject *dest = item->GetDictionary().GetKey("Dest")) {
        const PdfArray &array = dest->GetArray();
        entry.sheet = sheets.at(array[0].GetReference());
        entry.x = array[2].GetReal();
        entry.y = array[3].GetReal();
      }
      out.outline.push_back(entry);
      walk(item->GetDictionary().GetKey("First"), depth + 1);
    }
  };
  if (const PdfObject *root = resolve(doc.GetCatalog()->GetDictionary().GetKey("Outlines")))
    walk(root->GetDictionary().GetKey("First"), 0);
  return out;
}

class OutlinesAndLinks : public ::testing::Test {
protected:
  TempDir dir;
  MergerTool job;
  bool Run() {
    job.SetOutPDFPath(Wide(dir.file("out.pdf")).c_str());
    return job.StartMerge(0);
  }
};

TEST_F(OutlinesAndLinks, OneEntryPerListedFileWithItsOwnOutline) {
  MakeOutlinedPdf(dir.file("Book.pdf"));
  MakeNumberedPdf(dir.file("plain.pdf"), 1);
  job.SetLayout(1, 0, 0);
  job.AppendMergeSrc(0, Wide(dir.file("Book.pdf")).c_str(), 3, nullptr, nullptr);
  job.AppendMergeSrc(1, Wide(dir.file("plain.pdf")).c_str(), 1, nullptr, nullptr);
  job.AppendMergeSrc(2, Wide(dir.file("Book.pdf")).c_str(), 3, "2", nullptr);
  ASSERT_TRUE(Run());
  const ReadOutput out = Read(dir.file("out.pdf"));
  ASSERT_EQ(out.outline.size(), 8u);
  const std::vector<std::tuple<std::string, int, int>> expected = {
      {"Book", 0, 0},  {"Chapter 1", 0, 1}, {"Chapter 2", 2, 1},  {"Section 2.1", 1, 2},
      {"plain", 3, 0}, {"Book", 4, 0},      {"Chapter 2", -1, 1}, {"Section 2.1", 4, 2}};
  // The second listing placed page 2 only: Chapter 1 is gone, Chapter 2 is a plain title above
  // the section that was placed.
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(out.outline[i].title, std::get<0>(expected[i])) << i;
    EXPECT_EQ(out.outline[i].sheet, std::get<1>(expected[i])) << i;
    EXPECT_EQ(out.outline[i].depth, std::get<2>(expected[i])) << i;
  }
  // One per sheet at scale 1: source positions stay.
  EXPECT_DOUBLE_EQ(out.outline[3].x, 100);
  EXPECT_DOUBLE_EQ(out.outline[3].y, 500);
  int status = 0;
  RunCommand("qpdf --check '" + dir.file("out.pdf") + "' >/dev/null 2>&1", &status);
  EXPECT_EQ(status, 0);
}

TEST_F(OutlinesAndLinks, TitlesOutsideAsciiAndSwitchingOff) {
  MakeNumberedPdf(dir.file("Übersicht.pdf"), 1);
  job.SetLayout(1, 0, 0);
  job.AppendMergeSrc(0, (Wide(dir.path()) + L"/\u00DCbersicht.pdf").c_str(), 1, nullptr, nullptr);
  ASSERT_TRUE(Run());
  EXPECT_EQ(Read(dir.file("out.pdf")).outline.at(0).title, "Übersicht");
  // Written as UTF-16BE with its byte-order mark.
  const std::string qdf =
      RunCommand("qpdf --qdf --object-streams=disable '" + dir.file("out.pdf") + "' -");
  EXPECT_NE(qdf.find("/Title <feff00dc0062"), std::string::npos);

  MergerTool plain;
  plain.SetBookmarks(false);
  plain.SetLayout(1, 0, 0);
  plain.AppendMergeSrc(0, (Wide(dir.path()) + L"/\u00DCbersicht.pdf").c_str(), 1, nullptr, nullptr);
  plain.SetOutPDFPath(Wide(dir.file("plain.pdf")).c_str());
  ASSERT_TRUE(plain.StartMerge(0));
  EXPECT_TRUE(Read(dir.file("plain.pdf")).outline.empty());
}

TEST_F(OutlinesAndLinks, LinksLandInTheirCellAndPointAtSheets) {
  MakeOutlinedPdf(dir.file("book.pdf"));
  job.SetLayout(1, 1, 1); // two per sheet, Vertical: top half then bottom half, no turn
  job.AppendMergeSrc(0, Wide(dir.file("book.pdf")).c_str(), 3, nullptr, nullptr);
  ASSERT_TRUE(Run());
  const ReadOutput out = Read(dir.file("out.pdf"));
  ASSERT_EQ(out.links.size(), 2u);
  ASSERT_EQ(out.links[0].size(), 3u);
  // Page 1 is turned into the top half: (x, y) -> (s*y, 842 - s*x) with s = 421/595... the
  // link keeps a rectangle inside the top half.
  for (const PdfDictionary &link : out.links[0]) {
    const PdfArray &rect = link.GetKey("Rect")->GetArray();
    EXPECT_GE(rect[1].GetReal(), 421 - 1e-6);
    EXPECT_LE(rect[3].GetReal(), 842 + 1e-6);
    EXPECT_FALSE(link.HasKey("P"));
  }
  EXPECT_EQ(out.links[0][0].GetKey("A")->GetDictionary().GetKey("URI")->GetString().GetStringUtf8(),
            "https://example.org/");
  // The link to page 3 points at sheet 2 (0-based 1), the named one at sheet 1's bottom half.
  PdfMemDocument doc;
  doc.Load(dir.file("out.pdf").c_str());
  const PdfReference sheet2 = doc.GetPage(1)->GetObject()->Reference();
  const PdfReference sheet1 = doc.GetPage(0)->GetObject()->Reference();
  const PdfArray &toPage3 = out.links[0][1].GetKey("Dest")->GetArray();
  EXPECT_EQ(toPage3[0].GetReference(), sheet2);
  const PdfArray &named = out.links[0][2].GetKey("Dest")->GetArray();
  EXPECT_EQ(named[0].GetReference(), sheet1);
  EXPECT_LT(named[3].GetReal(), 421); // inside the bottom half
  EXPECT_TRUE(out.links[1].empty());
}

TEST_F(OutlinesAndLinks, LinksToPagesLeftOutAreDroppedWithANotice) {
  MakeOutlinedPdf(dir.file("book.pdf"));
  job.SetLayout(1, 0, 0);
  job.AppendMergeSrc(0, Wide(dir.file("book.pdf")).c_str(), 3, "1", nullptr);
  ASSERT_TRUE(Run());
  const ReadOutput out = Read(dir.file("out.pdf"));
  ASSERT_EQ(out.links.size(), 1u);
  EXPECT_EQ(out.links[0].size(), 1u); // only the address is left
  ASSERT_EQ(job.GetNotices().size(), 1u);
  EXPECT_EQ(job.GetNotices()[0].strText,
            L"2 links into pages that are not selected were left out (on page 1)");
}

TEST_F(OutlinesAndLinks, StampsStayVisibleAndHiddenOnesStayHidden) {
  MakeOutlinedPdf(dir.file("book.pdf"));
  job.SetLayout(1, 0, 0);
  job.AppendMergeSrc(0, Wide(dir.file("book.pdf")).c_str(), 3, "2", nullptr);
  ASSERT_TRUE(Run());
  const RenderedPage page = RenderPage(dir.file("out.pdf"), 1, 36);
  // The black stamp covers (300..400, 300..400) of an A4 page drawn at scale 1.
  EXPECT_TRUE(Near(page.At(350.0 / 595, 1 - 350.0 / 842), 0x000000));
  // The hidden red stamp is not drawn: the page's own colour shows.
  EXPECT_TRUE(Near(page.At(150.0 / 595, 1 - 150.0 / 842), PageColour(1)));
}

} // namespace
