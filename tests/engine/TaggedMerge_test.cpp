// What a merged file keeps of its sources' structure, as other readers see it: poppler's tags
// and attachments, pypdf's page labels and language, and a check that every structure key of
// the output leads back to the element that holds its content.
#include "MergeTestSupport.h"
#include "OutputChecks.h"
#include "ReferenceReaders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

const std::string kScript = "/usr/bin/python3 '" TAGGED_PDF_SCRIPT "' ";
const std::string kAmc = "/usr/share/doc/auto-multiple-choice/auto-multiple-choice.en.pdf";

// The texts of poppler's structure tree, in order, joined by "|".
std::string StructureTexts(const std::string &pdf) {
  return RunCommand("pdfinfo -struct-text '" + pdf +
                    "' 2>/dev/null | grep -o '\"[^\"]*\"' | tr -d '\"' | paste -sd '|'");
}

// pypdf's page labels and the catalog's language: "['i', 'ii'] nl-NL".
std::string LabelsAndLanguage(const std::string &pdf) {
  return RunCommand("/usr/bin/python3 -c \"import sys; from pypdf import PdfReader; "
                    "r = PdfReader(sys.argv[1]); print(r.page_labels, "
                    "r.trailer['/Root'].get('/Lang'))\" '" +
                    pdf + "'");
}

struct Listed {
  const char *file; // a made source, or a path
  const char *range;
};

struct TaggedCase {
  const char *name;
  std::vector<Listed> sources;
  int nup;
  const char *texts; // poppler's structure texts
  bool tagged;
  const char *labels;
  const char *files; // pdfdetach -list, names only, joined by "|"
  const char *notices;
};
// Names the case in CTest's list, which would otherwise show its bytes.
inline void PrintTo(const TaggedCase &c, std::ostream *out) { *out << c.name; }

const TaggedCase kCases[] = {
    {"AllFourOnePerSheet",
     {{"a", nullptr}, {"b", nullptr}, {"c", nullptr}, {"d", nullptr}},
     0,
     "Heading Alpha|Alpha|Heading Beta|Beta|and more|Heading Gamma|Gamma|Heading One|One|and "
     "more|Heading Two|Two|Heading Delta|Delta",
     false,
     "['i', 'ii', 'A-1', '4', '5', 'A', '7'] None",
     "x (2).txt|x.txt|y.txt",
     "2:0:it has no tags: its pages are carried as untagged content\n"},
    // A page placed twice is tagged twice; a paragraph whose second page is left out keeps
    // what it has on the first.
    {"SelectedAndRepeated",
     {{"a", "3,2,2"}, {"d", nullptr}, {"a", "2"}},
     0,
     "Heading Beta|Beta|and more|Heading Gamma|Gamma|Heading Beta|Beta|Heading Delta|Delta|"
     "Heading Beta|Beta",
     true,
     "['A-1', 'ii', 'ii', '4', 'ii'] nl-NL",
     "x.txt|y.txt",
     ""},
    {"TwoPerSheet",
     {{"a", nullptr}, {"b", nullptr}},
     1,
     "Heading Alpha|Alpha|Heading Beta|Beta|and more|Heading Gamma|Gamma|Heading One|One|and "
     "more|Heading Two|Two",
     true,
     "['1', '2', '3'] None",
     "x (2).txt|x.txt|y.txt",
     "0:0:its page labels are not kept on sheets of several pages\n"},
    // The first paragraph of b runs onto page 2: what it has there stays with it.
    {"FourPerSheetWithAnUntagged",
     {{"d", nullptr}, {"c", nullptr}, {"b", "2"}},
     2,
     "Heading Delta|Delta|and more|Heading Two|Two",
     false,
     "['1'] None",
     "x.txt",
     "1:0:its page labels are not kept on sheets of several pages\n"
     "1:0:it has no tags: its pages are carried as untagged content\n"},
    // A tree that holds itself and lists a section twice, and a content number out of range.
    {"HostileTree",
     {{"h", nullptr}},
     0,
     "Heading Alpha|Alpha|and more|Heading Beta|Beta",
     true,
     "['1', '2'] None",
     "",
     "0:1:a tag names marked content out of range and was left out\n"},
    // Installed documentation: labels i to v, then 1, 2...; the tagged file between takes its
    // place in the output as its label.
    {"InstalledManualLabels",
     {{kAmc.c_str(), "1-3,9"}, {"d", nullptr}, {kAmc.c_str(), "10"}},
     0,
     "Heading Delta|Delta",
     false,
     "['i', 'ii', 'iii', '4', '5', '5'] None",
     "",
     "0:0:it has no tags: its pages are carried as untagged content\n"
     "2:0:it has no tags: its pages are carried as untagged content\n"},
};

class TaggedMerge : public ::testing::TestWithParam<TaggedCase> {
protected:
  static void SetUpTestSuite() {
    dir = new TempDir();
    RunCommand(kScript + "'" + dir->file("a.pdf") +
               "' --lang nl-NL --labels 0:r,2:D:A- --files x.txt,y.txt");
    RunCommand(kScript + "'" + dir->file("b.pdf") +
               "' --lang fr-FR --words One,Two --files x.txt --role Heading=H2");
    RunCommand(kScript + "'" + dir->file("c.pdf") + "' --untagged --words Plain --labels 0:A");
    RunCommand(kScript + "'" + dir->file("d.pdf") + "' --lang nl-NL --words Delta");
    RunCommand(kScript + "'" + dir->file("h.pdf") + "' --hostile --words Alpha,Beta");
  }
  static void TearDownTestSuite() { delete dir; }
  static TempDir *dir;
};
TempDir *TaggedMerge::dir = nullptr;

TEST_P(TaggedMerge, KeepsWhatEachSourceHad) {
  const TaggedCase &c = GetParam();
  if (std::string(c.name) == "InstalledManualLabels" && !FileExists(kAmc))
    GTEST_SKIP() << kAmc << " is not installed";
  std::vector<MergeInput> inputs;
  for (const Listed &source : c.sources)
    inputs.push_back(
        {source.file[0] == '/' ? source.file : dir->file(source.file) + ".pdf", source.range});
  MergerTool job;
  const std::string out = dir->file(std::string(c.name) + ".pdf");
  ASSERT_TRUE(MergeOntoA4(job, out, inputs, c.nup));

  EXPECT_EQ(OutputProblem(out), "");
  EXPECT_EQ(RunCommand(kScript + "--check '" + out + "'"), "\n");
  EXPECT_EQ(StructureTexts(out), std::string(c.texts) + "\n");
  EXPECT_NE(RunCommand("pdfinfo '" + out + "'")
                .find(c.tagged ? "Tagged:          yes" : "Tagged:          no"),
            std::string::npos);
  EXPECT_EQ(LabelsAndLanguage(out), std::string(c.labels) + "\n");
  EXPECT_EQ(RunCommand("pdfdetach -list '" + out + "' | sed -n 's/^[0-9]*: //p' | paste -sd '|'"),
            std::string(c.files) + "\n");
  std::string notices;
  for (const MergeSourceNote &note : job.GetNotices())
    if (note.strText.find(L"tag") != std::wstring::npos ||
        note.strText.find(L"labels") != std::wstring::npos)
      notices += std::to_string(note.nSource) + ":" + std::to_string(note.nPage) + ":" +
                 std::string(note.strText.begin(), note.strText.end()) + "\n";
  EXPECT_EQ(notices, c.notices);
}

INSTANTIATE_TEST_SUITE_P(Cases, TaggedMerge, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
