// Page counts without merging: the same reader and the same walk of the page tree as the
// merge, so the probe and the merge always agree on a file's pages.

#include "MergerTool.h"

#include "AnsiText.h"
#include "FileIdentity.h"
#include "ImageSource.h"
#include "SourceCache.h"
#include "pdf/SourceDocument.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

int32_t Fail(int32_t nStatus, const std::wstring &reason, int32_t *pnStatus,
             std::wstring *pstrReason) {
  if (pnStatus != nullptr)
    *pnStatus = nStatus;
  if (pstrReason != nullptr)
    *pstrReason = reason;
  return -1;
}

} // namespace

int32_t MergerTool::ProbeSource(const wchar_t *pszPath, const char *pszPassword, int32_t *pnStatus,
                                std::wstring *pstrReason) {
  return ProbeSource(pszPath, pszPassword, pnStatus, pstrReason, nullptr, nullptr, nullptr,
                     nullptr);
}

int32_t MergerTool::ProbeSource(const wchar_t *pszPath, const char *pszPassword, int32_t *pnStatus,
                                std::wstring *pstrReason, int64_t *pnFileSize,
                                int64_t *pnFileModified, MergeCancelFn pfnCancel, void *pUserData) {
  // Taken before the file is read: a change while it is read then shows as one after it.
  const FileStamp stamp = pszPath ? ReadFileStamp(pszPath) : FileStamp();
  if (pnFileSize != nullptr)
    *pnFileSize = stamp.nSize;
  if (pnFileModified != nullptr)
    *pnFileModified = stamp.bExists ? stamp.nModified : 0;
  if (pnStatus != nullptr)
    *pnStatus = PROBE_OK;
  if (pstrReason != nullptr)
    pstrReason->clear();
  if (pszPath == nullptr)
    return Fail(PROBE_UNREADABLE, L"no such file", pnStatus, pstrReason);
  const std::string path = WideToUtf8(pszPath);
  struct stat info {};
  if (stat(path.c_str(), &info) != 0)
    return Fail(PROBE_UNREADABLE, L"no such file", pnStatus, pstrReason);
  if (S_ISDIR(info.st_mode))
    return Fail(PROBE_UNREADABLE, L"is a folder, not a file", pnStatus, pstrReason);
  if (access(path.c_str(), R_OK) != 0)
    return Fail(PROBE_UNREADABLE, L"cannot be read (permission denied)", pnStatus, pstrReason);
  const engine::SourceKind kind = engine::KindFromPath(pszPath);
  if (kind == engine::SRC_IMAGE) {
    int w = 0, h = 0;
    std::wstring why;
    if (!engine::ReadPictureSize(pszPath, w, h, why))
      return Fail(why.rfind(L"picture too large", 0) == 0 ? PROBE_TOO_LARGE : PROBE_BAD_PICTURE,
                  why, pnStatus, pstrReason);
    return 1;
  }
  if (kind != engine::SRC_PDF)
    return Fail(PROBE_UNSUPPORTED,
                L"unsupported file type (expected .pdf, .jpg, .jpeg, .png, .bmp, .tif or .tiff)",
                pnStatus, pstrReason);
  try {
    engine::pdf::OpenStatus status = engine::pdf::OpenStatus::Ok;
    std::string why;
    engine::pdf::SourceDocument::CancelFn cancel;
    if (pfnCancel != nullptr)
      cancel = [pfnCancel, pUserData] { return pfnCancel(pUserData); };
    auto doc = engine::pdf::SourceDocument::Open(path, pszPassword, status, why, cancel, true);
    if (status == engine::pdf::OpenStatus::Cancelled)
      return Fail(PROBE_CANCELLED, L"cancelled", pnStatus, pstrReason);
    if (doc == nullptr) {
      static const std::pair<engine::pdf::OpenStatus, int32_t> kCodes[] = {
          {engine::pdf::OpenStatus::NotReadable, PROBE_UNREADABLE},
          {engine::pdf::OpenStatus::NotPdf, PROBE_NOT_PDF},
          {engine::pdf::OpenStatus::NeedsPassword, PROBE_NEEDS_PASSWORD},
          {engine::pdf::OpenStatus::WrongPassword, PROBE_WRONG_PASSWORD},
          {engine::pdf::OpenStatus::BadEncryption, PROBE_BAD_ENCRYPTION}};
      int32_t code = PROBE_DAMAGED;
      for (const auto &[from, to] : kCodes)
        code = status == from ? to : code;
      return Fail(code, engine::DescribeOpenFailure(status, why), pnStatus, pstrReason);
    }
    return static_cast<int32_t>(doc->Pages().size());
  } catch (const std::bad_alloc &) {
    return Fail(PROBE_DAMAGED, L"damaged beyond repair: it asks for more memory than there is",
                pnStatus, pstrReason);
  } catch (const std::exception &e) {
    return Fail(PROBE_DAMAGED, L"damaged beyond repair: " + Utf8ToWide(e.what()), pnStatus,
                pstrReason);
  }
}

int32_t MergerTool::GetPdfInfo(const wchar_t *pszPath) {
  if (pszPath == nullptr)
    return -1;
  try {
    engine::pdf::OpenStatus status = engine::pdf::OpenStatus::Ok;
    std::string why;
    auto doc =
        engine::pdf::SourceDocument::Open(WideToUtf8(pszPath), nullptr, status, why, {}, true);
    return doc == nullptr ? -1 : static_cast<int32_t>(doc->Pages().size());
  } catch (const std::exception &) {
    return -1;
  }
}
