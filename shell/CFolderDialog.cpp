#include "CFolderDialog.h"

#include "FolderBrowser.h"

#include <wx/filefn.h>

namespace {

const size_t kStatusPathLength = 35;
const wchar_t kTitle[] = L"Current Selection";

} // namespace

CFolderDialog::CFolderDialog(const wxString &initialFolder, wxWindow *parent)
    : m_initialFolder(initialFolder), m_parent(parent) {}

CFolderDialog::~CFolderDialog() = default;

wxString CFolderDialog::ShortenPath(const wxString &path) {
  if (path.length() <= kStatusPathLength)
    return path;
  return path.Left(kStatusPathLength) + "...";
}

int CFolderDialog::DoModal() {
  m_selectedFolder = m_initialFolder;
  FolderBrowser browser(m_parent, kTitle,
                        [this](FolderBrowser &b, int event, const wxString &path) {
                          BrowseCallback(b, event, path);
                        });
  m_browser = &browser;
  const int answer = browser.ShowModal();
  const wxString chosen = browser.GetSelectedPath();
  m_browser = nullptr;
  // Only a real folder counts: nothing selected, or a folder gone meanwhile, is no choice.
  if (answer != wxID_OK || chosen.empty() || !wxDirExists(chosen))
    return kCancel;
  m_selectedFolder = chosen;
  return kOK;
}

void CFolderDialog::BrowseCallback(FolderBrowser &browser, int event, const wxString &path) {
  m_browser = &browser;
  switch (event) {
  case FolderBrowser::kInitialized:
    OnInitialized();
    break;
  case FolderBrowser::kSelectionChanged:
    OnSelChanged(path);
    break;
  default:
    break;
  }
}

void CFolderDialog::OnInitialized() {
  if (m_browser)
    m_browser->SelectFolder(m_initialFolder);
  SetStatusText(ShortenPath(m_initialFolder));
}

void CFolderDialog::OnSelChanged(const wxString &path) {
  m_path = path;
  m_selectedFolder = path;
  SetStatusText(ShortenPath(m_selectedFolder));
}

void CFolderDialog::SetStatusText(const wxString &text) {
  if (m_browser)
    m_browser->SetStatusText(text);
}
