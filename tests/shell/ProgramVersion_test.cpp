#include "ProgramVersion.h"

#include <gtest/gtest.h>

TEST(ProgramVersion, ReadsTheBuildsVersion) {
  int major = -1, minor = -1, patch = -1;
  EXPECT_EQ(0, ReadProgramVersion(&major, &minor, &patch));
  EXPECT_EQ(1, major);
  EXPECT_EQ(9, minor);
  EXPECT_EQ(0, patch);
  EXPECT_EQ(190, VersionNumber(major, minor, patch));
}

TEST(ProgramVersion, NumbersAndTheirTexts) {
  const struct {
    int major, minor, patch;
    int number;
    const wchar_t *shown;
    const wchar_t *about;
  } cases[] = {
      {1, 9, 0, 190, L"1.90", L"Version:1.90"},
      {1, 9, 1, 191, L"1.91", L"Version:1.91"},
      {2, 0, 5, 205, L"2.05", L"Version:2.05"},
      {2, 10, 3, 303, L"3.03", L"Version:2.103"}, // minor and patch run together in the box
      {0, 0, 0, 0, L"0.00", L"Version:0.00"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(c.number, VersionNumber(c.major, c.minor, c.patch));
    EXPECT_EQ(c.shown, FormatVersionNumber(c.number));
    EXPECT_EQ(c.about, FormatAboutVersion(c.major, c.minor, c.patch));
  }
}
