#include "PathText.h"

#include <gtest/gtest.h>

namespace {

TEST(FileTitleOfPath, Table) {
  const struct {
    const wchar_t *path;
    const wchar_t *title;
  } cases[] = {
      {L"/docs/report.pdf", L"report"},
      {L"/docs/name.v2.pdf", L"name.v2"}, // only the last extension goes
      {L"/docs/.pdf", L".pdf"},           // a leading dot is not an extension
      {L"/docs.d/noext", L"noext"},       // a dot in a folder name is not the file's
      {L"/docs/a\\b.pdf", L"a\\b"},       // '\' is part of a file name here
      {L"report.pdf", L""},               // no folder part at all
      {L"/docs/", L""},
  };
  for (const auto &c : cases)
    EXPECT_EQ(FileTitleOfPath(c.path), c.title) << std::wstring(c.path).c_str();
}

TEST(FileNameOfPath, EitherSeparatorForListedFiles) {
  const PathSeparators both = PathSeparators::kSlashOrBackslash;
  EXPECT_EQ(FileNameOfPath(L"/home/u/a.pdf", both), L"a.pdf");
  EXPECT_EQ(FileNameOfPath(L"C:\\docs\\b.pdf", both), L"b.pdf");
  EXPECT_EQ(FileNameOfPath(L"C:\\docs/sub\\c.pdf", both), L"c.pdf");
  EXPECT_EQ(FileNameOfPath(L"/mixed\\dir/d.pdf", both), L"d.pdf");
  EXPECT_EQ(FileNameOfPath(L"plain.pdf", both), L"");
  EXPECT_EQ(FileNameOfPath(L"/dir/", both), L"");
}

TEST(FileNameOfPath, OnlySlashByDefaultInWideAndNarrowText) {
  EXPECT_EQ(FileNameOfPath(L"/home/u/a\\b.pdf"), L"a\\b.pdf");
  EXPECT_EQ(FileNameOfPath(std::string("/home/u/a\\b.pdf")), "a\\b.pdf");
  EXPECT_EQ(FileNameOfPath(std::string("C:\\b.pdf"), PathSeparators::kSlashOrBackslash), "b.pdf");
  EXPECT_EQ(FileNameOfPath(std::string("plain.pdf")), "");
}

TEST(FolderOfPath, Table) {
  struct Case {
    const wchar_t *path;
    PathSeparators separators;
    bool found;
    const wchar_t *folder;
  } cases[] = {
      {L"/home/u/docs/a.pdf", PathSeparators::kSlashOrBackslash, true, L"/home/u/docs"},
      {L"C:\\docs\\a.pdf", PathSeparators::kSlashOrBackslash, true, L"C:\\docs"},
      {L"/mixed\\dir/x\\a.pdf", PathSeparators::kSlashOrBackslash, true, L"/mixed\\dir/x"},
      {L"/mixed\\dir/x\\a.pdf", PathSeparators::kSlash, true, L"/mixed\\dir"},
      {L"/a.pdf", PathSeparators::kSlash, true, L""},
      {L"a.pdf", PathSeparators::kSlashOrBackslash, false, L"untouched"},
      {L"C:\\a.pdf", PathSeparators::kSlash, false, L"untouched"},
  };
  for (const Case &c : cases) {
    std::wstring folder = L"untouched";
    EXPECT_EQ(c.found, FolderOfPath(c.path, &folder, c.separators)) << std::wstring(c.path);
    EXPECT_EQ(std::wstring(c.folder), folder) << std::wstring(c.path);
  }
  std::string narrow;
  EXPECT_TRUE(FolderOfPath(std::string("/etc/x.conf"), &narrow));
  EXPECT_EQ(narrow, "/etc");
}

TEST(ContainingFolder, Table) {
  const struct {
    const wchar_t *path;
    const wchar_t *folder;
  } cases[] = {
      {L"/home/u/out/a.pdf", L"/home/u/out"},
      {L"/home/u/out/", L"/home/u"}, // a folder's own parent
      {L"/a.pdf", L"/"},
      {L"a.pdf", L"."},
      {L"/home/u/a\\b.pdf", L"/home/u"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(ContainingFolder(c.path), c.folder) << std::wstring(c.path).c_str();
}

} // namespace
