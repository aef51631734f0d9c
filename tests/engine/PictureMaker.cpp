#include "PictureMaker.h"

#include "support/TempDir.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <stdexcept>

namespace {

GdkPixbuf *Filled(int width, int height, bool alpha) {
  GdkPixbuf *pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, alpha, 8, width, height);
  if (!pixbuf)
    throw std::runtime_error("cannot make a picture");
  return pixbuf;
}

void Paint(GdkPixbuf *pixbuf, int y0, int y1, int x0, int x1, unsigned rgb, int alpha) {
  const int channels = gdk_pixbuf_get_n_channels(pixbuf);
  const int stride = gdk_pixbuf_get_rowstride(pixbuf);
  guchar *pixels = gdk_pixbuf_get_pixels(pixbuf);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      guchar *p = pixels + y * stride + x * channels;
      p[0] = (rgb >> 16) & 0xFF;
      p[1] = (rgb >> 8) & 0xFF;
      p[2] = rgb & 0xFF;
      if (channels == 4)
        p[3] = static_cast<guchar>(alpha);
    }
}

void Save(GdkPixbuf *pixbuf, const std::string &path, const std::string &format) {
  GError *error = nullptr;
  const bool ok = gdk_pixbuf_save(pixbuf, path.c_str(), format.c_str(), &error, nullptr);
  if (error)
    g_error_free(error);
  g_object_unref(pixbuf);
  if (!ok)
    throw std::runtime_error("cannot save a " + format + " picture");
}

} // namespace

void MakePicture(const std::string &path, const std::string &format, int width, int height,
                 unsigned rgb, bool transparentRightHalf) {
  GdkPixbuf *pixbuf = Filled(width, height, transparentRightHalf);
  Paint(pixbuf, 0, height, 0, width, rgb, 255);
  if (transparentRightHalf)
    Paint(pixbuf, 0, height, width / 2, width, 0x000000, 0);
  Save(pixbuf, path, format);
}

void MakeOrientedJpeg(const std::string &path, int width, int height, unsigned rgbTop,
                      unsigned rgbBottom, int orientation) {
  GdkPixbuf *pixbuf = Filled(width, height, false);
  Paint(pixbuf, 0, height / 2, 0, width, rgbTop, 255);
  Paint(pixbuf, height / 2, height, 0, width, rgbBottom, 255);
  Save(pixbuf, path, "jpeg");
  // An APP1 "Exif" segment right after the start marker: big-endian TIFF, one IFD0 entry.
  const std::string jpeg = ReadFileBytes(path);
  std::string tiff = std::string("MM\0\x2a\0\0\0\x08", 8) + std::string("\0\x01", 2) +
                     std::string("\x01\x12\0\x03\0\0\0\x01", 8) +
                     std::string{'\0', static_cast<char>(orientation), '\0', '\0'} +
                     std::string("\0\0\0\0", 4);
  const std::string app1 = std::string("Exif\0\0", 6) + tiff;
  const size_t length = app1.size() + 2;
  const std::string segment = std::string("\xFF\xE1", 2) + static_cast<char>(length >> 8) +
                              static_cast<char>(length & 0xFF) + app1;
  WriteFileBytes(path, jpeg.substr(0, 2) + segment + jpeg.substr(2));
}
