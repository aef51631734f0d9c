#include "CFileList.h"

#include <algorithm>

#include <wx/settings.h>

#include "AnsiText.h"
#include "FileListTexts.h"
#include "LeftOutRows.h"
#include "Localization.h"
#include "MergerTool.h"
#include "PathText.h"

namespace {
const int kRowHeight = 30;
const COLORREF kTextColor = 0; // black on every row

std::wstring Decimal(int value) { return std::to_wstring(value); }
} // namespace

CFileList::CFileList(CXListCtrl *list, ReadRequest read)
    : m_list(list), m_read(std::move(read)), m_rowHeightImages(1, kRowHeight, false, 0) {
  if (!m_read)
    m_read = [this](const _stru_ItemData_ &record) {
      int32_t status = PROBE_OK;
      std::wstring problem;
      int64_t size = -1, modified = 0;
      const int32_t pages = MergerTool::ProbeSource(record.szFilePath.c_str(), nullptr, &status,
                                                    &problem, &size, &modified, nullptr, nullptr);
      TakeReadAnswer(record.nItemID, pages, status == PROBE_NEEDS_PASSWORD, problem, size,
                     modified);
    };
}

// The records go with this object, whether or not the list window is still there.
CFileList::~CFileList() {
  if (m_list)
    RemoveAll();
}

void CFileList::SetupColumns() {
  if (!m_list)
    return;
  m_list->SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_INFOTIP);
  m_list->SetShowSelectionAlways(true);
  m_list->SetImageList(&m_rowHeightImages);
  for (int col = 0; col < static_cast<int>(kColumnTitleIds.size()); ++col)
    m_list->InsertColumn(col, LoadLangString(kColumnTitleIds[col]), HDF_LEFT, 0);
  LayoutColumns();
}

void CFileList::LayoutColumns() {
  if (!m_list)
    return;
  int scrollBar = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, m_list);
  int width = m_list->GetSize().x;
  CXHeaderCtrl *header = m_list->GetHeaderCtrl();
  // Straight to the header: the list's SetColumnWidth would add the header's spacing.
  for (int col = 0; col < header->GetItemCount(); ++col)
    header->SetItemWidth(col, ColumnWidth(col, width, scrollBar));
  m_list->Refresh(false);
}

int CFileList::GetCount() const { return m_list ? m_list->GetItemCount() : 0; }

_stru_ItemData_ *CFileList::GetItemData(int row) const {
  if (!m_list || row < 0 || row >= GetCount())
    return nullptr;
  return reinterpret_cast<_stru_ItemData_ *>(m_list->GetItemData(row));
}

void CFileList::SetCell(int row, int col, const std::wstring &text, bool isPdf) {
  m_list->SetItemText(row, col, text.c_str(), kTextColor, isPdf ? kPdfColor : kPictureColor);
}

int CFileList::AppendFile(const std::wstring &path) {
  if (!m_list)
    return -1;
  if (FindSupportedExtension(path) < 0)
    return -1;
  const int row = InsertRow(GetCount(), CreateUnreadItemData(path));
  if (row < 0)
    return -1;
  _stru_ItemData_ *record = GetItemData(row);
  record->nFileSize = ReadFileSize(record->szFilePath);
  ShowRecord(row);
  if (record->nReadState == READ_PENDING)
    m_read(*record);
  return row;
}

int CFileList::FindRow(int32_t itemId) const {
  for (int row = 0; row < GetCount(); ++row)
    if (const _stru_ItemData_ *item = GetItemData(row); item && item->nItemID == itemId)
      return row;
  return -1;
}

int CFileList::GetReadingCount() const {
  int count = 0;
  for (const auto &record : m_records)
    count += record->nReadState == READ_PENDING;
  return count;
}

bool CFileList::TakeReadAnswer(int32_t itemId, int32_t pages, bool needsPassword,
                               const std::wstring &problem, int64_t readSize,
                               int64_t readModified) {
  const int row = FindRow(itemId);
  if (row < 0)
    return false;
  TakeProbeAnswer(*GetItemData(row), pages, needsPassword, problem, readSize, readModified);
  ShowRecord(row);
  return true;
}

