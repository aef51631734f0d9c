// Pictures become image XObjects of the output. JPEG files are embedded unchanged; BMP, PNG and
// TIFF are decoded, laid on white where they are transparent, and encoded as JPEG in memory,
// so the conversion needs no temporary file. Only one decoded picture is held at a time, and
// its transparency is flattened in place rather than in a second copy.

#include "ImageSource.h"

#include "AnsiText.h"
#include "JpegInfo.h"
#include "TextCompare.h"
#include "pdf/Limits.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

namespace engine {

using pdf::Value;

namespace {

template <typename T> struct GFree {
  void operator()(T *p) const { g_object_unref(p); }
};
using PixbufPtr = std::unique_ptr<GdkPixbuf, GFree<GdkPixbuf>>;

// The name of the first writable format that writes "image/jpeg"; empty when there is none.
std::string FindJpegEncoder() {
  std::string name;
  GSList *formats = gdk_pixbuf_get_formats();
  for (GSList *item = formats; item != nullptr && name.empty(); item = item->next) {
    auto *format = static_cast<GdkPixbufFormat *>(item->data);
    if (!gdk_pixbuf_format_is_writable(format))
      continue;
    gchar **mimeTypes = gdk_pixbuf_format_get_mime_types(format);
    for (gchar **type = mimeTypes; type != nullptr && *type != nullptr; ++type) {
      if (std::strcmp(*type, "image/jpeg") == 0) {
        gchar *formatName = gdk_pixbuf_format_get_name(format);
        name = formatName;
        g_free(formatName);
        break;
      }
    }
    g_strfreev(mimeTypes);
  }
  g_slist_free(formats);
  return name;
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
  if (gdk_pixbuf_get_has_alpha(picture.get()) && gdk_pixbuf_get_n_channels(picture.get()) == 4 &&
      gdk_pixbuf_get_bits_per_sample(picture.get()) == 8) {
    // JPEG has no transparency: transparent parts become white paper, not black. The JPEG
    // writer leaves the alpha channel out, so the colours are blended onto white in place.
    const int w = gdk_pixbuf_get_width(picture.get()), h = gdk_pixbuf_get_height(picture.get());
    const int stride = gdk_pixbuf_get_rowstride(picture.get());
    guchar *pixels = gdk_pixbuf_get_pixels(picture.get());
    for (int y = 0; y < h; ++y) {
      guchar *p = pixels + static_cast<ptrdiff_t>(y) * stride;
      for (int x = 0; x < w; ++x, p += 4) {
        const unsigned a = p[3];
        for (int k = 0; k < 3; ++k)
          p[k] = static_cast<guchar>((p[k] * a + 255u * (255u - a) + 127u) / 255u);
        p[3] = 255;
      }
    }
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

std::string ReadFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

bool IsDirectJpeg(const std::wstring &strPath) {
  return EndsWithNoCase(strPath, L".jpg") || EndsWithNoCase(strPath, L"jpeg");
}

bool ReadPictureSize(const std::wstring &strPath, int &nWidth, int &nHeight,
                     std::wstring &strReason) {
  const std::string path = WideToUtf8(strPath);
  gint width = 0, height = 0;
  if (IsDirectJpeg(strPath)) {
    const JpegInfo info = ReadJpegInfo(path);
    if (!info.bComplete || info.nWidth <= 0 || info.nHeight <= 0 ||
        (info.nComponents != 1 && info.nComponents != 3 && info.nComponents != 4)) {
      strReason = L"not a readable picture (damaged, cut short, or not the kind its name says)";
      return false;
    }
    width = info.nWidth;
    height = info.nHeight;
  } else if (gdk_pixbuf_get_file_info(path.c_str(), &width, &height) == nullptr || width <= 0 ||
             height <= 0) {
    strReason = L"not a readable picture (damaged, cut short, or not the kind its name says)";
    return false;
  }
  if (static_cast<int64_t>(width) * height > limits::kMaxPicturePixels) {
    strReason = L"picture too large (" + std::to_wstring(width) + L" x " + std::to_wstring(height) +
                L" pixels; the limit is " + std::to_wstring(limits::kMaxPicturePixels / 1000000) +
                L" megapixels)";
    return false;
  }
  nWidth = width;
  nHeight = height;
  return true;
}

void LoadImageSource(MergeContext &context, const std::wstring &strPath, SourceEntry &entry) {
  int nWidth = 0, nHeight = 0;
  if (!ReadPictureSize(strPath, nWidth, nHeight, entry.strFailure))
    return;
  const std::string path = WideToUtf8(strPath);
  std::string data;
  pdf::Dict image;
  image.Set("Type", Value::MakeName("XObject"));
  image.Set("Subtype", Value::MakeName("Image"));
  image.Set("BitsPerComponent", Value(8));
  image.Set("Filter", Value::MakeName("DCTDecode"));
  if (IsDirectJpeg(strPath)) {
    const JpegInfo info = ReadJpegInfo(path);
    data = ReadFile(path);
    if (data.empty()) {
      entry.strFailure = L"cannot be read";
      return;
    }
    image.Set("ColorSpace", Value::MakeName(info.nComponents == 1   ? "DeviceGray"
                                            : info.nComponents == 4 ? "DeviceCMYK"
                                                                    : "DeviceRGB"));
    if (info.nComponents == 4 && info.bAdobe)
      image.Set("Decode", Value(pdf::Array{Value(1), Value(0), Value(1), Value(0), Value(1),
                                           Value(0), Value(1), Value(0)}));
    entry.nOrientation = info.nOrientation;
  } else {
    static const std::string encoder = FindJpegEncoder();
    if (encoder.empty()) {
      entry.strFailure = L"pictures other than JPEG cannot be converted on this system";
      return;
    }
    data = ConvertToJpeg(path, encoder);
    if (data.empty()) {
      entry.strFailure =
          L"not a readable picture (damaged, cut short, or not the kind its name says)";
      return;
    }
    // The converted picture is upright and may have another size than the header said.
    image.Set("ColorSpace", Value::MakeName("DeviceRGB"));
    int w = 0, h = 0;
    {
      // Read the size back from the JPEG just made.
      size_t i = 2;
      const auto *p = reinterpret_cast<const unsigned char *>(data.data());
      while (i + 9 < data.size() && p[i] == 0xFF) {
        const unsigned char marker = p[i + 1];
        const size_t len = (static_cast<size_t>(p[i + 2]) << 8) | p[i + 3];
        if (marker >= 0xC0 && marker <= 0xC3) {
          h = (p[i + 5] << 8) | p[i + 6];
          w = (p[i + 7] << 8) | p[i + 8];
          if (p[i + 9] == 1)
            image.Set("ColorSpace", Value::MakeName("DeviceGray"));
          break;
        }
        i += 2 + len;
      }
    }
    if (w <= 0 || h <= 0) {
      entry.strFailure =
          L"not a readable picture (damaged, cut short, or not the kind its name says)";
      return;
    }
    nWidth = w;
    nHeight = h;
  }
  image.Set("Width", Value(nWidth));
  image.Set("Height", Value(nHeight));
  entry.nImage = context.out.Writer().Reserve();
  context.out.Writer().WriteStream(entry.nImage, Value(std::move(image)), data);
  context.out.RegisterXObject(entry.nImage);
  entry.dImageWidth = nWidth;
  entry.dImageHeight = nHeight;
  entry.nLoadState = 1;
}

} // namespace engine
