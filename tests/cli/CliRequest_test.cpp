// The request the command line hands the engine: passwords as typed, each input's pages, the
// file as it was probed; a --pages text that does not read is refused with its item and
// character named.
#include "CliRequest.h"

#include "AnsiText.h"
#include "PdfMaker.h"
#include "PdfReadBack.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

class CliRequestTest : public ::testing::Test {
protected:
  void SetUp() override { MakeNumberedPdf(dir.file("a.pdf"), 10); }
  // Parses the arguments after "-o out.pdf a.pdf" and probes a.pdf.
  bool Make(std::vector<std::string> args) {
    args.insert(args.begin(), {"-o", dir.file("out.pdf"), dir.file("a.pdf")});
    std::string parseError;
    options = CliOptions();
    request = MergeRequest();
    EXPECT_TRUE(ParseCliOptions(args, options, parseError)) << parseError;
    probes = {ProbeInput({dir.file("a.pdf"), nullptr})};
    return MakeCliRequest(options, probes, request, error);
  }
  TempDir dir;
  CliOptions options;
  std::vector<ProbeResult> probes;
  MergeRequest request;
  std::string error;
};

TEST_F(CliRequestTest, PagesOrWhereTheTextStopsReading) {
  const struct {
    const char *pages;
    std::vector<int32_t> selected;
    const char *error; // after "PATH: --pages \"TEXT\": "
  } cases[] = {
      {"9-7, 2", {9, 8, 7, 2}, ""},
      {"8-", {8, 9, 10}, ""},
      {"-2", {1, 2}, ""},
      {"Even", {2, 4, 6, 8, 10}, ""},
      {"1, 12", {}, "item 2, character 4: page 12 is beyond the last page (10)"},
      {"2-x", {}, "item 1, character 3: 'x' is not a digit, '-' or ','"},
      {"3, 0-2", {}, "item 2, character 4: pages count from 1"},
  };
  for (const auto &c : cases) {
    const bool ok = Make({"--pages", c.pages});
    EXPECT_EQ(ok, *c.error == 0) << c.pages << ": " << error;
    if (ok) {
      EXPECT_EQ(request.vecSources.at(0).vecPages, c.selected) << c.pages;
    } else {
      EXPECT_EQ(error, dir.file("a.pdf") + ": --pages \"" + c.pages + "\": " + c.error);
    }
  }
  EXPECT_FALSE(Make({"--pages", ""}));
  EXPECT_EQ(error, "no page selected: nothing to merge");
}

TEST_F(CliRequestTest, PasswordsAndTheProbedFileReachTheEngine) {
  ASSERT_TRUE(Make({"--open-password", "\xc3\xa9t\xc3\xa9", "--permission-password",
                    "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e", "--allow", "print"}));
  MergerTool tool;
  ASSERT_TRUE(tool.StartMerge(request, 0)) << WideToUtf8(tool.GetFailureText());
  EXPECT_EQ(ReadBack(dir.file("out.pdf"), "\xc3\xa9t\xc3\xa9").sheets.size(), 10u);
  const std::string owner = RunCommand("qpdf --show-encryption --password='\xe6\x97\xa5\xe6\x9c\xac"
                                       "\xe8\xaa\x9e' '" +
                                       dir.file("out.pdf") + "' 2>&1");
  EXPECT_NE(owner.find("Supplied password is owner password"), std::string::npos) << owner;
  // a.pdf replaced after it was probed: refused, and the output of before stays.
  MakeNumberedPdf(dir.file("a.pdf"), 11);
  EXPECT_FALSE(tool.StartMerge(request, 0));
  EXPECT_EQ(tool.GetFailureCode(), MERGE_FAILURE_SOURCE);
  EXPECT_NE(tool.GetFailureText().find(L"a.pdf: changed since it was read"), std::wstring::npos);
}

} // namespace
