// Pictures become image XObjects of the output. JPEG files are embedded unchanged; BMP, PNG and
// TIFF are decoded, laid on white where they are transparent, and encoded as JPEG in memory,
// so the conversion needs no temporary file. Only one decoded picture is held at a time.

#include "ImageSource.h"

#include "AnsiText.h"
#include "JpegInfo.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstring>
#include <cwctype>
#include <memory>

using namespace PoDoFo;

namespace engine {

namespace {

template <typename T> struct GFree {
  void operator()(T *p) const { g_object_unref(p); }
};
using PixbufPtr = std::unique_ptr<GdkPixbuf, GFree<GdkPixbuf>>;

// Position + 1 of the first writable format that writes "image/jpeg"; -1 when there is none.
int FindJpegEncoder(std::string &strName) {
  int nState = -1;
  GSList *formats = gdk_pixbuf_get_formats();
  int nPosition = 0;
  for (GSList *item = formats; item != nullptr && nState < 0; item = item->next, ++nPosition) {
    auto *format = static_cast<GdkPixbufFormat *>(item->data);
    if (!gdk_pixbuf_format_is_writable(format))
      continue;
    gchar **mimeTypes = gdk_pixbuf_format_get_mime_types(format);
    for (gchar **type = mimeTypes; type != nullptr && *type != nullptr; ++type) {
      if (std::strcmp(*type, "image/jpeg") == 0) {
        nState = nPosition + 1;
        gchar *name = gdk_pixbuf_format_get_name(format);
        strName = name;
        g_free(name);
        break;
      }
    }
    g_strfreev(mimeTypes);
  }
  g_slist_free(formats);
  return nState;
}

// A picture file re-encoded as JPEG; empty when it cannot be read or encoded.
std::string ConvertToJpeg(const std::string &strUtf8Path, const std::string &strEncoder) {
  GError *error = nullptr;
  PixbufPtr loaded(gdk_pixbuf_new_from_file(strUtf8Path.c_str(), &error));
  if (error != nullptr)
    g_error_free(error);
  if (!loaded)
    return {};
  // TIFF files may say they are turned; the JPEG is written upright.
  PixbufPtr picture(gdk_pixbuf_apply_embedded_orientation(loaded.get()));
  loaded.reset();
  if (!picture)
    return {};
  if (gdk_pixbuf_get_has_alpha(picture.get())) {
    // JPEG has no transparency: transparent parts become white paper, not black.
    const int w = gdk_pixbuf_get_width(picture.get()), h = gdk_pixbuf_get_height(picture.get());
    PixbufPtr flat(gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, w, h));
    if (!flat)
      return {};
    gdk_pixbuf_fill(flat.get(), 0xFFFFFFFFu);
    gdk_pixbuf_composite(picture.get(), flat.get(), 0, 0, w, h, 0, 0, 1, 1, GDK_INTERP_NEAREST, 255);
    picture = std::move(flat);
  }
  gchar *buffer = nullptr;
  gsize nSize = 0;
  if (!gdk_pixbuf_save_to_buffer(picture.get(), &buffer, &nSize, strEncoder.c_str(), &error,
                                 nullptr)) {
    if (error != nullptr)
      g_error_free(error);
    return {};
  }
  std::string jpeg(buffer, nSize);
  g_free(buffer);
  return jpeg;
}

} // namespace

bool IsDirectJpeg(const std::wstring &strPath) {
  if (strPath.size() < 4)
    return false;
  std::wstring end = strPath.substr(strPath.size() - 4);
  for (wchar_t &c : end)
    c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return end == L".jpg" || end == L"jpeg";
}

void LoadImageSource(OutputDocument &rDoc, const std::wstring &strPath, SourceEntry &entry,
                     ImageEncoder &encoder) {
  const std::string path = WideToUtf8(strPath);
  try {
    auto pImage = std::make_unique<PdfImage>(&rDoc);
    if (IsDirectJpeg(strPath)) {
      const JpegInfo info = ReadJpegInfo(path);
      if (!info.bComplete)
        return; // unreadable, not a JPEG, or cut short: skipped
      pImage->LoadFromJpeg(path.c_str());
      entry.nOrientation = info.nOrientation;
    } else {
      if (encoder.nState == 0)
        encoder.nState = FindJpegEncoder(encoder.strName);
      if (encoder.nState < 0)
        return; // no JPEG encoder: only JPEG files can be placed
      const std::string jpeg = ConvertToJpeg(path, encoder.strName);
      if (jpeg.empty())
        return;
      pImage->LoadFromJpegData(reinterpret_cast<const unsigned char *>(jpeg.data()),
                               static_cast<pdf_long>(jpeg.size()));
    }
    entry.imageRef = pImage->GetObject()->Reference();
    entry.dImageWidth = pImage->GetWidth();
    entry.dImageHeight = pImage->GetHeight();
    entry.nLoadState = 1;
  } catch (const PdfError &) {
    // A JPEG the PDF library cannot parse: the source is skipped. The half-made image object
    // is not reachable from any sheet and is dropped before writing.
  }
}

} // namespace engine
