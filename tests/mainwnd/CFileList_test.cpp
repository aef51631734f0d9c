#include "CFileList.h"

#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

#include <wx/settings.h>

#include "ListFixture.h"
#include "Localization.h"
#include "support/TempDir.h"

namespace {
std::wstring Wide(const std::string &s) { return std::wstring(s.begin(), s.end()); }
} // namespace

// A file list over a list window, with page counts from a table instead of the engine: a PDF
// missing from it fails, a picture missing from it has its one page.
class FileList : public ListFixture {
protected:
  void SetUp() override {
    ListFixture::SetUp();
    plain = new CXListCtrl(m_frame, wxID_ANY, wxPoint(0, 0), wxSize(660, 400));
    // Each PDF is answered at once, as a reader that failed when the table has no entry.
    files = std::make_unique<CFileList>(plain, [this](const _stru_ItemData_ &record) {
      ++readsAsked;
      if (holdAnswers)
        return;
      auto it = pages.find(record.szFilePath);
      const int32_t unlisted = EndsWithPdf(record.szFilePath) ? 0 : 1;
      files->TakeReadAnswer(record.nItemID, it == pages.end() ? unlisted : it->second, false,
                            L"not a PDF (no header)");
    });
    files->SetupColumns();
  }
  void TearDown() override {
    files.reset();
    ListFixture::TearDown();
  }
  std::wstring Cell(int row, int col) { return plain->GetItemText(row, col).ToStdWstring(); }

  CXListCtrl *plain = nullptr;
  std::unique_ptr<CFileList> files;
  std::map<std::wstring, int32_t> pages;
  int readsAsked = 0;
  bool holdAnswers = false; // answers come later, through TakeReadAnswer
};

TEST_F(FileList, FiveColumnsWithTitlesWeightsAndThirtyPixelRows) {
  ASSERT_EQ(plain->GetColumns(), 5);
  EXPECT_EQ(plain->GetHeaderCtrl()->GetItem(0)->text, "Item");
  EXPECT_EQ(plain->GetHeaderCtrl()->GetItem(4)->text, "Page Range");
  int W = 660 - wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, plain) - 2;
  EXPECT_EQ(plain->GetColumnWidth(1), 24 * W / 64);
  EXPECT_EQ(plain->GetColumnWidth(4), 22 * W / 64);
  EXPECT_EQ(plain->GetRowHeight(), 30);
  EXPECT_TRUE(plain->GetExtendedStyle() & LVS_EX_FULLROWSELECT);
  EXPECT_TRUE(plain->GetExtendedStyle() & LVS_EX_GRIDLINES);
}

TEST_F(FileList, PdfPictureAndFailedRows) {
  TempDir dir;
  WriteFileBytes(dir.file("doc.pdf"), std::string(2000, 'x'));
  WriteFileBytes(dir.file("pic.JPG"), std::string(1048576, 'x'));
  std::wstring pdf = Wide(dir.file("doc.pdf")), pic = Wide(dir.file("pic.JPG"));
  pages[pdf] = 12;
  EXPECT_EQ(files->AppendFile(pdf), 0);
  EXPECT_EQ(files->AppendFile(pic), 1);
  EXPECT_EQ(files->AppendFile(L"/nowhere/broken.pdf"), 2); // the reader fails
  EXPECT_EQ(files->AppendFile(L"/x/notes.txt"), -1);
  pages[L"/x/text.png"] = -1; // named as a picture, but none
  EXPECT_EQ(files->AppendFile(L"/x/text.png"), 3);
  ASSERT_EQ(files->GetCount(), 4);

  EXPECT_EQ(Cell(0, 0), L"1");
  EXPECT_EQ(Cell(0, 1), L"doc.pdf");
  EXPECT_EQ(plain->GetItemToolTipText(0, 1).ToStdWstring(), pdf);
  EXPECT_EQ(Cell(0, 2), L"2KB");
  EXPECT_EQ(Cell(0, 3), L"12");
  EXPECT_EQ(Cell(0, 4), L"All(Double click to change the page range)");
  EXPECT_EQ(Cell(1, 2), L"1.00MB");
  EXPECT_EQ(Cell(1, 3), L"1");
  EXPECT_EQ(Cell(1, 4), L"All");
  EXPECT_EQ(Cell(2, 0), L"3");
  EXPECT_EQ(Cell(2, 2), L"0KB"); // no size to read
  EXPECT_EQ(Cell(2, 3), L"0");
  EXPECT_EQ(Cell(2, 4), L"PDF load fiailed");
  EXPECT_EQ(files->GetItemData(2)->nStatus, STATUS_LOAD_FAILED);
  EXPECT_EQ(Cell(3, 4), L"Picture load failed");
  // A failed row says why where its texts say that it failed; a good row has no tip there.
  EXPECT_EQ(plain->GetItemToolTipText(2, 4), "cannot be read: not a PDF (no header)");
  EXPECT_EQ(plain->GetItemToolTipText(3, 3), "cannot be read: not a PDF (no header)");
  EXPECT_EQ(plain->GetItemToolTipText(0, 4), "");

  for (int col = 0; col < 5; ++col) {
    EXPECT_EQ(plain->GetCellData(0, col)->crBackground, CFileList::kPdfColor);
    EXPECT_EQ(plain->GetCellData(1, col)->crBackground, CFileList::kPictureColor);
    EXPECT_EQ(plain->GetCellData(2, col)->crBackground, CFileList::kPdfColor);
    EXPECT_EQ(plain->GetCellData(1, col)->crText, 0u);
  }
  EXPECT_EQ(files->GetItemData(4), nullptr);
  EXPECT_EQ(files->GetItemData(-1), nullptr);
}

