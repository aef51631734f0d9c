// Damaged and hostile sources through the engine's public surface: the probe's page count, the
// run's result, and the output as other readers see it. A source that can be repaired is placed
// whole; one beyond repair is skipped; none can harm the sources around it.
#include "HostilePdf.h"
#include "MergeTestSupport.h"
#include "OutputChecks.h"
#include "ReferenceReaders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::string TestName(const char *name) {
  std::string text = name;
  for (char &c : text)
    c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return text;
}
const auto kCaseName = [](const ::testing::TestParamInfo<HostileCase> &info) {
  return TestName(info.param.name);
};

struct Source {
  std::string path;
  const char *password = nullptr;
};

// One run over the sources, all pages of each, one page per A4 sheet. Each source is appended
// with the page count the probe gives (0 when it gives none: the run then takes what it finds).
bool MergeFiles(const std::vector<Source> &sources, const std::string &out) {
  MergerTool job;
  job.SetLayout(PAPER_A4, 0, 0);
  job.SetOutPDFPath(Wide(out).c_str());
  int index = 0;
  for (const Source &source : sources) {
    const std::wstring path = Wide(source.path);
    const int32_t pages = std::max(0, MergerTool::GetPdfInfo(path.c_str()));
    job.AppendMergeSrc(index++, path.c_str(), pages, nullptr, source.password);
  }
  return job.StartMerge(0);
}

class HostileSource : public ::testing::TestWithParam<HostileCase> {
protected:
  TempDir dir;
  std::string Write() {
    const std::string path = dir.file(std::string(GetParam().name) + ".pdf");
    WriteFileBytes(path, GetParam().make());
    return path;
  }
};

// Repairable damage and loops: the true page count, every page placed, a clean output.
using RepairedSource = HostileSource;

TEST_P(RepairedSource, ProbeCountsTheTruePagesAndTheRunPlacesThemAll) {
  const HostileCase &c = GetParam();
  const std::string path = Write(), out = dir.file("out.pdf");
  EXPECT_EQ(MergerTool::GetPdfInfo(Wide(path).c_str()), c.pages);
  ASSERT_TRUE(MergeFiles({{path}}, out));
  EXPECT_EQ(QpdfPageCount(out), c.pages);
  EXPECT_EQ(MarkedProblem(out, 1, c.pages, c.name, c.distinct), "");
  EXPECT_EQ(OutputProblem(out), "");
}

INSTANTIATE_TEST_SUITE_P(Repairable, RepairedSource, ::testing::ValuesIn(RepairableCases()),
                         kCaseName);
INSTANTIATE_TEST_SUITE_P(Loops, RepairedSource, ::testing::ValuesIn(LoopCases()), kCaseName);

// Lies and junk between two good files: the good files' pages come out whole and right
// whatever happens to the junk; what the junk's expectation says of its own pages holds.
using JunkSource = HostileSource;

TEST_P(JunkSource, GoodFilesAroundItStayWholeAndRealPagesArePlaced) {
  const HostileCase &c = GetParam();
  const Neighbours good = MakeNeighbours(dir);
  const std::string path = Write(), out = dir.file("out.pdf");
  const int32_t probed = MergerTool::GetPdfInfo(Wide(path).c_str());
  if (c.expect == Expect::AllPages) {
    EXPECT_EQ(probed, c.pages);
  }
  const bool written = MergeFiles({{good.before}, {path}, {good.after}}, out);
  if (c.expect != Expect::NoSilentLoss) {
    ASSERT_TRUE(written);
  }
  if (!written) {
    EXPECT_FALSE(FileExists(out));
    return;
  }
  const int sheets = QpdfPageCount(out);
  ASSERT_GE(sheets, 4) << "the good files' pages are missing";
  ASSERT_LE(sheets, 4 + c.pages);
  EXPECT_EQ(NeighbourProblem(out, 1, 0), "");
  EXPECT_EQ(NeighbourProblem(out, sheets - 1, 2), "");
  if (c.expect == Expect::NoSilentLoss) {
    // Whatever of the junk was placed shows its own pages, in order.
    const std::vector<int> placed = MarkedPages(out, 3, sheets - 4, c.name);
    for (size_t k = 0; k < placed.size(); ++k) {
      EXPECT_GT(placed[k], 0) << "sheet " << k + 3 << " shows no page of the source";
      if (k > 0) {
        EXPECT_GT(placed[k], placed[k - 1]);
      }
    }
  } else {
    EXPECT_EQ(sheets, 4 + c.pages);
    EXPECT_EQ(MarkedProblem(out, 3, c.pages, c.name), "");
  }
  EXPECT_EQ(OutputProblem(out), "");
}

INSTANTIATE_TEST_SUITE_P(Junk, JunkSource, ::testing::ValuesIn(JunkCases()), kCaseName);

// Sources beyond repair are skipped: the probe answers -1, the run writes the others.
using UnusableSource = HostileSource;

TEST_P(UnusableSource, ProbeRefusesAndTheRunSkipsIt) {
  const Neighbours good = MakeNeighbours(dir);
  const std::string path = Write(), out = dir.file("out.pdf");
  EXPECT_EQ(MergerTool::GetPdfInfo(Wide(path).c_str()), -1);
  ASSERT_TRUE(MergeFiles({{good.before}, {path}, {good.after}}, out));
  const int sheets = QpdfPageCount(out);
  EXPECT_EQ(sheets, 4);
  EXPECT_EQ(NeighbourProblem(out, 1, 0), "");
  EXPECT_EQ(NeighbourProblem(out, sheets - 1, 2), "");
  EXPECT_EQ(OutputProblem(out), "");
}

INSTANTIATE_TEST_SUITE_P(NotPdf, UnusableSource, ::testing::ValuesIn(NotPdfCases()), kCaseName);

