#include "ItemData.h"

#include <sys/stat.h>

#include "AnsiText.h"
#include "FileIdentity.h"
#include "TextCompare.h"

int32_t g_nItemCounter = 0;

const wchar_t *const kSupportedExtensions[7] = {L".pdf",  L".jpg", L".jpeg", L".tif",
                                                L".tiff", L".png", L".bmp"};

int FindSupportedExtension(const std::wstring &path) {
  std::size_t dot = path.rfind(L'.');
  std::wstring ext = dot == std::wstring::npos ? path : path.substr(dot);
  for (int i = 0; i < kSupportedExtensionCount; ++i)
    if (EqualsNoCase(ext, kSupportedExtensions[i]))
      return i;
  return -1;
}

bool EndsWithPdf(const std::wstring &path) { return EndsWithNoCase(path, std::wstring(L".pdf")); }

std::unique_ptr<_stru_ItemData_> CreateItemData(const std::wstring &path, bool isPdf,
                                                const PdfProbe &probe) {
  auto item = std::make_unique<_stru_ItemData_>();
  item->szFilePath = path;
  item->nItemID = ++g_nItemCounter;
  item->pszOutPath = std::make_shared<std::wstring>();
  if (!isPdf) {
    item->nStatus = STATUS_READY;
    item->nTotalPage = 1;
    const FileStamp stamp = ReadFileStamp(path);
    item->nReadSize = stamp.nSize;
    item->nReadModified = stamp.nModified;
    return item;
  }
  try {
    item->nTotalPage = probe ? probe(item->szFilePath.c_str()) : -1;
    item->nStatus = item->nTotalPage > 0 ? STATUS_READY : STATUS_LOAD_FAILED;
  } catch (...) {
    // Whatever the probe throws, the file is listed, marked as failed.
    item->nTotalPage = 0;
    item->nStatus = STATUS_LOAD_FAILED;
  }
  return item;
}

std::unique_ptr<_stru_ItemData_> CreateUnreadItemData(const std::wstring &path) {
  auto item = std::make_unique<_stru_ItemData_>();
  item->szFilePath = path;
  item->nItemID = ++g_nItemCounter;
  item->pszOutPath = std::make_shared<std::wstring>();
  item->nTotalPage = 0;
  item->nStatus = STATUS_LOAD_FAILED;
  item->nReadState = READ_PENDING;
  return item;
}

void TakeProbeAnswer(_stru_ItemData_ &item, int32_t pages, bool needsPassword,
                     const std::wstring &problem, int64_t readSize, int64_t readModified) {
  item.nTotalPage = pages;
  item.nReadSize = readSize;
  item.nReadModified = readModified;
  item.strReadProblem = pages > 0 ? std::wstring() : problem;
  item.nStatus = pages > 0 ? STATUS_READY : STATUS_LOAD_FAILED;
  item.nReadState = pages <= 0 && needsPassword ? READ_NEEDS_PASSWORD : READ_DONE;
}

uint64_t ReadFileSize(const std::wstring &path) {
  struct stat st {};
  if (::stat(WideToUtf8(path).c_str(), &st) != 0)
    return 0;
  return static_cast<uint64_t>(st.st_size);
}
