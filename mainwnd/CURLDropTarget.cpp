#include "CURLDropTarget.h"

#include "CVantorelDlg.h"
#include "FileAdding.h"

wxDragResult CURLDropTarget::OnEnter(wxCoord x, wxCoord y, wxDragResult def) {
  return OnDragOver(x, y, def);
}

wxDragResult CURLDropTarget::OnDragOver(wxCoord, wxCoord, wxDragResult) { return wxDragCopy; }

wxDragResult CURLDropTarget::OnData(wxCoord x, wxCoord y, wxDragResult def) {
  if (!GetData())
    return wxDragNone;
  return wxFileDropTarget::OnData(x, y, def) == wxDragNone ? wxDragNone : wxDragCopy;
}

bool CURLDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString &filenames) {
  std::vector<std::wstring> paths;
  for (const wxString &name : filenames) {
    const std::wstring path = name.ToStdWstring();
    // The extensions never end one another, so a path is added at most once.
    if (EndsWithSupportedExtension(path))
      paths.push_back(path);
  }
  m_window->AddFiles(paths);
  return !paths.empty();
}