TEST_F(FileList, SameFileTwiceGivesTwoRowsWithConsecutiveIds) {
  pages[L"/d/a.pdf"] = 3;
  files->AppendFile(L"/d/a.pdf");
  files->AppendFile(L"/d/a.pdf");
  EXPECT_EQ(files->GetItemData(1)->nItemID, files->GetItemData(0)->nItemID + 1);
  for (int col = 1; col < 5; ++col)
    EXPECT_EQ(Cell(0, col), Cell(1, col));
}

TEST_F(FileList, DeletingRenumbersAndIdsAreNotReused) {
  for (const wchar_t *p : {L"/d/a.png", L"/d/b.png", L"/d/c.png", L"/d/d.png"})
    files->AppendFile(p);
  int lastId = files->GetItemData(3)->nItemID;
  EXPECT_TRUE(files->DeleteRow(1));
  EXPECT_FALSE(files->DeleteRow(3));
  ASSERT_EQ(files->GetCount(), 3);
  EXPECT_EQ(Cell(1, 1), L"c.png");
  for (int row = 0; row < 3; ++row)
    EXPECT_EQ(Cell(row, 0), std::to_wstring(row + 1));
  files->AppendFile(L"/d/e.png");
  EXPECT_EQ(files->GetItemData(3)->nItemID, lastId + 1);
  EXPECT_EQ(Cell(3, 0), L"4");
  files->RemoveAll();
  EXPECT_EQ(files->GetCount(), 0);
}

TEST_F(FileList, PathWithoutSeparatorHasAnEmptyNameAndThePathAsTip) {
  files->AppendFile(L"picture.bmp");
  EXPECT_EQ(Cell(0, 1), L"");
  EXPECT_EQ(plain->GetItemToolTipText(0, 1), "picture.bmp");
}

TEST_F(FileList, CustomRangeAndBackToAllPages) {
  pages[L"/d/a.pdf"] = 10;
  files->AppendFile(L"/d/a.pdf");
  EXPECT_TRUE(files->SetPageRange(0, L"1-3"));
  EXPECT_EQ(Cell(0, 4), L"1-3");
  EXPECT_EQ(*files->GetItemData(0)->pszPageRange, L"1-3");
  EXPECT_TRUE(files->SetAllPages(0));
  EXPECT_EQ(Cell(0, 4), L"All(Double click to change the page range)");
  ASSERT_TRUE(files->GetItemData(0)->pszPageRange); // kept, emptied
  EXPECT_TRUE(files->GetItemData(0)->pszPageRange->empty());
  EXPECT_FALSE(files->SetPageRange(1, L"2"));
}

