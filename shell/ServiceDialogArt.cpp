#include "ServiceDialogArt.h"

#include "AnsiText.h"
#include "SystemFolders.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include <wx/filefn.h>
#include <wx/image.h>
#include <wx/log.h>

namespace {

int DluX(int units) { return static_cast<int>(std::lround(units * 1.5)); }
int DluY(int units) { return static_cast<int>(std::lround(units * 1.625)); }

} // namespace

wxBitmap LoadServiceBitmap(int id) {
  const char *override = std::getenv("VANTOREL_RESOURCE_FOLDER");
  const std::wstring folder =
      override && *override ? Utf8ToWide(override) : GetProgramFolder() + L"/resources";
  const std::wstring path = folder + L"/bitmap_" + std::to_wstring(id) + L".png";
  if (!wxFileExists(path))
    return wxBitmap();
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
    wxImage::AddHandler(new wxPNGHandler);
  // A damaged picture is drawn as missing, without a message box.
  wxLogNull quiet;
  wxImage image;
  if (!image.LoadFile(path, wxBITMAP_TYPE_PNG))
    return wxBitmap();
  return wxBitmap(image);
}

wxRect ServiceDluRect(int x, int y, int width, int height) {
  // Edges are rounded, not sizes, so that neighbours neither overlap nor part.
  const int left = DluX(x), top = DluY(y);
  return wxRect(left, top, DluX(x + width) - left, DluY(y + height) - top);
}

wxSize ServiceDluSize(int width, int height) { return wxSize(DluX(width), DluY(height)); }

wxFont ServiceDialogFont() { return wxFont(wxFontInfo(8).FaceName("Liberation Sans")); }
