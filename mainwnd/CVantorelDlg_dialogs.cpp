// The main window's doors to other windows and to the desktop: message boxes, pickers, the
// modal dialogs it opens and the shell.
#include "CVantorelDlg.h"

#include "CAboutDlg.h"
#include "CDlgChangePageRange.h"
#include "CDlgMergeProgress.h"
#include "CDlgSourcePassword.h"
#include "CDlgUpgrade.h"
#include "CFolderDialog.h"
#include "CNewVersionDlg.h"
#include "FileAdding.h"
#include "ShellOpen.h"
#include "ShowInFileManager.h"

#include "LangMessageBox.h"
#include "Localization.h"

#include <wx/filedlg.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>

namespace {
const int kAddFilesTitle = 138; // "Add Files"
} // namespace

void CVantorelDlg::ShowMessage(const wxString &text) {
  ShowMessageBox(IsShown() ? this : nullptr, text, kTitle, wxOK | wxICON_EXCLAMATION);
}

bool CVantorelDlg::AskYesNo(const wxString &text) {
  return ShowMessageBox(IsShown() ? this : nullptr, text, kTitle, wxYES_NO | wxICON_QUESTION) ==
         wxYES;
}

bool CVantorelDlg::AskFilesToAdd(const std::wstring &folder, std::vector<std::wstring> *paths) {
  // Only files that are there can be added; the title is the bar's caption, in the language.
  wxFileDialog dialog(this, LoadLangString(kAddFilesTitle), folder, wxString(),
                      DesktopFileFilter(kAddFilesFilter),
                      wxFD_OPEN | wxFD_MULTIPLE | wxFD_FILE_MUST_EXIST);
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
  CFolderDialog picker(initial, this);
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

bool CVantorelDlg::RunPasswordDialog(CDlgSourcePassword &dialog) {
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