TEST_F(FileList, LanguageChangeRetranslatesAllPagesCellsAndHeaders) {
  TempDir dir;
  WriteFileBytes(dir.file("lang_xx.ini"), "[STRING]\n155=Nr\n175=Alle Seiten\n187=Alles\n"
                                          "192=Fehler\n");
  setenv("VANTOREL_LANG_FOLDER", dir.path().c_str(), 1);
  pages[L"/d/a.pdf"] = 10;
  pages[L"/d/b.pdf"] = 10;
  files->AppendFile(L"/d/a.pdf");
  files->AppendFile(L"/d/b.pdf");
  files->AppendFile(L"/d/c.png");
  files->AppendFile(L"/d/bad.pdf");
  files->SetPageRange(1, L"1-3");
  files->SetPageRange(0, L"2");
  files->SetAllPages(0); // emptied buffer counts as no range
  SelectLanguage(L"xx");
  files->Retranslate();
  SelectLanguage(L"en");
  unsetenv("VANTOREL_LANG_FOLDER");
  EXPECT_EQ(Cell(0, 4), L"Alle Seiten");
  EXPECT_EQ(Cell(1, 4), L"1-3");
  EXPECT_EQ(Cell(2, 4), L"Alles");
  EXPECT_EQ(Cell(3, 4), L"Fehler");
  EXPECT_EQ(plain->GetHeaderCtrl()->GetItem(0)->text, "Nr");
  EXPECT_EQ(plain->GetHeaderCtrl()->GetItem(1)->text, "FileName");
  EXPECT_EQ(plain->GetCellData(2, 4)->crBackground, CFileList::kPictureColor);
}

TEST_F(FileList, MovingARowTakesItsRecordCellsAndSelectionAlong) {
  pages[L"/d/b.pdf"] = 4;
  for (const wchar_t *p : {L"/d/a.png", L"/d/b.pdf", L"/d/c.png"})
    files->AppendFile(p);
  files->SetPageRange(1, L"2-3");
  const _stru_ItemData_ *moved = files->GetItemData(1);
  plain->Select(1);
  EXPECT_TRUE(files->MoveRow(1, 3)); // to the end
  ASSERT_EQ(files->GetCount(), 3);
  EXPECT_EQ(files->GetItemData(2), moved); // the same record, not a copy
  EXPECT_EQ(Cell(2, 1), L"b.pdf");
  EXPECT_EQ(Cell(2, 3), L"4");
  EXPECT_EQ(Cell(2, 4), L"2-3");
  EXPECT_EQ(plain->GetItemToolTipText(2, 1), "/d/b.pdf");
  EXPECT_EQ(plain->GetCellData(2, 4)->crBackground, CFileList::kPdfColor);
  EXPECT_EQ(plain->GetCellData(1, 4)->crBackground, CFileList::kPictureColor);
  EXPECT_EQ(plain->GetSelectedItems(), std::vector<int>{2});
  for (int row = 0; row < 3; ++row)
    EXPECT_EQ(Cell(row, 0), std::to_wstring(row + 1));
  EXPECT_TRUE(files->MoveRow(2, 0)); // back to the front
  EXPECT_EQ(files->GetItemData(0), moved);
  EXPECT_EQ(Cell(1, 1), L"a.png");
}

TEST_F(FileList, MovesThatGoNowhereChangeNothing) {
  for (const wchar_t *p : {L"/d/a.png", L"/d/b.png"})
    files->AppendFile(p);
  for (auto [from, to] : {std::pair{0, 0}, {0, 1}, {-1, 0}, {2, 0}, {0, 3}})
    EXPECT_FALSE(files->MoveRow(from, to)) << from << " -> " << to;
  EXPECT_EQ(Cell(0, 1), L"a.png");
  EXPECT_EQ(Cell(1, 1), L"b.png");
}

TEST_F(FileList, ADeletedRowsRecordIsReleased) {
  files->AppendFile(L"/d/a.png");
  files->AppendFile(L"/d/b.png");
  std::weak_ptr<std::wstring> out = files->GetItemData(0)->pszOutPath;
  EXPECT_TRUE(files->DeleteRow(0));
  EXPECT_TRUE(out.expired());
  EXPECT_EQ(Cell(0, 1), L"b.png");
}

