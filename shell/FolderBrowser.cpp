#include "FolderBrowser.h"

#include "DialogUnits.h"

#include <wx/button.h>
#include <wx/dirctrl.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

FolderBrowser::FolderBrowser(wxWindow *parent, const wxString &title, Callback callback)
    : wxDialog(parent, wxID_ANY, "Browse For Folder", wxDefaultPosition, wxDefaultSize,
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
  top->Add(m_tree, 1, wxEXPAND | wxALL, 12);
  top->Add(CreateSeparatedButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM,
           12);
  SetSizerAndFit(top);
  Bind(wxEVT_INIT_DIALOG, &FolderBrowser::OnInitDialog, this);
  m_tree->Bind(wxEVT_DIRCTRL_SELECTIONCHANGED, &FolderBrowser::OnSelectionChanged, this);
}

bool FolderBrowser::SelectFolder(const wxString &path) {
  if (path.empty() || !wxDirExists(path))
    return false;
  m_tree->SetPath(path);
  return m_tree->GetPath() == path;
}

void FolderBrowser::SetStatusText(const wxString &text) { m_status->SetLabel(text); }

wxString FolderBrowser::GetStatusText() const { return m_status->GetLabel(); }

wxString FolderBrowser::GetSelectedPath() const { return m_tree->GetPath(); }

void FolderBrowser::OnInitDialog(wxInitDialogEvent &event) {
  event.Skip();
  if (m_callback)
    m_callback(*this, kInitialized, wxString());
}

void FolderBrowser::OnSelectionChanged(wxTreeEvent &event) {
  event.Skip();
  if (m_callback)
    m_callback(*this, kSelectionChanged, m_tree->GetPath(event.GetItem()));
}
