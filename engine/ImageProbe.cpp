// Whether a picture can be placed, read from its header without decoding it.

#include "MergerTool.h"

#include "AnsiText.h"
#include "ImageSource.h"
#include "JpegInfo.h"
#include "SourceCache.h"

#include <utility>

bool MergerTool::GetImageInfo(const wchar_t *pszPath, int32_t *pnWidth, int32_t *pnHeight) {
  if (pszPath == nullptr || engine::KindFromPath(pszPath) != engine::SRC_IMAGE)
    return false;
  int width = 0, height = 0;
  std::wstring why;
  if (!engine::ReadPictureSize(pszPath, width, height, why))
    return false;
  // Photos stored on their side are placed upright.
  if (engine::IsDirectJpeg(pszPath) && engine::ReadJpegInfo(WideToUtf8(pszPath)).nOrientation >= 5)
    std::swap(width, height);
  if (pnWidth != nullptr)
    *pnWidth = width;
  if (pnHeight != nullptr)
    *pnHeight = height;
  return true;
}
