// Forms in merged files as their users meet them: fields that can still be filled, each file's
// fields independent of the others', and flat drawings where a field cannot stay a field.
#include "FormPdf.h"
#include "HostilePdf.h"
#include "MergeTestSupport.h"
#include "OutputChecks.h"
#include "PdfMaker.h"
#include "ReferenceReaders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// qpdf's view of the fields: "full name|type|value|page|rectangle" per widget.
std::string Fields(const std::string &pdf) {
  return RunCommand("/usr/bin/python3 '" FORM_FIELDS_SCRIPT "' list '" + pdf + "'");
}

class FormFields : public ::testing::Test {
protected:
  TempDir dir;
  MergerTool job;

  void SetUp() override { WriteFileBytes(dir.file("form.pdf"), MakeFormPdf("form")); }
  // form.pdf listed once per range, merged into out.pdf and read back by other readers.
  std::string Merge(int nup, const std::vector<const char *> &ranges) {
    std::vector<MergeInput> inputs;
    for (const char *range : ranges)
      inputs.push_back({dir.file("form.pdf"), range});
    EXPECT_TRUE(MergeOntoA4(job, dir.file("out.pdf"), inputs, nup));
    EXPECT_EQ(OutputProblem(dir.file("out.pdf")), "");
    return dir.file("out.pdf");
  }
};

TEST_F(FormFields, FieldsStayFillableAndEachFileKeepsItsOwn) {
  // The first listing takes pages 1 and 2 only: "later" (page 3) goes; signatures never stay.
  const std::string out = Merge(0, {"1-2", nullptr});
  EXPECT_EQ(Fields(out), "name|/Tx|u:Ann|1|100 600 300 640\n"
                         "agree|/Btn|/Yes|1|100 500 140 540\n"
                         "choice|/Btn|/B|1|100 400 130 430\n"
                         "choice|/Btn|/B|2|100 400 130 430\n"
                         "color|/Ch|u:Green|2|100 300 300 330\n"
                         "name_2|/Tx|u:Ann|3|100 600 300 640\n"
                         "agree_2|/Btn|/Yes|3|100 500 140 540\n"
                         "choice_2|/Btn|/B|3|100 400 130 430\n"
                         "choice_2|/Btn|/B|4|100 400 130 430\n"
                         "color_2|/Ch|u:Green|4|100 300 300 330\n"
                         "later|/Tx|u:Later|5|100 600 300 640\n");
  const std::string form = RunCommand("qpdf --json --json-key=qpdf '" + out +
                                      "' | grep -o '\"/SigFlags\\|\"/XFA\\|\"/CO\"'");
  EXPECT_EQ(form, "\"/CO\"\n");
  // The appearances show where the fields are; the text field's block at (100..300, 600..640)
  // of 842 is drawn once, by the widget, and the signature is drawn flat.
  const RenderedPage first = RenderPage(out, 1, 40);
  EXPECT_TRUE(Near(first.At(200.0 / 595, 1 - 620.0 / 842), kNameColour));
  EXPECT_TRUE(Near(first.At(120.0 / 595, 1 - 520.0 / 842), kAgreeColour));
  EXPECT_TRUE(Near(RenderPage(out, 2, 40).At(200.0 / 595, 1 - 230.0 / 842), kSignatureColour));

  // Filling one field in another program changes that field only.
  RunCommand("/usr/bin/python3 '" FORM_FIELDS_SCRIPT "' fill '" + out + "' '" +
             dir.file("filled.pdf") + "' name_2=Bob");
  const std::string values = RunCommand("/usr/bin/python3 '" FORM_FIELDS_SCRIPT "' values '" +
                                        dir.file("filled.pdf") + "'");
  EXPECT_NE(values.find("name = Ann\n"), std::string::npos) << values;
  EXPECT_NE(values.find("name_2 = Bob\n"), std::string::npos) << values;
}

TEST_F(FormFields, TwoPerSheetAndFlattenDrawFieldsFlat) {
  for (bool bFlatten : {false, true}) {
    job = MergerTool();
    job.SetFlattenForms(bFlatten);
    const std::string out = Merge(bFlatten ? 0 : 1, {nullptr});
    EXPECT_EQ(Fields(out), "") << bFlatten;
    // Flat, the appearances are part of the sheet.
    const RenderedPage sheet = RenderPage(out, 1, 40);
    bool orange = false;
    for (double x = 0.02; x < 1; x += 0.01)
      for (double y = 0.02; y < 1; y += 0.01)
        orange = orange || Near(sheet.At(x, y), kNameColour, 30);
    EXPECT_TRUE(orange) << bFlatten;
  }
}

