#include "PageRenderer.h"

#include "AnsiText.h"
#include "MergerTool.h"

#include <poppler.h>

#include <algorithm>
#include <cmath>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

struct PageRenderer::Document {
  PopplerDocument *doc = nullptr;
  ~Document() {
    if (doc)
      g_object_unref(doc);
  }
};

namespace {

// What poppler's open error means for the user.
std::wstring DescribeOpenError(const GError *error) {
  std::wstring detail = error && error->message ? Utf8ToWide(error->message) : std::wstring();
  if (!detail.empty() && detail.back() != L'.')
    detail += L'.';
  std::wstring text = L"The file is damaged or is not a PDF";
  return detail.empty() ? text + L"." : text + L": " + detail;
}

} // namespace

PageRenderer::PageRenderer() = default;

PageRenderer::~PageRenderer() = default;

void PageRenderer::Close() {
  m_doc.reset();
  m_nStatus = RENDER_UNREADABLE;
  m_strReason.clear();
}

bool PageRenderer::Open(const std::wstring &path, const std::string &password) {
  Close();
  const std::string file = WideToUtf8(path);
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0 || S_ISDIR(st.st_mode) || ::access(file.c_str(), R_OK) != 0) {
    m_nStatus = RENDER_UNREADABLE;
    m_strReason = L"The file cannot be read: it is missing, a folder, or not readable.";
    return false;
  }
  GError *error = nullptr;
  gchar *uri = g_filename_to_uri(file.c_str(), nullptr, &error);
  if (!uri) {
    g_clear_error(&error);
    m_nStatus = RENDER_UNREADABLE;
    m_strReason = L"The file cannot be read: its name cannot be given to the renderer.";
    return false;
  }
  // poppler takes a password as bytes (and their Latin-1 form): each form a writer may have
  // given it (PDFDocEncoding, UTF-8, Windows-1252) is tried in turn.
  PopplerDocument *doc = nullptr;
  const std::vector<std::string> forms = password.empty()
                                             ? std::vector<std::string>{std::string()}
                                             : MergerTool::GetPasswordForms(password.c_str());
  for (size_t i = 0; i < forms.size() && doc == nullptr; ++i) {
    g_clear_error(&error);
    doc =
        poppler_document_new_from_file(uri, password.empty() ? nullptr : forms[i].c_str(), &error);
    if (!error || error->domain != POPPLER_ERROR || error->code != POPPLER_ERROR_ENCRYPTED)
      break;
  }
  g_free(uri);
  if (!doc) {
    if (error && error->domain == POPPLER_ERROR && error->code == POPPLER_ERROR_ENCRYPTED) {
      m_nStatus = password.empty() ? RENDER_NEEDS_PASSWORD : RENDER_WRONG_PASSWORD;
      m_strReason = password.empty() ? L"The file is encrypted: it opens only with its password."
                                     : L"The password does not open this file.";
    } else if (error && error->domain == POPPLER_ERROR && error->code == POPPLER_ERROR_OPEN_FILE) {
      m_nStatus = RENDER_UNREADABLE;
      m_strReason = L"The file cannot be read.";
    } else {
      m_nStatus = RENDER_DAMAGED;
      m_strReason = DescribeOpenError(error);
    }
    g_clear_error(&error);
    return false;
  }
  m_doc = std::make_unique<Document>();
  m_doc->doc = doc;
  if (poppler_document_get_n_pages(doc) <= 0) {
    m_doc.reset();
    m_nStatus = RENDER_NO_PAGES;
    m_strReason = L"The document has no pages.";
    return false;
  }
  m_nStatus = RENDER_OK;
  return true;
}

int PageRenderer::PageCount() const { return m_doc ? poppler_document_get_n_pages(m_doc->doc) : 0; }

bool PageRenderer::PageSize(int index, double *width, double *height) const {
  if (!m_doc || index < 0 || index >= PageCount())
    return false;
  PopplerPage *page = poppler_document_get_page(m_doc->doc, index);
  if (!page)
    return false;
  // The crop box, with width and height exchanged for a quarter turn.
  poppler_page_get_size(page, width, height);
  g_object_unref(page);
  return *width > 0 && *height > 0;
}

std::shared_ptr<PageImage> PageRenderer::Render(int index, int maxWidth, int maxHeight) const {
  double w = 0, h = 0;
  if (maxWidth < 1 || maxHeight < 1 || !PageSize(index, &w, &h))
    return nullptr;
  const double scale = std::min(maxWidth / w, maxHeight / h);
  const int pixelsWide = std::clamp(static_cast<int>(std::lround(w * scale)), 1, maxWidth);
  const int pixelsHigh = std::clamp(static_cast<int>(std::lround(h * scale)), 1, maxHeight);

  cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixelsWide, pixelsHigh);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  cairo_t *cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_scale(cr, pixelsWide / w, pixelsHigh / h);
  PopplerPage *page = poppler_document_get_page(m_doc->doc, index);
  if (page) {
    poppler_page_render(page, cr);
    g_object_unref(page);
  }
  cairo_destroy(cr);
  cairo_surface_flush(surface);

  auto image = std::make_shared<PageImage>();
  image->width = pixelsWide;
  image->height = pixelsHigh;
  image->rgb.resize(static_cast<size_t>(pixelsWide) * static_cast<size_t>(pixelsHigh) * 3);
  const unsigned char *data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  uint8_t *out = image->rgb.data();
  for (int y = 0; y < pixelsHigh; ++y) {
    // RGB24 keeps each pixel as a native 32-bit 0x00RRGGBB.
    const auto *row = reinterpret_cast<const uint32_t *>(data + static_cast<ptrdiff_t>(y) * stride);
    for (int x = 0; x < pixelsWide; ++x) {
      const uint32_t pixel = row[x];
      *out++ = static_cast<uint8_t>(pixel >> 16);
      *out++ = static_cast<uint8_t>(pixel >> 8);
      *out++ = static_cast<uint8_t>(pixel);
    }
  }
  cairo_surface_destroy(surface);
  return image;
}