int CFileList::InsertRow(int row, std::unique_ptr<_stru_ItemData_> record) {
  const bool isPdf = EndsWithPdf(record->szFilePath);
  const int inserted =
      m_list->InsertItem(row, Decimal(row + 1), kTextColor, isPdf ? kPdfColor : kPictureColor);
  if (inserted < 0)
    return -1;
  if (!m_list->SetItemData(inserted, reinterpret_cast<std::uintptr_t>(record.get()))) {
    // A row without cell records cannot hold its record: take it back out.
    m_list->DeleteItem(inserted);
    return -1;
  }
  m_records.push_back(std::move(record));
  return inserted;
}

std::unique_ptr<_stru_ItemData_> CFileList::TakeRow(int row) {
  _stru_ItemData_ *item = GetItemData(row);
  m_list->SetItemData(row, 0);
  m_list->DeleteItem(row);
  const auto owned = std::find_if(m_records.begin(), m_records.end(),
                                  [item](const auto &record) { return record.get() == item; });
  if (!item || owned == m_records.end())
    return nullptr;
  std::unique_ptr<_stru_ItemData_> record = std::move(*owned);
  m_records.erase(owned);
  return record;
}

void CFileList::ShowRecord(int row) {
  _stru_ItemData_ *item = GetItemData(row);
  if (!item)
    return;
  bool isPdf = EndsWithPdf(item->szFilePath);
  SetCell(row, 0, Decimal(row + 1), isPdf);
  SetCell(row, 1, ShownFileName(item->szFilePath), isPdf);
  m_list->SetItemToolTipText(row, 1, ReadableText(item->szFilePath));
  SetCell(row, 3, PageCountText(*item), isPdf);
  SetCell(row, 2, FormatSizeText(item->nFileSize), isPdf);
  ShowPageRange(row);
}

void CFileList::ShowPageRange(int row) {
  const _stru_ItemData_ *item = GetItemData(row);
  if (!item)
    return;
  const bool isPdf = EndsWithPdf(item->szFilePath);
  SetCell(row, 4, PageRangeText(*item, isPdf), isPdf);
  LeftOutReason reason;
  const std::wstring why =
      FindLeftOutReason(*item, &reason) ? DescribeLeftOutReason(*item, reason) : std::wstring();
  m_list->SetItemToolTipText(row, 3, why);
  m_list->SetItemToolTipText(row, 4, why);
}

bool CFileList::DeleteRow(int row) {
  if (!m_list || row < 0 || row >= GetCount())
    return false;
  TakeRow(row);
  Renumber(row);
  return true;
}

void CFileList::RemoveAll() {
  if (!m_list)
    return;
  for (int row = GetCount() - 1; row >= 0; --row)
    TakeRow(row);
  m_records.clear();
}

bool CFileList::MoveRow(int from, int to) {
  const int count = GetCount();
  if (!m_list || from < 0 || from >= count || to < 0 || to > count || to == from || to == from + 1)
    return false;
  const bool selected = m_list->IsSelected(from);
  std::unique_ptr<_stru_ItemData_> record = TakeRow(from);
  const int row = record ? InsertRow(to > from ? to - 1 : to, std::move(record)) : -1;
  if (row >= 0) {
    ShowRecord(row);
    m_list->Select(row, selected);
  }
  Renumber();
  return row >= 0;
}

void CFileList::Renumber(int from) {
  for (int row = std::max(0, from); row < GetCount(); ++row)
    m_list->SetItemText(row, 0, Decimal(row + 1));
}

bool CFileList::SetPageRange(int row, const std::wstring &range) {
  _stru_ItemData_ *item = GetItemData(row);
  if (!item)
    return false;
  if (!item->pszPageRange)
    item->pszPageRange = std::make_shared<std::wstring>();
  *item->pszPageRange = range;
  ShowPageRange(row);
  return true;
}

bool CFileList::SetAllPages(int row) {
  _stru_ItemData_ *item = GetItemData(row);
  if (!item)
    return false;
  if (item->pszPageRange)
    item->pszPageRange->clear();
  ShowPageRange(row);
  return true;
}

void CFileList::Retranslate() {
  if (!m_list)
    return;
  for (int row = 0; row < GetCount(); ++row) {
    // A custom range shows as it is in every language; the tool tips follow the language.
    ShowPageRange(row);
  }
  CXHeaderCtrl *header = m_list->GetHeaderCtrl();
  for (int col = 0; col < header->GetItemCount() && col < int(kColumnTitleIds.size()); ++col)
    header->SetItemText(col, LoadLangString(kColumnTitleIds[col]));
}
