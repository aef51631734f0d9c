// Whether a picture can be placed, read from its header without decoding it.

#include "MergerTool.h"

#include "AnsiText.h"
#include "ImageSource.h"
#include "JpegInfo.h"
#include "SourceCache.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <utility>

bool MergerTool::GetImageInfo(const wchar_t *pszPath, int32_t *pnWidth, int32_t *pnHeight) {
  if (pszPath == nullptr || engine::KindFromPath(pszPath) != engine::SRC_IMAGE)
    return false;
  const std::string path = WideToUtf8(pszPath);
  gint width = 0, height = 0;
  GdkPixbufFormat *format = gdk_pixbuf_get_file_info(path.c_str(), &width, &height);
  if (format == nullptr || width <= 0 || height <= 0)
    return false;
  // Files named as JPEG are embedded as they are, so they must really be complete JPEGs.
  if (engine::IsDirectJpeg(pszPath)) {
    const engine::JpegInfo info = engine::ReadJpegInfo(path);
    if (!info.bComplete)
      return false;
    if (info.nOrientation >= 5)
      std::swap(width, height);
  }
  if (pnWidth != nullptr)
    *pnWidth = width;
  if (pnHeight != nullptr)
    *pnHeight = height;
  return true;
}
