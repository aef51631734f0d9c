// The main window's doors to other windows and to the desktop: message boxes, pickers, the
// modal dialogs it opens and the shell.
#include "CVantorelDlg.h"

#include "CAboutDlg.h"
#include "CDlgChangePageRange.h"
#include "CDlgMergeProgress.h"
#include "CDlgUpgrade.h"
#include "CFolderDialog.h"
#include "CNewVersionDlg.h"
#include "FileAdding.h"
#include "ShellOpen.h"
#include "ShowInFileManager.h"

#include <wx/filedlg.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>

void CVantorelDlg::ShowMessage(const wxString &text) {
  wxMessageBox(text, kTitle, wxOK | wxICON_EXCLAMATION, IsShown() ? this : nullptr);
}

bool CVantorelDlg::AskFilesToAdd(const std::wstring &folder, std::vector<std::wstring> *paths) {
  wxFileDialog dialog(this, wxFileSelectorPromptStr, folder, wxString(),
                      DesktopFileFilter(kAddFilesFilter), wxFD_OPEN | wxFD_MULTIPLE);
  dialog.SetFilterIndex(0);
  if (dialog.ShowModal() != wxID_OK)
    return false;
  wxArrayString chosen;
  dialog.GetPaths(chosen);
  for (const wxString &path : chosen)
    paths->push_back(path.ToStdWstring());
  return true;
}

bool CVantorelDlg::AskFolder(const std::wstring &initial, std::wstring *folder) {
  CFolderDialog picker(initial);
  if (picker.DoModal() != CFolderDialog::kOK)
    return false;
  *folder = picker.GetSelectedFolder().ToStdWstring();
  return true;
}

void CVantorelDlg::RunMergeProgress(const std::vector<_stru_ItemData_> &rows,
                                    const CFSMSettings &settings) {
  CDlgMergeProgress dialog(this, rows, settings);
  dialog.ShowModal();
}

bool CVantorelDlg::RunPageRangeDialog(CDlgChangePageRange &dialog) {
  return dialog.ShowModal() == wxID_OK;
}

void CVantorelDlg::ShowUpgradeDialog() {
  CDlgUpgrade dialog(this);
  dialog.ShowModal();
}

void CVantorelDlg::ShowAboutDialog() {
  CAboutDlg dialog(this);
  dialog.ShowModal();
}

void CVantorelDlg::ShowUpdateDialog() {
  CNewVersionDlg dialog(this);
  dialog.ShowModal();
}

void CVantorelDlg::OpenAddress(const std::wstring &address) { ShellOpenAddress(address); }

void CVantorelDlg::ShowInFileManagerAt(const std::wstring &path) { ShowInFileManager(path); }

void CVantorelDlg::PopupAt(wxMenu *menu, const wxPoint &clientPoint) {
  PopupMenu(menu, clientPoint);
}
