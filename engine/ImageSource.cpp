// Pictures become image XObjects of the output. What a picture is comes from its first bytes,
// never from its name: anything but JPEG, PNG, BMP and TIFF is refused before a decoder sees it
// (the imaging library would otherwise pick a decoder by content, SVG included). JPEG files are
// embedded unchanged; BMP, PNG and TIFF are decoded by the decoder of their kind, fed in chunks
// with a cancel test between them, laid on white where they are transparent, and encoded as
// JPEG in memory, so the conversion needs no temporary file. Only one decoded picture is held at
// a time, and its transparency is flattened in place rather than in a second copy.

#include "ImageSource.h"

#include "AnsiText.h"
#include "JpegInfo.h"
#include "pdf/Limits.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

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

enum class PictureKind { kUnreadable, kOther, kJpeg, kPng, kBmp, kTiff };

PictureKind SniffPicture(const std::string &strUtf8Path) {
  std::ifstream in(strUtf8Path, std::ios::binary);
  if (!in)
    return PictureKind::kUnreadable;
  unsigned char head[8] = {};
  in.read(reinterpret_cast<char *>(head), sizeof head);
  const auto starts = [&head, &in](const char *sig, size_t n) {
    return static_cast<size_t>(in.gcount()) >= n && std::memcmp(head, sig, n) == 0;
  };
  if (starts("\xFF\xD8\xFF", 3))
    return PictureKind::kJpeg;
  if (starts("\x89PNG\r\n\x1A\n", 8))
    return PictureKind::kPng;
  if (starts("BM", 2))
    return PictureKind::kBmp;
  if (starts("II*\0", 4) || starts("MM\0*", 4))
    return PictureKind::kTiff;
  return PictureKind::kOther;
}

uint32_t Read32(const std::string &b, size_t at, bool bLittle) {
  const auto u = [&b, at](size_t k) {
    return static_cast<uint32_t>(static_cast<uint8_t>(b[at + k]));
  };
  return bLittle ? u(0) | u(1) << 8 | u(2) << 16 | u(3) << 24
                 : u(0) << 24 | u(1) << 16 | u(2) << 8 | u(3);
}

// Whether a PNG or BMP file holds all that its header announces. Their decoders here take a
// file cut short for a whole one and leave the missing rows as whatever memory held.
bool Complete(const std::string &strUtf8Path, PictureKind kind) {
  std::ifstream in(strUtf8Path, std::ios::binary);
  in.seekg(0, std::ios::end);
  const auto nSize = static_cast<uint64_t>(std::max<std::streamoff>(in.tellg(), 0));
  in.seekg(0);
  std::string head(8, '\0');
  if (kind == PictureKind::kPng) {
    // Chunk by chunk (length, type, data, CRC) up to the end chunk.
    for (uint64_t at = 8; at + 12 <= nSize;) {
      in.seekg(static_cast<std::streamoff>(at));
      if (!in.read(head.data(), 8))
        return false;
      if (head.compare(4, 4, "IEND") == 0)
        return true;
      at += 12 + static_cast<uint64_t>(Read32(head, 0, false));
    }
    return false;
  }
  if (kind == PictureKind::kBmp) {
    head.resize(34);
    if (!in.read(head.data(), 34))
      return false;
    const uint64_t nFileSize = Read32(head, 2, true), nOffset = Read32(head, 10, true);
    const auto nWidth = static_cast<int32_t>(Read32(head, 18, true));
    const auto nHeight = static_cast<int32_t>(Read32(head, 22, true));
    const unsigned nBits = Read32(head, 28, true) & 0xFFFF, nCompression = Read32(head, 30, true);
    if (nCompression != 0 && nCompression != 3) // run-length coded: only the stated size
      return nSize >= nFileSize;
    const uint64_t nRow =
        (static_cast<uint64_t>(std::abs(static_cast<int64_t>(nWidth))) * nBits + 31) / 32 * 4;
    return nSize >= nOffset + nRow * static_cast<uint64_t>(std::abs(static_cast<int64_t>(nHeight)));
  }
  return true;
}

const char *DecoderName(PictureKind kind) {
  return kind == PictureKind::kPng ? "png" : kind == PictureKind::kBmp ? "bmp" : "tiff";
}

const wchar_t kNotReadable[] =
    L"not a readable picture (damaged, cut short, or not the kind its name says)";

// The decoder of one kind, closed however the decoding ends.
struct Decoder {
  GdkPixbufLoader *p = nullptr;
  bool bClosed = false;
  ~Decoder() {
    if (p != nullptr) {
      if (!bClosed)
        gdk_pixbuf_loader_close(p, nullptr);
      g_object_unref(p);
    }
  }
};

