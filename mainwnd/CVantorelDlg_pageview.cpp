// Looking before Build: Choose Pages on a PDF row, and the preview window with what it is
// given to merge.
#include "CVantorelDlg.h"

#include "CDlgChoosePages.h"
#include "CDlgPreviewSheets.h"
#include "CFileList.h"
#include "COutputSetting.h"
#include "Localization.h"
#include "controls/CXListCtrl.h"

namespace {
// What Build would merge now: the rows in list order, and the settings with the panel's
// current choices.
PreviewInputs GatherPreviewInputs(CVantorelDlg &window) {
  PreviewInputs inputs;
  CFileList *files = window.GetFileList();
  COutputSetting *panel = window.GetOutputSetting();
  if (!files || !panel) // shutting down
    return inputs;
  panel->ExchangeFromControls();
  inputs.settings = window.GetSettings();
  for (int row = 0; row < files->GetCount(); ++row)
    if (const _stru_ItemData_ *item = files->GetItemData(row))
      inputs.rows.push_back(*item);
  return inputs;
}

CDlgPreviewSheets *FindPreview(wxWindow *window) {
  for (wxWindow *child : window->GetChildren())
    if (auto *preview = dynamic_cast<CDlgPreviewSheets *>(child))
      return preview;
  return nullptr;
}

} // namespace

void CVantorelDlg::ChoosePages(int row) {
  const _stru_ItemData_ *item = PdfRowForPages(row);
  if (!item)
    return;
  CDlgChoosePages dialog(this, item->szFilePath, item->strPassword, item->nTotalPage,
                         item->HasAllPages() ? std::wstring() : *item->pszPageRange);
  if (dialog.ShowModal() != wxID_OK)
    return;
  if (dialog.IsAllPages())
    m_files->SetAllPages(row);
  else
    m_files->SetPageRange(row, dialog.GetRangeText());
  UpdateStatusLine();
}

void CVantorelDlg::OpenPreview() {
  if (CDlgPreviewSheets *open = FindPreview(this)) {
    open->Show();
    open->Raise();
    return;
  }
  auto *preview = new CDlgPreviewSheets(
      this, [this] { return GatherPreviewInputs(*this); }, m_settings.TmpFolder);
  preview->Show();
}

bool CVantorelDlg::OnPageViewKey(const wxKeyEvent &event) {
  if (event.GetModifiers() != wxMOD_CONTROL)
    return false;
  switch (event.GetKeyCode()) {
  case 'T': {
    const int s = m_list->IsShown() ? m_list->GetCurSel() : -1;
    if (s >= 0)
      ChoosePages(s);
    return true;
  }
  case 'R':
    OpenPreview();
    return true;
  default:
    return false;
  }
}
