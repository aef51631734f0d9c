// What vantorel-merge does to the files around it, under a memory cap: the exit status, the reason,
// and every file but a successful output byte for byte as it was (no temporary file either).
#include "CliRun.h"
#include "PdfMaker.h"
#include "PdfReadBack.h"
#include "PictureMaker.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace {

struct UserFileCase {
  const char *name;
  const char *args; // names of files in the folder (made by Make); RANGE: past the page limit
  int exitCode;
  const char *says;
};
// Names the case in CTest's list, which would otherwise show its bytes.
inline void PrintTo(const UserFileCase &c, std::ostream *out) { *out << c.name; }

// Inputs by name, each made only when a case names it.
void Make(const TempDir &d, const std::string &name) {
  const std::string path = d.file(name);
  if (name == "locked.pdf") {
    MakeTestPdf(path, {TestPage{}}, {false, false, "owner", "user"});
  } else if (name == "link.pdf") {
    std::filesystem::create_symlink("later.pdf", path);
  } else if (name == "cut.png" || name == "12bit.jpg") {
    MakePicture(path, name == "cut.png" ? "png" : "jpeg", 200, 200, 0x00A000);
    std::string bytes = ReadFileBytes(path);
    if (name == "cut.png")
      bytes.resize(bytes.size() / 2);
    else
      bytes[bytes.find("\xFF\xC0") + 4] = 12; // the frame's bits per sample
    WriteFileBytes(path, bytes);
  } else if (name == "svg.png") {
    WriteFileBytes(path, "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"15000\" "
                         "height=\"15000\"><rect width=\"15000\" height=\"15000\"/></svg>");
  } else if (name == "many.pdf" || name == "caf\xE9.pdf") {
    MakeNumberedPdf(path, name == "many.pdf" ? 1000 : 1);
  }
}

// No cap under AddressSanitizer, whose shadow takes terabytes of address space (clang, which
// sanitize.sh builds with, does not say so through __SANITIZE_ADDRESS__; the build does).
const char *const kMemoryCap = ADDRESS_CAPS ? "--as=1500000000" : "--core=0";

class UserFiles : public ::testing::TestWithParam<UserFileCase> {};

TEST_P(UserFiles, OnlyTheOutputIsWrittenAndOnlyOnSuccess) {
  const UserFileCase &c = GetParam();
  TempDir dir;
  MakeNumberedPdf(dir.file("a.pdf"), 2);
  WriteFileBytes(dir.file("out.pdf"), "the user's old output");
  std::vector<std::string> argv{"/usr/bin/prlimit", kMemoryCap, "--", VANTOREL_MERGE};
  std::istringstream words(c.args);
  for (std::string word; words >> word;) {
    word = word == "LONG" ? std::string(251, 'x') + ".pdf" : word; // 255 bytes
    if (word.find('.') != std::string::npos && !FileExists(dir.file(word)))
      Make(dir, word);
    std::string range;
    for (int i = 0; word == "RANGE" && i < 10001; ++i)
      range += "1-1000,";
    argv.push_back(!range.empty()                        ? range
                   : word.find('.') == std::string::npos ? word
                                                         : dir.file(word));
  }
  const std::string out = argv[std::find(argv.begin(), argv.end(), "-o") - argv.begin() + 1];
  auto expected = FolderContents(dir.path());
  const ChildResult run = RunChild(argv, 240);
  ASSERT_TRUE(run.exited) << run.Describe();
  EXPECT_EQ(run.exitCode, c.exitCode) << run.Describe();
  EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
  auto after = FolderContents(dir.path());
  if (c.exitCode == 0) { // a new output, read back
    EXPECT_GT(ReadBack(out).sheets.size(), 0u);
    expected[out.substr(dir.path().size() + 1)] = after[out.substr(dir.path().size() + 1)];
  }
  EXPECT_EQ(after, expected);
}

const UserFileCase kCases[] = {
    {"SkippedInputIsNeverTheOutput", "--skip-bad -o locked.pdf a.pdf locked.pdf", 1,
     "locked.pdf: is also the output file"},
    {"LinkToAnInputNotThereYet", "--skip-bad -o link.pdf a.pdf later.pdf", 1,
     "later.pdf: is also the output file"},
    {"FailedRunKeepsTheOldOutput", "-o out.pdf cut.png", 1, "not a readable picture"},
    {"NothingLeftKeepsTheOldOutput", "--skip-bad -o out.pdf cut.png", 1, "nothing to merge"},
    {"SvgNamedPng", "-o new.pdf svg.png", 1, "not a JPEG, PNG, BMP or TIFF picture"},
    {"TwelveBitJpeg", "-o new.pdf 12bit.jpg", 1, "12-bit JPEG"},
    {"Latin1Names", "-o r\xE9sum\xE9.pdf caf\xE9.pdf", 0, ""},
    {"LongestOutputName", "-o LONG a.pdf", 0, ""},
    {"SelectionsPastTheLimit", "-o new.pdf many.pdf --pages RANGE many.pdf --pages RANGE", 1,
     "too many pages selected"},
};

INSTANTIATE_TEST_SUITE_P(Cli, UserFiles, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
