#include "FolderBrowser.h"

#include "DialogUnits.h"
#include "Localization.h"

#include <wx/button.h>
#include <wx/dirctrl.h>
#include <wx/filefn.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>
#include <wx/utils.h>

namespace {

const int IDS_BROWSE_TITLE = 239;
const int IDS_FOLDER_LABEL = 240;
const int IDS_OK = 236;
const int IDS_CANCEL = 152;

} // namespace

FolderBrowser::FolderBrowser(wxWindow *parent, const wxString &title, Callback callback)
    : wxDialog(parent, wxID_ANY, LoadLangString(IDS_BROWSE_TITLE), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_callback(std::move(callback)) {
  SetFont(DialogFont());
  auto *top = new wxBoxSizer(wxVERTICAL);
  top->Add(new wxStaticText(this, wxID_ANY, title), 0, wxLEFT | wxRIGHT | wxTOP, 12);
  m_status = new wxStaticText(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                              wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
  top->Add(m_status, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 12);
  m_tree = new wxGenericDirCtrl(this, wxID_ANY, wxString(), wxDefaultPosition,
                                wxSize(DluToPixelsX(212), DluToPixelsY(140)),
                                wxDIRCTRL_DIR_ONLY | wxDIRCTRL_3D_INTERNAL);
  top->Add(m_tree, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 12);
  auto *pathRow = new wxBoxSizer(wxHORIZONTAL);
  pathRow->Add(new wxStaticText(this, wxID_ANY, LoadLangString(IDS_FOLDER_LABEL)), 0,
               wxALIGN_CENTRE_VERTICAL | wxRIGHT, 8);
  m_pathBox = new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                             wxTE_PROCESS_ENTER);
  pathRow->Add(m_pathBox, 1, wxALIGN_CENTRE_VERTICAL);
  top->Add(pathRow, 0, wxEXPAND | wxALL, 12);
  auto *buttons = new wxStdDialogButtonSizer;
  auto *ok = new wxButton(this, wxID_OK, LoadLangString(IDS_OK));
  buttons->AddButton(ok);
  buttons->AddButton(new wxButton(this, wxID_CANCEL, LoadLangString(IDS_CANCEL)));
  buttons->Realize();
  ok->SetDefault();
  top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 12);
  SetSizerAndFit(top);
  if (parent)
    CentreOnParent();
  Bind(wxEVT_INIT_DIALOG, &FolderBrowser::OnInitDialog, this);
  Bind(wxEVT_CHAR_HOOK, &FolderBrowser::OnCharHook, this);
  Bind(wxEVT_BUTTON, &FolderBrowser::OnOK, this, wxID_OK);
  m_pathBox->Bind(wxEVT_TEXT_ENTER, &FolderBrowser::OnOK, this);
  m_tree->Bind(wxEVT_DIRCTRL_SELECTIONCHANGED, &FolderBrowser::OnSelectionChanged, this);
}

bool FolderBrowser::SelectFolder(const wxString &path) {
  if (path.empty() || !wxDirExists(path))
    return false;
  m_tree->SetPath(path);
  m_pathBox->ChangeValue(path);
  return m_tree->GetPath() == path;
}

void FolderBrowser::SetStatusText(const wxString &text) { m_status->SetLabel(text); }

wxString FolderBrowser::GetStatusText() const { return m_status->GetLabel(); }

wxString FolderBrowser::GetSelectedPath() const {
  wxString path = m_pathBox->GetValue().Strip(wxString::both);
  if (path == "~" || path.StartsWith("~/"))
    path = wxGetHomeDir() + path.Mid(1);
  // "/home/x/" and "/home/x" are the same folder; the root keeps its slash.
  while (path.length() > 1 && path.EndsWith("/"))
    path.RemoveLast();
  return path;
}

void FolderBrowser::OnInitDialog(wxInitDialogEvent &event) {
  event.Skip();
  if (m_callback)
    m_callback(*this, kInitialized, wxString());
  // Ready for a typed folder: what is typed replaces the one shown.
  m_pathBox->SetFocus();
  m_pathBox->SelectAll();
}

void FolderBrowser::OnSelectionChanged(wxTreeEvent &event) {
  event.Skip();
  const wxString path = m_tree->GetPath(event.GetItem());
  m_pathBox->ChangeValue(path);
  if (m_callback)
    m_callback(*this, kSelectionChanged, path);
}

void FolderBrowser::OnOK(wxCommandEvent &) {
  // A typed name that is no folder keeps the window open, with the text ready to be mended.
  const wxString path = GetSelectedPath();
  if (path.empty() || !wxDirExists(path)) {
    wxBell();
    m_pathBox->SetFocus();
    m_pathBox->SelectAll();
    return;
  }
  EndModal(wxID_OK);
}

bool FolderBrowser::IsInTree(wxWindow *window) const {
  for (; window; window = window->GetParent())
    if (window == m_tree)
      return true;
  return false;
}

void FolderBrowser::OnCharHook(wxKeyEvent &event) {
  const int key = event.GetKeyCode();
  if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && IsInTree(FindFocus())) {
    // Enter ends the tree's type-ahead search on a folder: it opens or closes that folder and
    // never presses OK.
    wxTreeCtrl *tree = m_tree->GetTreeCtrl();
    const wxTreeItemId item = tree->GetSelection();
    if (item.IsOk())
      tree->Toggle(item);
    return;
  }
  event.Skip();
}