class BadEncryption : public ::testing::TestWithParam<EncryptionCase> {};

TEST_P(BadEncryption, IsRefusedBeforeItIsTrusted) {
  TempDir dir;
  const Neighbours good = MakeNeighbours(dir);
  const std::string path = dir.file("bad.pdf"), out = dir.file("out.pdf");
  WriteFileBytes(path, MakeBadEncryption(GetParam(), dir.path()));
  EXPECT_EQ(MergerTool::GetPdfInfo(Wide(path).c_str()), -1);
  ASSERT_TRUE(MergeFiles({{good.before}, {path}, {good.after}}, out));
  const int sheets = QpdfPageCount(out);
  EXPECT_EQ(sheets, 4);
  EXPECT_EQ(NeighbourProblem(out, sheets - 1, 2), "");
  EXPECT_EQ(OutputProblem(out), "");
}

INSTANTIATE_TEST_SUITE_P(Hostile, BadEncryption, ::testing::ValuesIn(BadEncryptionCases()),
                         [](const ::testing::TestParamInfo<EncryptionCase> &info) {
                           return TestName(info.param.name);
                         });

// Encrypted sources: the password given with the source opens them; without it, or with a
// wrong one, the source is skipped and the others are merged.
struct PasswordCase {
  const char *name, *encryption;
};
// Names the case in CTest's list, which would otherwise show its bytes.
inline void PrintTo(const PasswordCase &c, std::ostream *out) { *out << c.name; }

class UserPassword : public ::testing::TestWithParam<PasswordCase> {};

TEST_P(UserPassword, OpensWithTheSourcesPasswordOnly) {
  TempDir dir;
  const Neighbours good = MakeNeighbours(dir);
  const std::string path = dir.file("locked.pdf"), out = dir.file("out.pdf");
  WriteFileBytes(path,
                 MakeEncryptedPdf("locked", 2, "user", "owner", GetParam().encryption, dir.path()));
  EXPECT_EQ(MergerTool::GetPdfInfo(Wide(path).c_str()), -1); // the probe has no password

  MergerTool job;
  job.SetLayout(PAPER_A4, 0, 0);
  job.SetOutPDFPath(Wide(out).c_str());
  job.AppendMergeSrc(0, Wide(path).c_str(), 2, nullptr, "user");
  ASSERT_TRUE(job.StartMerge(0));
  EXPECT_EQ(MarkedProblem(out, 1, 2, "locked"), "");
  EXPECT_EQ(OutputProblem(out), "");

  for (const char *password : {static_cast<const char *>(nullptr), "wrong"}) {
    SCOPED_TRACE(password ? password : "no password");
    MergerTool skip;
    skip.SetLayout(PAPER_A4, 0, 0);
    skip.SetOutPDFPath(Wide(out).c_str());
    skip.AppendMergeSrc(0, Wide(good.before).c_str(), 2, nullptr, nullptr);
    skip.AppendMergeSrc(1, Wide(path).c_str(), 2, nullptr, password);
    skip.AppendMergeSrc(2, Wide(good.after).c_str(), 2, nullptr, nullptr);
    ASSERT_TRUE(skip.StartMerge(0));
    EXPECT_EQ(QpdfPageCount(out), 4);
    EXPECT_EQ(NeighbourProblem(out, 3, 2), "");
  }
}

TEST_P(UserPassword, OwnerPasswordOnlyOpensWithoutOne) {
  TempDir dir;
  const std::string path = dir.file("owned.pdf"), out = dir.file("out.pdf");
  WriteFileBytes(path,
                 MakeEncryptedPdf("owned", 2, "", "owner", GetParam().encryption, dir.path()));
  EXPECT_EQ(MergerTool::GetPdfInfo(Wide(path).c_str()), 2);
  ASSERT_TRUE(MergeFiles({{path}}, out));
  EXPECT_EQ(MarkedProblem(out, 1, 2, "owned"), "");
  EXPECT_EQ(OutputProblem(out), "");
}

const PasswordCase kPasswordCases[] = {
    {"rc4_128", "128 --use-aes=n"}, {"aes_128", "128 --use-aes=y"}, {"aes_256", "256"}};

INSTANTIATE_TEST_SUITE_P(Encrypted, UserPassword, ::testing::ValuesIn(kPasswordCases),
                         [](const ::testing::TestParamInfo<PasswordCase> &info) {
                           return std::string(info.param.name);
                         });

// A picture whose header declares more pixels than the engine will decode is skipped without
// being decoded (the test does not watch memory; the header is all the file has).
TEST(PictureBomb, IsSkippedAndTheOthersAreMerged) {
  TempDir dir;
  const Neighbours good = MakeNeighbours(dir);
  for (unsigned side : {22000u, 100000u}) {
    SCOPED_TRACE(side);
    const std::string picture = dir.file("bomb-" + std::to_string(side) + ".png");
    const std::string out = dir.file("out-" + std::to_string(side) + ".pdf");
    WriteFileBytes(picture, MakePngHeaderBomb(side, side));
    MergerTool job;
    job.SetLayout(PAPER_A4, 0, 0);
    job.SetOutPDFPath(Wide(out).c_str());
    job.AppendMergeSrc(0, Wide(good.before).c_str(), 2, nullptr, nullptr);
    job.AppendMergeSrc(1, Wide(picture).c_str(), 1, nullptr, nullptr);
    job.AppendMergeSrc(2, Wide(good.after).c_str(), 2, nullptr, nullptr);
    ASSERT_TRUE(job.StartMerge(0));
    EXPECT_EQ(QpdfPageCount(out), 4);
    EXPECT_EQ(NeighbourProblem(out, 3, 2), "");
  }
}

} // namespace
