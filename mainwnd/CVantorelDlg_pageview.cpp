// Looking before Build: Choose Pages on a PDF row, and the preview window with what it is
// given to merge.
#include "CVantorelDlg.h"

#include "CDlgChoosePages.h"
#include "CDlgPreviewSheets.h"
#include "CFileList.h"
#include "COutputSetting.h"
#include "Localization.h"
#include "MergerTool.h"
#include "controls/CXListCtrl.h"

namespace {
const int IDS_IMAGE_ONE_PAGE = 185;
const int IDS_NO_DATA = 186;
const int IDS_PDF_LOAD_FAILED = 188;

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

// Why the engine cannot read a source, as a sentence; empty when it does not say.
std::wstring ProbeReason(const _stru_ItemData_ &item) {
  std::wstring reason;
  try {
    int32_t status = 0;
    MergerTool::ProbeSource(item.szFilePath.c_str(),
                            item.strPassword.empty() ? nullptr : item.strPassword.c_str(), &status,
                            &reason);
  } catch (...) {
    reason.clear();
  }
  return reason;
}
} // namespace

void CVantorelDlg::ChoosePages(int row) {
  const _stru_ItemData_ *item = m_files->GetItemData(row);
  if (!item) {
    ShowMessage(LoadLangString(IDS_NO_DATA));
    return;
  }
  if (!EndsWithPdf(item->szFilePath)) {
    ShowMessage(LoadLangString(IDS_IMAGE_ONE_PAGE));
    return;
  }
  if (item->nTotalPage <= 0) {
    wxString text = LoadLangString(IDS_PDF_LOAD_FAILED);
    const std::wstring reason = ProbeReason(*item);
    if (!reason.empty())
      text += "\n\n" + reason;
    ShowMessage(text);
    return;
  }
  CDlgChoosePages dialog(this, item->szFilePath, item->strPassword, item->nTotalPage,
                         item->HasAllPages() ? std::wstring() : *item->pszPageRange);
  if (dialog.ShowModal() != wxID_OK)
    return;
  if (dialog.IsAllPages())
    m_files->SetAllPages(row);
  else
    m_files->SetPageRange(row, dialog.GetRangeText());
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
