#include "FileAdding.h"

#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace {
std::wstring Wide(const std::string &s) { return std::wstring(s.begin(), s.end()); }

std::vector<std::wstring> Scan(const std::string &folder) {
  std::vector<std::wstring> added;
  ScanFolder(Wide(folder), [&](const std::wstring &path) { added.push_back(path); });
  return added;
}
} // namespace

TEST(FileAdding, DropNamesEndingWithASupportedExtensionInAnyCase) {
  struct Case {
    const wchar_t *path;
    bool supported;
  } cases[] = {
      {L"/a/b.pdf", true},       {L"/a/b.PDF", true}, {L"/a/b.Jpeg", true},
      {L"/a/b.jpg", true},       {L"/a/b.TIF", true}, {L"/a/b.tiff", true},
      {L"/a/b.png", true},       {L"/a/b.bmp", true}, {L"/a/b.txt", false},
      {L"/a/b.pdf.txt", false},  {L"/a/bpdf", false}, {L"/a/folder.pdf", true},
      {L"/a.pdf/readme", false}, {L"", false},        {L".pdf", true},
      {L"/a/b.gif", false},
  };
  for (const Case &c : cases)
    EXPECT_EQ(c.supported, EndsWithSupportedExtension(c.path)) << std::wstring(c.path);
}

TEST(FileAdding, DropIsAcceptedWhenAnyNameWouldBeAdded) {
  EXPECT_FALSE(IsDropAcceptable({}));
  EXPECT_FALSE(IsDropAcceptable({L"/a/notes.txt"}));
  EXPECT_TRUE(IsDropAcceptable({L"/a/notes.txt", L"/a/photo.png"}));
  EXPECT_TRUE(IsDropAcceptable({L"/a/folder.pdf"}));
}

TEST(FileAdding, FolderScanAddsOnlyPdfAndUpperCasePdfAtEveryDepth) {
  TempDir dir;
  std::filesystem::create_directories(dir.file("sub/deeper"));
  for (const char *name : {"x.pdf", "y.Pdf", "z.jpg", "sub/w.PDF", "sub/deeper/v.pdf",
                           "sub/deeper/u.txt", "sub/t.jpeg"})
    WriteFileBytes(dir.file(name), "x");
  std::vector<std::wstring> added = Scan(dir.path());
  std::sort(added.begin(), added.end());
  const std::vector<std::wstring> expected = {Wide(dir.file("sub/deeper/v.pdf")),
                                              Wide(dir.file("sub/w.PDF")), Wide(dir.file("x.pdf"))};
  EXPECT_EQ(expected, added);
}

TEST(FileAdding, FolderScanEntersASubfolderBeforeGoingOn) {
  TempDir dir;
  std::filesystem::create_directories(dir.file("a"));
  std::filesystem::create_directories(dir.file("b"));
  WriteFileBytes(dir.file("a/1.pdf"), "x");
  WriteFileBytes(dir.file("a/2.pdf"), "x");
  WriteFileBytes(dir.file("b/3.pdf"), "x");
  const std::vector<std::wstring> added = Scan(dir.path());
  ASSERT_EQ(3u, added.size());
  // Whatever order the listing gives, the files of one folder come together.
  auto folderOf = [](const std::wstring &p) { return p.substr(0, p.rfind(L'/')); };
  EXPECT_TRUE(folderOf(added[0]) == folderOf(added[1]) || folderOf(added[1]) == folderOf(added[2]));
}

TEST(FileAdding, FolderScanSurvivesLinksLoopsAndMissingFolders) {
  TempDir dir;
  std::filesystem::create_directories(dir.file("sub"));
  WriteFileBytes(dir.file("sub/a.pdf"), "x");
  std::filesystem::create_directory_symlink(dir.path(), dir.file("sub/loop"));
  EXPECT_EQ(1u, Scan(dir.path()).size());
  EXPECT_TRUE(Scan(dir.file("missing")).empty());
  EXPECT_TRUE(Scan(dir.file("sub/a.pdf")).empty());
}

TEST(FileAdding, DesktopFilterKeepsTheThreeChoicesWithoutPadding) {
  EXPECT_EQ(L"Support Files(*.pdf;*.jpg;*.jpeg;*.png;*bmp;*tif;*.tiff)|*.pdf;*.jpg;*.jpeg;*.png;"
            L"*.bmp;*.tif;*.tiff|PDF Files(*.pdf)|*.pdf|Image "
            L"Files(*.jpg;*.jpeg;*.png;*bmp;*tif;*.tiff)|*.jpg;*.jpeg;*.png;*.bmp;*.tif;*.tiff",
            DesktopFileFilter(kAddFilesFilter));
  EXPECT_EQ(L"", DesktopFileFilter(L""));
}
