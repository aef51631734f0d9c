#include "FileListTexts.h"

#include <cwchar>

#include "Localization.h"

int ColumnWidth(int col, int listWidth, int scrollBarWidth) {
  if (col < 0 || col >= static_cast<int>(kColumnWeights.size()))
    return 0;
  int w = listWidth - scrollBarWidth - 2;
  return kColumnWeights[col] * w / 64;
}

std::wstring FormatSizeText(uint64_t size) {
  wchar_t text[64];
  // Single precision on purpose: the texts are those of the float products.
  if (size < 1048576u) {
    float kb = static_cast<float>(size) * 0.0009765625f;
    std::swprintf(text, 64, L"%0.fKB", static_cast<double>(kb));
  } else {
    float mb = static_cast<float>(size) * 9.5367431640625e-07f;
    std::swprintf(text, 64, L"%0.2fMB", static_cast<double>(mb));
  }
  return text;
}

std::wstring PageRangeText(const _stru_ItemData_ &item, bool isPdf) {
  if (item.nReadState == READ_PENDING)
    return LoadLangString(IDS_READING);
  if (isPdf && item.nReadState == READ_NEEDS_PASSWORD)
    return LoadLangString(IDS_NEEDS_PASSWORD);
  if (!item.HasAllPages())
    return *item.pszPageRange;
  if (!isPdf)
    return LoadLangString(item.nTotalPage >= 1 ? IDS_ALL_PICTURE : IDS_PICTURE_FAILED);
  return LoadLangString(item.nTotalPage >= 1 ? IDS_ALL_PDF : IDS_PDF_FAILED);
}

std::wstring PageCountText(const _stru_ItemData_ &item) {
  return item.nReadState == READ_PENDING ? std::wstring() : std::to_wstring(item.nTotalPage);
}