TEST_F(FormFields, WidgetsOfTurnedPagesTurnWithThem) {
  WriteFileBytes(dir.file("form.pdf"), MakeFormPdf("form", FormPdfOptions{90}));
  const std::string out = Merge(0, {"1"});
  // Shown turned clockwise, then turned again to fit A4: the page is upside down, the text
  // field's 200 x 40 block with it, and readers that draw the field anew are told so.
  const std::string fields = Fields(out);
  EXPECT_EQ(fields.substr(0, fields.find('\n')), "name|/Tx|u:Ann|1|295 202 495 242");
  EXPECT_NE(RunCommand("qpdf --qdf --object-streams=disable '" + out + "' - | grep -a -A1 '/MK'")
                .find("/R 180"),
            std::string::npos);
  const RenderedPage sheet = RenderPage(out, 1, 40);
  EXPECT_TRUE(Near(sheet.At(395.0 / 595, 1 - 222.0 / 842), kNameColour));
}

// Fields as odd writers make them arrive as one working field each, and flat fields show what
// readers show: values without appearances, and the button the group's value picks.
TEST_F(FormFields, SharedAndListedWidgetsStayFieldsAndFlatFieldsShowTheirValues) {
  struct Case {
    FormPdfOptions options;
    int nup;
    bool flatten;
    std::vector<std::string> fields; // lines of Fields() expected among the output's
    std::string text;                // on sheet 1
    double x, y;                     // a point of sheet 1 (fractions) and its colour
    unsigned colour;
  };
  FormPdfOptions shared, listed, need, stale;
  shared.sharedWidget = listed.kidsListed = need.needAppearances = true;
  stale.radioValue = "A";
  const Case cases[] = {
      {shared,
       0,
       false,
       {"later|/Tx|u:Later|1|100 600 300 640", "later|/Tx|u:Later|3|100 600 300 640"},
       "",
       0,
       0,
       0},
      {listed,
       0,
       false,
       {"choice|/Btn|/B|1|100 400 130 430", "choice|/Btn|/B|2|100 400 130 430"},
       "",
       0,
       0,
       0},
      {need, 0, true, {}, "Ann", 0, 0, 0},
      {need, 1, false, {}, "Ann", 0, 0, 0},
      {stale, 0, true, {}, "", 115.0 / 595, 1 - 415.0 / 842, 0x0000FF},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE("case " + std::to_string(&c - cases));
    WriteFileBytes(dir.file("form.pdf"), MakeFormPdf("form", c.options));
    job = MergerTool();
    job.SetFlattenForms(c.flatten);
    const std::string out = Merge(c.nup, {nullptr});
    const std::string fields = Fields(out);
    for (const std::string &line : c.fields)
      EXPECT_NE(fields.find(line + "\n"), std::string::npos) << line << "\n" << fields;
    EXPECT_NE(PageText(out, 1).find(c.text), std::string::npos) << c.text;
    if (c.colour != 0) {
      EXPECT_TRUE(Near(RenderPage(out, 1, 40).At(c.x, c.y), c.colour));
    }
  }
}

// Renaming fields that all share one name takes about one try each: the merge of 100,000 such
// fields ends well within a minute of processor time (in a child that is stopped past it).
TEST(ManyFields, OneNameIsRenamedInLinearTime) {
  TempDir dir;
  WriteFileBytes(dir.file("fields.pdf"), FieldsOneName());
  const pid_t child = fork();
  if (child == 0) {
    const rlimit cpu{60, 60};
    setrlimit(RLIMIT_CPU, &cpu);
    MergerTool job;
    job.AppendMergeSrc(0, Wide(dir.file("fields.pdf")).c_str(), 3, nullptr, nullptr);
    job.SetOutPDFPath(Wide(dir.file("out.pdf")).c_str());
    _exit(job.StartMerge(0) ? 0 : 1);
  }
  int status = -1;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(RunCommand("qpdf --json --json-key=acroform '" + dir.file("out.pdf") +
                       "' | grep -c '\"fullname\": \"a_30000\"'"),
            "1\n");
}

TEST(DocumentInformation, MetadataAgreesWithTheInformationDictionary) {
  TempDir dir;
  MakeNumberedPdf(dir.file("a.pdf"), 1);
  MergerTool job;
  ASSERT_TRUE(MergeOntoA4(job, dir.file("out.pdf"), {{dir.file("a.pdf")}}));
  const std::string meta = RunCommand("pdfinfo -meta '" + dir.file("out.pdf") + "'");
  EXPECT_NE(meta.find("<pdf:Producer>Vantorel PDF merger"), std::string::npos) << meta;
  const std::string info = RunCommand("pdfinfo -isodates '" + dir.file("out.pdf") + "'");
  const size_t at = info.find("CreationDate:");
  ASSERT_NE(at, std::string::npos);
  const std::string date = info.substr(at + 13, info.find('\n', at) - at - 13);
  const std::string trimmed = date.substr(date.find_first_not_of(' '));
  EXPECT_NE(meta.find("<xmp:CreateDate>" + trimmed.substr(0, 19)), std::string::npos)
      << trimmed << meta;
}

} // namespace
