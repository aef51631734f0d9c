// The preview's merge against Build's: the same job, so the same sheets, into a folder of its
// own that goes afterwards, without touching the main window's rows.
#include "PreviewMerge.h"

#include "MergeJob.h"
#include "MergeWorker.h"
#include "MergerTool.h"
#include "PdfMaker.h"
#include "job/JobTestSupport.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace {

class PreviewMergeTest : public ::testing::Test {
protected:
  void SetUp() override {
    MakeNumberedPdf(dir.file("five.pdf"), 5);
    MakeNumberedPdf(dir.file("two.pdf"), 2);
  }
  // Runs a preview of inputs to its end; the outputs it wrote.
  std::vector<std::wstring> RunPreview(PreviewMerge &preview) {
    EXPECT_TRUE(preview.Start());
    EXPECT_TRUE(sink.WaitFinished());
    return preview.Outputs();
  }
  TempDir dir;
  RecordingSink sink;
};

TEST_F(PreviewMergeTest, WritesTheSheetsBuildWritesAndRemovesThem) {
  PreviewInputs inputs;
  inputs.rows = {MakeRow(dir.file("five.pdf"), 5), MakeRow(dir.file("two.pdf"), 2, L"2")};
  inputs.settings = MakeSettings(dir.file("out"), 1, 1); // two per sheet
  inputs.settings.bOpenPwd = 1;                          // protection changes no sheet
  inputs.settings.strOpenPwd = L"secret";
  const std::shared_ptr<std::wstring> rowOutput = inputs.rows[0].pszOutPath;

  PreviewMerge preview(&sink, inputs, W(dir.file("tmp")));
  const std::vector<std::wstring> outputs = RunPreview(preview);
  ASSERT_EQ(1u, outputs.size());
  EXPECT_EQ(0u, outputs[0].rfind(preview.Folder(), 0));
  EXPECT_EQ(0u, preview.Folder().rfind(W(dir.file("tmp/preview-")), 0));
  // Opens without a password: six pages, two per sheet.
  EXPECT_EQ(3, MergerTool::GetPdfInfo(outputs[0].c_str()));
  EXPECT_TRUE(rowOutput->empty()); // the main window's row was not written

  // Build's own run of the same rows and settings.
  auto job = std::make_shared<MergeJob>(nullptr, inputs.rows, inputs.settings);
  ASSERT_EQ(0, RunMergeWorker(*job));
  EXPECT_EQ(3, MergerTool::ProbeSource(W(dir.file("out/five_two_2IN1.pdf")).c_str(), "secret",
                                       nullptr, nullptr));

  const std::string folder(preview.Folder().begin(), preview.Folder().end());
  ASSERT_TRUE(std::filesystem::exists(folder));
  preview.RemoveFiles();
  EXPECT_FALSE(std::filesystem::exists(folder));
  EXPECT_TRUE(preview.Folder().empty());
}

// A crash leaves its preview folder behind; the next preview removes it, but not the folder of
// a preview still open (in this or another running program).
TEST_F(PreviewMergeTest, APreviewRemovesTheFoldersCrashesLeft) {
  PreviewInputs inputs;
  inputs.rows = {MakeRow(dir.file("two.pdf"), 2)};
  inputs.settings = MakeSettings(dir.file("out"), 0, 0);
  PreviewMerge open(&sink, inputs, W(dir.file("tmp")));
  RunPreview(open);
  const std::filesystem::path left = dir.file("tmp/preview-Ab12Cd");
  std::filesystem::create_directories(left);
  std::filesystem::copy_file(dir.file("two.pdf"), left / "preview.pdf");
  const auto hourAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
  std::filesystem::last_write_time(left, hourAgo);
  std::filesystem::last_write_time(std::string(open.Folder().begin(), open.Folder().end()),
                                   hourAgo);

  RecordingSink second;
  PreviewMerge next(&second, inputs, W(dir.file("tmp")));
  EXPECT_TRUE(next.Start());
  EXPECT_TRUE(second.WaitFinished());
  EXPECT_FALSE(std::filesystem::exists(left));
  EXPECT_EQ(1u, open.Outputs().size());
  EXPECT_EQ(2, MergerTool::GetPdfInfo(open.Outputs()[0].c_str()));
}

TEST_F(PreviewMergeTest, WithTheMergeSwitchOffEachRowHasItsFile) {
  PreviewInputs inputs;
  inputs.rows = {MakeRow(dir.file("five.pdf"), 5),
                 MakeRow(dir.file("bad.pdf"), 0, nullptr, STATUS_LOAD_FAILED),
                 MakeRow(dir.file("two.pdf"), 2)};
  inputs.settings = MakeSettings(dir.file("out"), 0, 2); // four per sheet, one file per row
  std::string folder;
  {
    PreviewMerge preview(&sink, inputs, W(dir.file("tmp/")));
    const std::vector<std::wstring> outputs = RunPreview(preview);
    ASSERT_EQ(2u, outputs.size());
    EXPECT_EQ(2, MergerTool::GetPdfInfo(outputs[0].c_str()));
    EXPECT_EQ(1, MergerTool::GetPdfInfo(outputs[1].c_str()));
    folder.assign(preview.Folder().begin(), preview.Folder().end());
  }
  EXPECT_FALSE(std::filesystem::exists(folder)); // gone with the object
}

TEST_F(PreviewMergeTest, ACancelledPreviewWritesNothing) {
  MakeNumberedPdf(dir.file("long.pdf"), 400);
  PreviewInputs inputs;
  for (int i = 0; i < 5; ++i)
    inputs.rows.push_back(MakeRow(dir.file("long.pdf"), 400));
  inputs.settings = MakeSettings(dir.file("out"), 1, 1);
  PreviewMerge preview(&sink, inputs, W(dir.file("tmp")));
  sink.onNotice = [&](const MergeNotice &) { preview.Cancel(); };
  EXPECT_TRUE(preview.Outputs().empty()); // not started yet
  EXPECT_TRUE(RunPreview(preview).empty());
}

TEST(PreviewInputs, SameSheetsOnlyWhenTheSheetsWouldBeTheSame) {
  PreviewInputs a;
  a.rows = {MakeRow("/x/a.pdf", 5), MakeRow("/x/b.pdf", 3, L"1-2")};
  a.settings = MakeSettings("/out", 1, 1);
  PreviewInputs b = a;
  b.rows[1].pszPageRange = std::make_shared<std::wstring>(L"1-2"); // another buffer, same text
  b.settings.strOutputFileName = L"other";
  b.settings.bOpenPwd = 1;
  EXPECT_TRUE(MakeSameSheets(a, b));

  const std::vector<std::function<void(PreviewInputs &)>> changes = {
      [](PreviewInputs &p) { p.settings.nNUp = 2; },
      [](PreviewInputs &p) { p.settings.nPaperSize = 3; },
      [](PreviewInputs &p) { p.settings.nOrientation = 2; },
      [](PreviewInputs &p) { p.settings.bMergeOn = 0; },
      [](PreviewInputs &p) { *p.rows[1].pszPageRange = L"3"; },
      [](PreviewInputs &p) { std::swap(p.rows[0], p.rows[1]); },
      [](PreviewInputs &p) { p.rows.pop_back(); },
      [](PreviewInputs &p) { p.rows[0].strPassword = "pw"; },
  };
  for (size_t i = 0; i < changes.size(); ++i) {
    PreviewInputs c = a;
    c.rows[1].pszPageRange = std::make_shared<std::wstring>(*a.rows[1].pszPageRange);
    changes[i](c);
    EXPECT_FALSE(MakeSameSheets(a, c)) << i;
  }
}

} // namespace
