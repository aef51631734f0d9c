// The command-line program as scripts use it: exit codes, messages, and what is left on disk.
#include "PdfMaker.h"
#include "PdfReadBack.h"
#include "PictureMaker.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

class VantorelMerge : public ::testing::Test {
protected:
  TempDir dir;
  int status = 0;

  // Runs the program with arguments already quoted for the shell; standard error is kept too.
  std::string Run(const std::string &args) {
    return RunCommand(std::string(VANTOREL_MERGE) + " " + args + " 2>&1", &status);
  }
  std::string Q(const std::string &name) const { return "'" + dir.file(name) + "'"; }
};

TEST_F(VantorelMerge, HelpAndUsageErrors) {
  EXPECT_NE(Run("--help").find("usage: vantorel-merge"), std::string::npos);
  EXPECT_EQ(status, 0);
  const std::string out = Run("--nup 3 -o x.pdf a.pdf");
  EXPECT_EQ(status, 2);
  EXPECT_EQ(out.rfind("vantorel-merge: --nup takes 1, 2 or 4\n", 0), 0u);
  EXPECT_NE(out.find("usage:"), std::string::npos);
}

TEST_F(VantorelMerge, InfoPrintsPagesOrTheReason) {
  MakeNumberedPdf(dir.file("a.pdf"), 3);
  WriteFileBytes(dir.file("b.pdf"), "junk");
  const std::string out = Run("--info " + Q("a.pdf") + " " + Q("b.pdf") + " " + Q("c.pdf"));
  EXPECT_EQ(status, 1);
  EXPECT_NE(out.find(dir.file("a.pdf") + ": 3 pages\n"), std::string::npos);
  EXPECT_NE(out.find(dir.file("b.pdf") + ": error: not a PDF"), std::string::npos);
  EXPECT_NE(out.find(dir.file("c.pdf") + ": error: no such file"), std::string::npos);
  Run("--info " + Q("a.pdf"));
  EXPECT_EQ(status, 0);
}

TEST_F(VantorelMerge, MergesWithRangesAndLayout) {
  MakeNumberedPdf(dir.file("a.pdf"), 5);
  MakeNumberedPdf(dir.file("b.pdf"), 2, 842, 595);
  const std::string out = Run("--paper A5 --nup 2 --progress -o " + Q("out.pdf") + " " +
                              Q("a.pdf") + " --pages Odd " + Q("b.pdf"));
  ASSERT_EQ(status, 0) << out;
  EXPECT_NE(out.find("progress 5\n"), std::string::npos);
  EXPECT_NE(out.find("progress 100\n"), std::string::npos);
  const PdfReadBack pdf = ReadBack(dir.file("out.pdf"));
  ASSERT_EQ(pdf.sheets.size(), 3u); // five pages, two per sheet
  EXPECT_DOUBLE_EQ(pdf.sheets[0].width, 420);
  EXPECT_DOUBLE_EQ(pdf.sheets[0].height, 595);
  EXPECT_EQ(pdf.sheets[0].rotate, 270);
}

TEST_F(VantorelMerge, BadInputsWriteNothing) {
  MakeNumberedPdf(dir.file("a.pdf"), 1);
  WriteFileBytes(dir.file("notes.txt"), "text");
  struct Case {
    std::string input, reason;
  } cases[] = {
      {"missing.pdf", "no such file"}, {"notes.txt", "unsupported file type"}, {"", "is a folder"}};
  for (const Case &c : cases) {
    const std::string out = Run("-o " + Q("out.pdf") + " " + Q("a.pdf") + " " + Q(c.input));
    EXPECT_EQ(status, 1) << c.input;
    EXPECT_NE(out.find(dir.file(c.input) + ": " + c.reason), std::string::npos) << out;
    EXPECT_FALSE(FileExists(dir.file("out.pdf")));
  }
}

