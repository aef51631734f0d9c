#pragma once
#include "PageImage.h"

#include <memory>
#include <string>

// Why a document could not be opened for rendering.
enum RenderStatus : int {
  RENDER_OK = 0,
  RENDER_UNREADABLE = 1,     // missing, a folder, or no permission
  RENDER_DAMAGED = 2,        // not a PDF, or damaged beyond what the renderer mends
  RENDER_NEEDS_PASSWORD = 3, // encrypted, and no password was given
  RENDER_WRONG_PASSWORD = 4,
  RENDER_NO_PAGES = 5,
};

// One PDF opened for rendering with poppler, the renderer of the desktop's PDF readers. Pages
// are drawn as a reader shows them: the crop box, turned by the page's /Rotate.
//
// A renderer is used by one thread at a time (poppler's documents are not shared between
// threads); a window renders on a worker that owns its own renderer.
class PageRenderer {
public:
  PageRenderer();
  ~PageRenderer();
  PageRenderer(const PageRenderer &) = delete;
  PageRenderer &operator=(const PageRenderer &) = delete;

  // Opens the PDF at path; password is UTF-8 as the engine takes it, empty for none.
  // False when it cannot be rendered: Status() and Reason() say why.
  bool Open(const std::wstring &path, const std::string &password);
  void Close();

  int Status() const { return m_nStatus; }
  // A sentence for the user ("The file is damaged: ..."); empty after a successful Open.
  const std::wstring &Reason() const { return m_strReason; }
  // Pages of the open document, 0 when none is open.
  int PageCount() const;
  // The size in points of page index (from 0) as it is shown; false for a page that is not
  // there.
  bool PageSize(int index, double *width, double *height) const;
  // Page index drawn on white, as large as fits maxWidth x maxHeight pixels without changing
  // its shape (at least 1 x 1). Null for a page that is not there or a box under one pixel.
  std::shared_ptr<PageImage> Render(int index, int maxWidth, int maxHeight) const;

private:
  struct Document;
  std::unique_ptr<Document> m_doc;
  int m_nStatus = RENDER_UNREADABLE;
  std::wstring m_strReason;
};