TEST_F(FileList, NameColumnTakesEitherSeparator) {
  // Paths written on Windows show their file name too.
  files->AppendFile(L"C:\\docs\\scan.png");
  EXPECT_EQ(Cell(0, 1), L"scan.png");
}

TEST_F(FileList, RecordsAreReleasedWithTheListObject) {
  files->AppendFile(L"/d/a.png");
  std::weak_ptr<std::wstring> out = files->GetItemData(0)->pszOutPath;
  files.reset();
  EXPECT_TRUE(out.expired());
  EXPECT_EQ(plain->GetItemCount(), 0);
}

TEST_F(FileList, PdfRowsShowTheirReadingUntilTheAnswerComes) {
  holdAnswers = true;
  TempDir dir;
  WriteFileBytes(dir.file("a.pdf"), "x");
  WriteFileBytes(dir.file("b.pdf"), "x");
  WriteFileBytes(dir.file("c.png"), "x");
  files->AppendFile(Wide(dir.file("a.pdf")));
  files->AppendFile(Wide(dir.file("b.pdf")));
  files->AppendFile(Wide(dir.file("c.png")));
  EXPECT_EQ(readsAsked, 3); // pictures are read too: a name says little
  EXPECT_EQ(files->GetReadingCount(), 3);
  EXPECT_EQ(Cell(0, 3), L"");
  EXPECT_EQ(Cell(0, 4), L"Reading...");
  EXPECT_EQ(files->GetItemData(0)->nStatus, STATUS_LOAD_FAILED); // never merged unread
  EXPECT_EQ(Cell(2, 4), L"Reading...");
  EXPECT_TRUE(files->TakeReadAnswer(files->GetItemData(2)->nItemID, 1, false));
  EXPECT_EQ(Cell(2, 4), L"All");

  // Answers find their rows by record, wherever the rows went meanwhile.
  const int32_t a = files->GetItemData(0)->nItemID, b = files->GetItemData(1)->nItemID;
  files->MoveRow(0, 2);
  EXPECT_TRUE(files->TakeReadAnswer(a, 7, false));
  EXPECT_EQ(files->FindRow(a), 1);
  EXPECT_EQ(Cell(1, 3), L"7");
  EXPECT_EQ(Cell(1, 4), L"All(Double click to change the page range)");
  EXPECT_EQ(files->GetItemData(1)->nStatus, STATUS_READY);
  EXPECT_EQ(files->GetItemData(1)->nReadState, READ_DONE);

  // A row removed while it was read takes nothing.
  files->DeleteRow(files->FindRow(b));
  EXPECT_FALSE(files->TakeReadAnswer(b, 3, false));
  EXPECT_EQ(files->GetReadingCount(), 0);
}

TEST_F(FileList, APdfLockedByAPasswordSaysSoInEveryLanguage) {
  holdAnswers = true;
  files->AppendFile(L"/x/locked.pdf");
  const int32_t id = files->GetItemData(0)->nItemID;
  files->TakeReadAnswer(id, -1, true);
  EXPECT_EQ(files->GetItemData(0)->nReadState, READ_NEEDS_PASSWORD);
  EXPECT_EQ(files->GetItemData(0)->nStatus, STATUS_LOAD_FAILED);
  EXPECT_EQ(Cell(0, 3), L"-1");
  EXPECT_EQ(Cell(0, 4), L"Password needed (double click to enter it)");
  for (const wchar_t *code : {L"de", L"fr", L"jp"}) {
    SelectLanguage(code);
    files->Retranslate();
    EXPECT_NE(Cell(0, 4), L"Password needed (double click to enter it)") << code;
    EXPECT_NE(Cell(0, 4), L"PDF load fiailed") << code;
  }
  SelectLanguage(L"en");
  // With the password the row is as any other.
  files->TakeReadAnswer(id, 4, false);
  EXPECT_EQ(Cell(0, 3), L"4");
  EXPECT_EQ(Cell(0, 4), L"All(Double click to change the page range)");
  EXPECT_EQ(files->GetItemData(0)->nStatus, STATUS_READY);
}