TEST_F(VantorelMerge, PicturesAndProtection) {
  MakeNumberedPdf(dir.file("a.pdf"), 1);
  MakePicture(dir.file("p.PNG"), "png", 80, 60, 0x00A000);
  MakePicture(dir.file("q.jpeg"), "jpeg", 60, 80, 0x00A000);
  const std::string inputs = " " + Q("a.pdf") + " " + Q("p.PNG") + " " + Q("q.jpeg");
  std::string out = Run("--open-password 'S\xc3\xa9same' --allow print --encryption rc4-40 -o " +
                        Q("rc4.pdf") + inputs);
  ASSERT_EQ(status, 0) << out;
  EXPECT_FALSE(ReadBack(dir.file("rc4.pdf")).loaded);
  // RC4 passwords are PDFDocEncoding: one byte 0xE9 for the accented e.
  EXPECT_EQ(ReadBack(dir.file("rc4.pdf"), "S\xe9same").sheets.size(), 3u);

  out = Run("--open-password 'S\xc3\xa9same' --permission-password owner --allow print,copy -o " +
            Q("aes.pdf") + inputs);
  ASSERT_EQ(status, 0) << out;
  // AES-256 unless asked otherwise; its passwords are UTF-8.
  int checked = 0;
  RunCommand("qpdf --check --password='S\xc3\xa9same' " + Q("aes.pdf") + " >/dev/null 2>&1",
             &checked);
  EXPECT_EQ(checked, 0);
  const std::string shown = RunCommand("qpdf --show-encryption --password=owner " + Q("aes.pdf"));
  EXPECT_NE(shown.find("R = 6"), std::string::npos);
  EXPECT_NE(shown.find("print high resolution: allowed"), std::string::npos);
  EXPECT_NE(shown.find("extract for any purpose: allowed"), std::string::npos);
  EXPECT_NE(shown.find("modify anything: not allowed"), std::string::npos);
}

TEST_F(VantorelMerge, DamagedPictureIsAnError) {
  MakePicture(dir.file("whole.jpg"), "jpeg", 100, 100, 0x00A000);
  const std::string jpeg = ReadFileBytes(dir.file("whole.jpg"));
  WriteFileBytes(dir.file("cut.jpg"), jpeg.substr(0, jpeg.size() / 2));
  const std::string out = Run("-o " + Q("out.pdf") + " " + Q("whole.jpg") + " " + Q("cut.jpg"));
  EXPECT_EQ(status, 1);
  EXPECT_NE(out.find(dir.file("cut.jpg") + ": not a readable picture"), std::string::npos);
  EXPECT_FALSE(FileExists(dir.file("out.pdf")));
}

TEST_F(VantorelMerge, OutputThatIsAnInputIsRefused) {
  MakeNumberedPdf(dir.file("a.pdf"), 1);
  const std::string before = ReadFileBytes(dir.file("a.pdf"));
  const std::string out = Run("-o " + Q("./a.pdf") + " " + Q("a.pdf"));
  EXPECT_EQ(status, 1);
  EXPECT_NE(out.find("is also the output file"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(dir.file("a.pdf")), before);
}

TEST_F(VantorelMerge, InterruptCancelsWithoutOutput) {
  MakeNumberedPdf(dir.file("big.pdf"), 400);
  std::vector<std::string> args = {VANTOREL_MERGE, "--progress", "-o", dir.file("out.pdf")};
  for (int i = 0; i < 40; ++i)
    args.push_back(dir.file("big.pdf"));
  std::vector<char *> argv;
  for (std::string &arg : args)
    argv.push_back(&arg[0]);
  argv.push_back(nullptr);
  WriteFileBytes(dir.file("out.pdf"), "keep me");

  // The program reports its progress into the smallest pipe there is and the test reads only
  // the first report before the interrupt: once the pipe is full the program waits in its next
  // report, so its run cannot end before the interrupt has arrived.
  int report[2];
  ASSERT_EQ(pipe2(report, O_CLOEXEC), 0);
  fcntl(report[1], F_SETPIPE_SZ, 4096);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    dup2(report[1], STDERR_FILENO);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(report[1]);
  FILE *reports = fdopen(report[0], "r");
  ASSERT_NE(reports, nullptr);
  char line[128];
  ASSERT_NE(fgets(line, sizeof line, reports), nullptr); // the first report: the run has begun
  ASSERT_EQ(kill(child, SIGINT), 0);
  std::string rest;
  while (fgets(line, sizeof line, reports))
    rest += line;
  fclose(reports);
  int rc = 0;
  ASSERT_EQ(waitpid(child, &rc, 0), child);
  ASSERT_TRUE(WIFEXITED(rc));
  EXPECT_EQ(WEXITSTATUS(rc), 130);
  EXPECT_NE(rest.find("cancelled"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(dir.file("out.pdf")), "keep me");
  size_t files = 0;
  for (auto &entry : std::filesystem::directory_iterator(dir.path()))
    files += entry.is_regular_file() ? 1 : 0;
  EXPECT_EQ(files, 2u);
}

} // namespace
