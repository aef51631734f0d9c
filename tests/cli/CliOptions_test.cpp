#include "CliOptions.h"

#include <gtest/gtest.h>

namespace {

bool Parse(const std::vector<std::string> &args, CliOptions &options, std::string &error) {
  options = CliOptions();
  error.clear();
  return ParseCliOptions(args, options, error);
}

TEST(CliOptions, RangesBelongToTheInputBeforeThem) {
  CliOptions o;
  std::string e;
  ASSERT_TRUE(Parse({"-o", "out.pdf", "a.pdf", "--pages", "1-3", "b.pdf", "c.pdf", "--pages", "Odd"}, o, e));
  ASSERT_EQ(o.inputs.size(), 3u);
  EXPECT_TRUE(o.inputs[0].hasRange);
  EXPECT_EQ(o.inputs[0].range, "1-3");
  EXPECT_FALSE(o.inputs[1].hasRange);
  EXPECT_EQ(o.inputs[2].range, "Odd");
  EXPECT_EQ(o.output, "out.pdf");
  EXPECT_EQ(o.paper, 8); // without --paper each sheet takes its page's size
}

TEST(CliOptions, LayoutNamesMapToEngineCodes) {
  CliOptions o;
  std::string e;
  ASSERT_TRUE(Parse({"--paper", "juniorlegal", "--nup", "4", "--orientation", "Horizontal", "-o", "x", "a"}, o, e));
  EXPECT_EQ(o.paper, 5);
  EXPECT_EQ(o.nup, 2);
  EXPECT_EQ(o.orientation, 2);
  EXPECT_TRUE(o.bookmarks);
  EXPECT_TRUE(o.objectStreams);
  ASSERT_TRUE(Parse({"--paper", "source", "--no-bookmarks", "--no-object-streams", "--allow", "print,copy", "-o", "x", "a"}, o, e));
  EXPECT_FALSE(o.bookmarks);
  EXPECT_FALSE(o.objectStreams);
  EXPECT_EQ(o.paper, 8);
  EXPECT_TRUE(o.allowPrint && o.allowCopy && !o.allowEdit);
  EXPECT_TRUE(Parse({"-o", "x", "--", "-dash.pdf"}, o, e));
  EXPECT_EQ(o.inputs.at(0).path, "-dash.pdf");
}

TEST(CliOptions, UsageErrorsSayWhatIsWrong) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"a.pdf"},
      {"-o", "out.pdf"},
      {"--pages", "1", "-o", "x", "a.pdf"},
      {"-o", "x", "a.pdf", "--pages", "1", "--pages", "2"},
      {"-o", "x", "a.pdf", "--nup", "3"},
      {"-o", "x", "a.pdf", "--paper", "B5"},
      {"-o", "x", "a.pdf", "--orientation", "diagonal"},
      {"-o", "x", "a.pdf", "--allow", "print,delete"},
      {"-o", "x", "a.pdf", "--frobnicate"},
      {"-o"},
      {"--info"},
  };
  for (const auto &args : bad) {
    CliOptions o;
    std::string e;
    EXPECT_FALSE(Parse(args, o, e)) << testing::PrintToString(args);
    EXPECT_FALSE(e.empty());
  }
}

} // namespace
