// What vantorel-merge does to the files around it: each case makes its inputs, runs the program
// under a memory cap, and checks the exit status, the reason on standard error, and that every
// file it did not write is byte for byte what it was (no temporary file left either).
#include "CliRun.h"
#include "PdfMaker.h"
#include "PdfReadBack.h"
#include "PictureMaker.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

namespace {

namespace fs = std::filesystem;

struct UserFileCase {
  const char *name;
  // Makes the inputs in the folder and returns the arguments.
  std::function<std::vector<std::string>(const TempDir &)> make;
  int exitCode;
  const char *says;             // on standard error
  const char *output = nullptr; // the one file the run may write (a new PDF), or null
};

std::map<std::string, std::string> Snapshot(const std::string &folder) {
  std::map<std::string, std::string> files;
  for (const auto &entry : fs::directory_iterator(folder))
    files[entry.path().filename()] =
        entry.is_symlink() ? "-> " + fs::read_symlink(entry).string() : ReadFileBytes(entry.path());
  return files;
}

std::string CutPng(const TempDir &dir) {
  MakePicture(dir.file("whole.png"), "png", 200, 200, 0x00A000);
  const std::string png = ReadFileBytes(dir.file("whole.png"));
  fs::remove(dir.file("whole.png"));
  WriteFileBytes(dir.file("cut.png"), png.substr(0, png.size() / 2));
  return dir.file("cut.png");
}

// A JPEG whose frame says 12 bits per sample.
std::string TwelveBitJpeg(const TempDir &dir) {
  MakePicture(dir.file("p.jpg"), "jpeg", 64, 64, 0x2040A0);
  std::string jpeg = ReadFileBytes(dir.file("p.jpg"));
  const size_t sof = jpeg.find("\xFF\xC0");
  jpeg[sof + 4] = 12;
  WriteFileBytes(dir.file("p.jpg"), jpeg);
  return dir.file("p.jpg");
}

// AddressSanitizer reserves terabytes of address space for its shadow: no cap there.
#if defined(__SANITIZE_ADDRESS__)
const char kMemoryCap[] = "--core=0";
#else
const char kMemoryCap[] = "--as=1500000000";
#endif

class UserFiles : public ::testing::TestWithParam<UserFileCase> {};

TEST_P(UserFiles, OnlyTheOutputIsWrittenAndOnlyOnSuccess) {
  const UserFileCase &c = GetParam();
  TempDir dir;
  MakeNumberedPdf(dir.file("a.pdf"), 2);
  WriteFileBytes(dir.file("out.pdf"), "the user's old output");
  std::vector<std::string> argv{"/usr/bin/prlimit", kMemoryCap, "--", VANTOREL_MERGE};
  for (const std::string &arg : c.make(dir))
    argv.push_back(arg);
  auto expected = Snapshot(dir.path());
  const ChildResult run = RunChild(argv, 240);
  ASSERT_TRUE(run.exited) << run.Describe();
  EXPECT_EQ(run.exitCode, c.exitCode) << run.Describe();
  EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
  auto after = Snapshot(dir.path());
  if (c.output != nullptr) {
    const std::string written = dir.file(c.output);
    EXPECT_GT(ReadBack(written).sheets.size(), 0u) << written;
    expected[c.output] = after[c.output];
  }
  EXPECT_EQ(after, expected);
}

const std::string kLongName = std::string(251, 'x') + ".pdf"; // 255 bytes

const UserFileCase kCases[] = {
    {"SkippedInputIsNeverTheOutput",
     [](const TempDir &d) -> std::vector<std::string> {
       TestPdfOptions locked;
       locked.ownerPassword = "owner";
       locked.userPassword = "user";
       MakeTestPdf(d.file("locked.pdf"), {TestPage{}}, locked);
       return {"--skip-bad", "-o", d.file("locked.pdf"), d.file("a.pdf"), d.file("locked.pdf")};
     },
     1, "locked.pdf: is also the output file"},
    {"LinkToAnInputNotThereYetIsNeverTheOutput",
     [](const TempDir &d) -> std::vector<std::string> {
       fs::create_symlink("later.pdf", d.file("link.pdf"));
       return {"--skip-bad", "-o", d.file("link.pdf"), d.file("a.pdf"), d.file("later.pdf")};
     },
     1, "is also the output file"},
    {"FailedRunKeepsTheOldOutput",
     [](const TempDir &d) -> std::vector<std::string> {
       return {"-o", d.file("out.pdf"), CutPng(d)};
     },
     1, "not a readable picture"},
    {"NothingLeftToMergeKeepsTheOldOutput",
     [](const TempDir &d) -> std::vector<std::string> {
       return {"--skip-bad", "-o", d.file("out.pdf"), CutPng(d)};
     },
     1, "nothing to merge"},
    {"SvgNamedPngIsRefusedBeforeDecoding",
     [](const TempDir &d) -> std::vector<std::string> {
       WriteFileBytes(d.file("v.png"), "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"15000\" "
                                       "height=\"15000\"><rect width=\"15000\" height=\"15000\"/>"
                                       "</svg>");
       return {"-o", d.file("new.pdf"), d.file("v.png")};
     },
     1, "not a JPEG, PNG, BMP or TIFF picture"},
    {"TwelveBitJpegIsRefused",
     [](const TempDir &d) -> std::vector<std::string> {
       return {"-o", d.file("new.pdf"), TwelveBitJpeg(d)};
     },
     1, "12-bit JPEG"},
    {"Latin1NamesAreReadAndWritten",
     [](const TempDir &d) -> std::vector<std::string> {
       fs::copy_file(d.file("a.pdf"), d.file("caf\xE9.pdf"));
       return {"-o", d.file("r\xE9sum\xE9.pdf"), d.file("caf\xE9.pdf")};
     },
     0, "", "r\xE9sum\xE9.pdf"},
    {"LongestOutputNameWorks",
     [](const TempDir &d) -> std::vector<std::string> {
       return {"-o", d.file(kLongName), d.file("a.pdf")};
     },
     0, "", kLongName.c_str()},
    {"HugeSelectionsAreRefusedBeforeTheyAreKept",
     [](const TempDir &d) -> std::vector<std::string> {
       MakeNumberedPdf(d.file("many.pdf"), 1000);
       std::string range;
       for (int i = 0; i < 10001; ++i)
         range += "1-1000,";
       return {"-o",  d.file("new.pdf"),  d.file("many.pdf"), "--pages",
               range, d.file("many.pdf"), "--pages",          range};
     },
     1, "too many pages selected"},
};

INSTANTIATE_TEST_SUITE_P(Cli, UserFiles, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