// The picture decoded by the decoder of its kind; null when it is damaged. A large picture takes
// seconds to decode, so the file is fed in pieces and a cancel is honoured between them.
PixbufPtr Decode(MergeContext &context, const std::string &strUtf8Path, PictureKind kind) {
  Decoder decoder;
  decoder.p = gdk_pixbuf_loader_new_with_type(DecoderName(kind), nullptr);
  std::ifstream in(strUtf8Path, std::ios::binary);
  if (decoder.p == nullptr || !in)
    return nullptr;
  // Small pieces: deflate packs up to a thousand times, so one piece may be megabytes of pixels.
  std::vector<char> chunk(8 * 1024);
  for (;;) {
    in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    const auto n = static_cast<gsize>(in.gcount());
    if (n == 0)
      break;
    context.CheckCancel();
    if (!gdk_pixbuf_loader_write(decoder.p, reinterpret_cast<const guchar *>(chunk.data()), n,
                                 nullptr))
      return nullptr;
  }
  context.CheckCancel();
  decoder.bClosed = true;
  if (!gdk_pixbuf_loader_close(decoder.p, nullptr))
    return nullptr;
  GdkPixbuf *pixbuf = gdk_pixbuf_loader_get_pixbuf(decoder.p);
  if (pixbuf == nullptr)
    return nullptr;
  return PixbufPtr(GDK_PIXBUF(g_object_ref(pixbuf)));
}

struct EncodeTarget {
  MergeContext *pContext;
  std::string *pJpeg;
};

// The encoder hands over its output piece by piece: a cancel stops it there.
gboolean TakeEncoded(const gchar *buffer, gsize count, GError **error, gpointer data) {
  auto *target = static_cast<EncodeTarget *>(data);
  if (target->pContext->Cancelled()) {
    g_set_error_literal(error, GDK_PIXBUF_ERROR, GDK_PIXBUF_ERROR_FAILED, "cancelled");
    return FALSE;
  }
  target->pJpeg->append(buffer, count);
  return TRUE;
}

// A picture file re-encoded as JPEG; empty when it cannot be read or encoded.
std::string ConvertToJpeg(MergeContext &context, const std::string &strUtf8Path, PictureKind kind,
                          const std::string &strEncoder) {
  PixbufPtr loaded = Decode(context, strUtf8Path, kind);
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
      if (y % 512 == 0)
        context.CheckCancel();
      guchar *p = pixels + static_cast<ptrdiff_t>(y) * stride;
      for (int x = 0; x < w; ++x, p += 4) {
        const unsigned a = p[3];
        for (int k = 0; k < 3; ++k)
          p[k] = static_cast<guchar>((p[k] * a + 255u * (255u - a) + 127u) / 255u);
        p[3] = 255;
      }
    }
  }
  std::string jpeg;
  EncodeTarget target{&context, &jpeg};
  GError *error = nullptr;
  const bool bSaved = gdk_pixbuf_save_to_callback(picture.get(), TakeEncoded, &target,
                                                  strEncoder.c_str(), &error, nullptr);
  if (error != nullptr)
    g_error_free(error);
  context.CheckCancel();
  return bSaved ? jpeg : std::string();
}

std::string ReadFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

bool IsDirectJpeg(const std::wstring &strPath) {
  return SniffPicture(WideToUtf8(strPath)) == PictureKind::kJpeg;
}

bool ReadPictureSize(const std::wstring &strPath, int &nWidth, int &nHeight,
                     std::wstring &strReason) {
  const std::string path = WideToUtf8(strPath);
  gint width = 0, height = 0;
  const PictureKind kind = SniffPicture(path);
  if (kind == PictureKind::kUnreadable) {
    strReason = L"cannot be read";
    return false;
  }
  if (kind == PictureKind::kOther) {
    strReason = L"not a JPEG, PNG, BMP or TIFF picture (its contents are of another kind, "
                L"whatever its name says)";
    return false;
  }
  if (kind == PictureKind::kJpeg) {
    const JpegInfo info = ReadJpegInfo(path);
    if (!info.bComplete || info.nWidth <= 0 || info.nHeight <= 0 ||
        (info.nComponents != 1 && info.nComponents != 3 && info.nComponents != 4)) {
      strReason = kNotReadable;
      return false;
    }
    // Embedded as it is, and PDF readers take 8-bit JPEG data only; the imaging library here
    // cannot decode other precisions to convert them.
    if (info.nBits != 8) {
      strReason = L"a " + std::to_wstring(info.nBits) +
                  L"-bit JPEG, which PDF readers cannot show (save it as an 8-bit JPEG)";
      return false;
    }
    width = info.nWidth;
    height = info.nHeight;
  } else if (gdk_pixbuf_get_file_info(path.c_str(), &width, &height) == nullptr || width <= 0 ||
             height <= 0 || !Complete(path, kind)) {
    strReason = kNotReadable;
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
  const PictureKind kind = SniffPicture(path);
  if (kind == PictureKind::kJpeg) {
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
    data = ConvertToJpeg(context, path, kind, encoder);
    if (data.empty()) {
      entry.strFailure = kNotReadable;
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
      entry.strFailure = kNotReadable;
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
