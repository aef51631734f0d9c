// The job's setters and their validation.
#include "MergerTool.h"

#include <gtest/gtest.h>

namespace {

// Opens the job's state to the tests.
class Job : public MergerTool {
public:
  using MergerTool::m_bOpenPwd;
  using MergerTool::m_bPermissionPwd;
  using MergerTool::m_lstSrc;
  using MergerTool::m_nNUp;
  using MergerTool::m_nOrientation;
  using MergerTool::m_nPageHeight;
  using MergerTool::m_nPageWidth;
  using MergerTool::m_nPermissions;
  using MergerTool::m_strOpenPwd;
  using MergerTool::m_strPermissionPwd;
};

TEST(MergerToolState, FreshJobIsA4WithoutPasswordsOrSources) {
  Job job;
  EXPECT_EQ(job.m_nPageWidth, 595);
  EXPECT_EQ(job.m_nPageHeight, 842);
  EXPECT_FALSE(job.m_bOpenPwd);
  EXPECT_FALSE(job.m_bPermissionPwd);
  EXPECT_EQ(job.m_nPermissions, 0);
  EXPECT_TRUE(job.m_lstSrc.empty());
}

struct PaperCase {
  int paper, width, height;
};

TEST(MergerToolLayout, PaperCodesGiveTheProgramsSizes) {
  const PaperCase cases[] = {{0, 420, 595},  {1, 595, 842},  {2, 842, 1190}, {3, 612, 790},
                             {4, 612, 1009}, {5, 575, 360},  {6, 1224, 790}, {7, 790, 1224},
                             {8, -1, -1},    {-1, -1, -1}};
  for (const PaperCase &c : cases) {
    Job job;
    EXPECT_TRUE(job.SetLayout(c.paper, 0, 0)) << c.paper;
    EXPECT_EQ(job.m_nPageWidth, c.width) << c.paper;
    EXPECT_EQ(job.m_nPageHeight, c.height) << c.paper;
  }
}

TEST(MergerToolLayout, RefusedPartsReportFalseButValidPartsApply) {
  Job job;
  job.SetLayout(1, 1, 1);
  EXPECT_FALSE(job.SetLayout(1, 3, 0)); // N-up 3 refused, keeps 1
  EXPECT_EQ(job.m_nNUp, 1);
  EXPECT_FALSE(job.SetLayout(1, -1, 0));
  EXPECT_EQ(job.m_nNUp, 1);
  EXPECT_TRUE(job.SetLayout(1, 0, 5)); // orientation out of range becomes Auto
  EXPECT_EQ(job.m_nOrientation, 0);

  EXPECT_FALSE(job.SetLayout(-5, 100, 1, 1));
  EXPECT_EQ(job.m_nPageWidth, -1);
  EXPECT_EQ(job.m_nPageHeight, -1);
  EXPECT_EQ(job.m_nNUp, 1);
  EXPECT_EQ(job.m_nOrientation, 1);
  EXPECT_TRUE(job.SetLayout(300, 400, 2, 2));
  EXPECT_EQ(job.m_nPageWidth, 300);
  EXPECT_EQ(job.m_nNUp, 2);
}

TEST(MergerToolSources, AppendValidatesAndReadsRanges) {
  Job job;
  EXPECT_FALSE(job.AppendMergeSrc(-1, L"/a.pdf", 10, nullptr, nullptr));
  EXPECT_FALSE(job.AppendMergeSrc(0, nullptr, 10, nullptr, nullptr));
  EXPECT_TRUE(job.m_lstSrc.empty());

  EXPECT_TRUE(job.AppendMergeSrc(0, L"/a.pdf", 10, "Odd", nullptr));
  EXPECT_TRUE(job.AppendMergeSrc(1, L"/a.pdf", 10, nullptr, nullptr));
  EXPECT_TRUE(job.AppendMergeSrc(2, L"/a.pdf", 10, "", nullptr));
  ASSERT_EQ(job.m_lstSrc.size(), 3u);
  const MergeSrc *odd = job.m_lstSrc.front().get();
  EXPECT_FALSE(odd->bAllPages);
  EXPECT_EQ(odd->vecPages, (std::vector<int32_t>{1, 3, 5, 7, 9}));
  const MergeSrc *all = std::next(job.m_lstSrc.begin())->get();
  EXPECT_TRUE(all->bAllPages);
  EXPECT_TRUE(all->vecPages.empty());
  const MergeSrc *none = job.m_lstSrc.back().get();
  EXPECT_FALSE(none->bAllPages); // an empty text is a range with no pages, not all pages
  EXPECT_TRUE(none->vecPages.empty());
}

TEST(MergerToolSources, CopiesOwnTheirSourcesSeparately) {
  auto original = std::make_unique<Job>();
  original->AppendMergeSrc(3, L"/a.pdf", 2, nullptr, nullptr);
  Job copy(*original);
  Job assigned;
  assigned.AppendMergeSrc(7, L"/b.pdf", 1, nullptr, nullptr);
  assigned = *original;
  assigned = assigned;
  original.reset(); // releases its records; the copies must still hold theirs
  ASSERT_EQ(copy.m_lstSrc.size(), 1u);
  EXPECT_EQ(copy.m_lstSrc.front()->strPath, L"/a.pdf");
  ASSERT_EQ(assigned.m_lstSrc.size(), 1u);
  EXPECT_EQ(assigned.m_lstSrc.front()->nIndex, 3);
}

TEST(MergerToolPasswords, OpenPasswordFlagAndKeptText) {
  Job job;
  job.SetOpenPwd("secret");
  EXPECT_TRUE(job.m_bOpenPwd);
  job.SetOpenPwd("");
  EXPECT_FALSE(job.m_bOpenPwd);
  EXPECT_EQ(job.m_strOpenPwd, "secret");
  job.SetOpenPwd(nullptr);
  EXPECT_FALSE(job.m_bOpenPwd);
}

TEST(MergerToolPasswords, PermissionPasswordDefaultsToOpenPassword) {
  Job job;
  job.SetOpenPwd("open");
  job.SetPemissionPwd(nullptr, true, false, true);
  EXPECT_TRUE(job.m_bPermissionPwd);
  EXPECT_EQ(job.m_strPermissionPwd, "open");
  EXPECT_EQ(job.m_nPermissions, 8 | 4);
}

TEST(MergerToolPasswords, NoPasswordGrantsNothing) {
  Job job;
  job.SetPemissionPwd(nullptr, true, true, true);
  EXPECT_FALSE(job.m_bPermissionPwd);
  EXPECT_EQ(job.m_nPermissions, 0);
}

TEST(MergerToolPasswords, GrantsAreOnlyAdded) {
  Job job;
  job.SetPemissionPwd("owner", true, false, false);
  job.SetPemissionPwd("owner", false, true, false);
  EXPECT_EQ(job.m_nPermissions, 8 | 16);
}

} // namespace
