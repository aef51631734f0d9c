#include "ResourceBitmap.h"

#include "AnsiText.h"
#include "SystemFolders.h"

#include <cstdlib>

#include <wx/dcmemory.h>
#include <wx/filefn.h>
#include <wx/image.h>
#include <wx/log.h>

namespace {

void EnsurePngHandler() {
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
    wxImage::AddHandler(new wxPNGHandler);
}

} // namespace

std::wstring GetResourceFolder() {
  const char *folder = std::getenv("VANTOREL_RESOURCE_FOLDER");
  if (folder && *folder)
    return Utf8ToWide(folder);
  return GetProgramFolder() + L"/resources";
}

wxBitmap LoadPngFile(const std::wstring &path) {
  EnsurePngHandler();
  if (!wxFileExists(path))
    return wxBitmap();
  // A damaged file is not worth a message box: the caller draws without it.
  wxLogNull quiet;
  wxImage image;
  if (!image.LoadFile(path, wxBITMAP_TYPE_PNG))
    return wxBitmap();
  return wxBitmap(image);
}

wxBitmap LoadBitmapResource(int id) {
  return LoadPngFile(GetResourceFolder() + L"/bitmap_" + std::to_wstring(id) + L".png");
}

wxIconBundle LoadIconResource(int id) {
  wxIconBundle icons;
  for (int size : {16, 24, 32, 48, 256}) {
    const wxBitmap picture = LoadPngFile(GetResourceFolder() + L"/icon_" + std::to_wstring(id) +
                                         L"_" + std::to_wstring(size) + L".png");
    if (picture.IsOk()) {
      wxIcon icon;
      icon.CopyFromBitmap(picture);
      icons.AddIcon(icon);
    }
  }
  return icons;
}

wxBitmap CutPicture(const wxBitmap &source, const wxRect &rect) {
  if (rect.width <= 0 || rect.height <= 0)
    return wxBitmap();
  wxBitmap picture(rect.width, rect.height, 24);
  wxMemoryDC target(picture);
  target.SetBackground(*wxBLACK_BRUSH);
  target.Clear();
  if (source.IsOk()) {
    const wxRect inside = rect.Intersect(wxRect(0, 0, source.GetWidth(), source.GetHeight()));
    if (!inside.IsEmpty()) {
      wxMemoryDC from;
      from.SelectObjectAsSource(source);
      target.Blit(inside.x - rect.x, inside.y - rect.y, inside.width, inside.height, &from,
                  inside.x, inside.y);
    }
  }
  target.SelectObject(wxNullBitmap);
  return picture;
}
