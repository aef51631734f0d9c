#include "ItemData.h"

#include <gtest/gtest.h>
#include <stdexcept>

#include "support/TempDir.h"

TEST(ItemData, SupportedExtensionsByLastDotAnyCase) {
  struct Case {
    const wchar_t *path;
    int index;
  };
  const Case cases[] = {
      {L"/a/b.pdf", 0},       {L"/a/B.PDF", 0}, {L"x.Jpg", 1},
      {L"x.jpeg", 2},         {L"x.TIF", 3},    {L"x.tiff", 4},
      {L"x.png", 5},          {L"x.bmp", 6},    {L"x.pdf.txt", -1},
      {L"/dir.pdf/file", -1}, {L"noext", -1},   {L".pdf", 0},
      {L"x.gif", -1},         {L"x.pd", -1},    {L"x.", -1},
      {L"/a.b/c.jpg", 1},     {L"x.pdf ", -1},  {L"", -1},
  };
  for (const Case &c : cases)
    EXPECT_EQ(FindSupportedExtension(c.path), c.index) << std::wstring(c.path).size();
}

TEST(ItemData, EndsWithPdf) {
  EXPECT_TRUE(EndsWithPdf(L"a.pdf"));
  EXPECT_TRUE(EndsWithPdf(L"a.PdF"));
  EXPECT_TRUE(EndsWithPdf(L".pdf"));
  EXPECT_FALSE(EndsWithPdf(L"pdf"));
  EXPECT_FALSE(EndsWithPdf(L"a.jpg"));
  EXPECT_FALSE(EndsWithPdf(L""));
}

TEST(ItemData, PictureRecord) {
  int before = g_nItemCounter;
  bool probed = false;
  auto item = CreateItemData(L"/x/p.png", false, [&](const wchar_t *) {
    probed = true;
    return 5;
  });
  EXPECT_FALSE(probed);
  EXPECT_EQ(item->nItemID, before + 1);
  EXPECT_EQ(g_nItemCounter, before + 1);
  EXPECT_EQ(item->nTotalPage, 1);
  EXPECT_EQ(item->nStatus, STATUS_READY);
  ASSERT_TRUE(item->pszOutPath);
  EXPECT_TRUE(item->pszOutPath->empty());
  EXPECT_FALSE(item->pszPageRange);
  EXPECT_TRUE(item->HasAllPages());
  EXPECT_EQ(item->szFilePath, L"/x/p.png");
}

TEST(ItemData, PdfRecordTakesTheProbesAnswer) {
  struct Case {
    int answer;
    int pages, status;
  };
  const Case cases[] = {{7, 7, STATUS_READY},
                        {1, 1, STATUS_READY},
                        {0, 0, STATUS_LOAD_FAILED},
                        {-1, -1, STATUS_LOAD_FAILED}};
  for (const Case &c : cases) {
    std::wstring seen;
    auto item = CreateItemData(L"/x/d.pdf", true, [&](const wchar_t *p) {
      seen = p;
      return c.answer;
    });
    EXPECT_EQ(seen, L"/x/d.pdf");
    EXPECT_EQ(item->nTotalPage, c.pages);
    EXPECT_EQ(item->nStatus, c.status);
  }
}

TEST(ItemData, AnyExceptionFromTheProbeMarksTheRowFailed) {
  auto bad =
      CreateItemData(L"d.pdf", true, [](const wchar_t *) -> int32_t { throw std::bad_alloc(); });
  EXPECT_EQ(bad->nTotalPage, 0);
  EXPECT_EQ(bad->nStatus, STATUS_LOAD_FAILED);
  auto odd = CreateItemData(L"d.pdf", true, [](const wchar_t *) -> int32_t { throw 42; });
  EXPECT_EQ(odd->nStatus, STATUS_LOAD_FAILED);
}

TEST(ItemData, IdentifiersAreNeverReused) {
  auto a = CreateItemData(L"a.pdf", true, [](const wchar_t *) { return 1; });
  auto b = CreateItemData(L"a.pdf", true, [](const wchar_t *) { return 1; });
  EXPECT_EQ(b->nItemID, a->nItemID + 1);
  a.reset();
  auto c = CreateItemData(L"a.pdf", true, [](const wchar_t *) { return 1; });
  EXPECT_EQ(c->nItemID, b->nItemID + 1);
}

TEST(ItemData, CopiesShareTheTwoBuffers) {
  auto item = CreateItemData(L"a.pdf", true, [](const wchar_t *) { return 3; });
  item->pszPageRange = std::make_shared<std::wstring>(L"1-2");
  _stru_ItemData_ copy = *item;
  *copy.pszOutPath = L"/out/a_1.pdf"; // the merge job writes through its copy
  EXPECT_EQ(*item->pszOutPath, L"/out/a_1.pdf");
  EXPECT_EQ(copy.pszPageRange.get(), item->pszPageRange.get());
  item.reset(); // the row goes first: the copy's buffers stay valid
  EXPECT_EQ(*copy.pszOutPath, L"/out/a_1.pdf");
}

TEST(ItemData, LongPathsAreKeptWhole) {
  std::wstring path = L"/" + std::wstring(600, L'd') + L"/file.pdf";
  auto item = CreateItemData(path, true, [](const wchar_t *) { return 2; });
  EXPECT_EQ(item->szFilePath, path);
}

TEST(ItemData, FileSizes) {
  TempDir dir;
  WriteFileBytes(dir.file("five.bin"), "12345");
  WriteFileBytes(dir.file("\xc3\xa9t\xc3\xa9.pdf"), std::string(2048, 'x'));
  EXPECT_EQ(ReadFileSize(std::wstring(dir.path().begin(), dir.path().end()) + L"/five.bin"), 5u);
  EXPECT_EQ(
      ReadFileSize(std::wstring(dir.path().begin(), dir.path().end()) + L"/\u00e9t\u00e9.pdf"),
      2048u);
  EXPECT_EQ(ReadFileSize(L"/no/such/file.pdf"), 0u);
  // A picture's row knows its file as it was listed; a PDF's as its reading says.
  auto picture =
      CreateItemData(std::wstring(dir.path().begin(), dir.path().end()) + L"/five.bin", false, {});
  EXPECT_EQ(picture->nReadSize, 5);
  EXPECT_GT(picture->nReadModified, 0);
  TakeProbeAnswer(*picture, 1, false, L"", 7, 9);
  EXPECT_EQ(picture->nReadSize, 7);
  EXPECT_EQ(picture->nReadModified, 9);
}
