#include "CDlgChangePageRange.h"

#include "DialogUnits.h"
#include "LangMessageBox.h"
#include "Localization.h"
#include "PageRangeCheck.h"
#include "TranslateDialog.h"

#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

const wchar_t kCaption[] = L"Tessary Zuzu VOR Adazev";

template <typename T> T *Place(T *control, const wxRect &rect) {
  control->SetSize(rect);
  return control;
}

} // namespace

CDlgChangePageRange::CDlgChangePageRange(wxWindow *parent)
    : wxDialog(parent, IDD, "Change Page Range", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
  SetFont(DialogFont());
  SetClientSize(DluToPixelsX(214), DluToPixelsY(112));

  Place(new wxStaticBox(this, IDC_GROUP, "Select Page Range"), DluRect(7, 7, 200, 68));
  m_allPages = Place(new wxRadioButton(this, IDC_ALL_PAGES, "All Page.", wxDefaultPosition,
                                       wxDefaultSize, wxRB_GROUP),
                     DluRect(16, 18, 120, 12));
  m_part = Place(new wxRadioButton(this, IDC_PART, "Part e.g. [1, 3, 4, 9-11, 12-15]"),
                 DluRect(16, 31, 180, 12));
  m_range = Place(new wxTextCtrl(this, IDC_RANGE), DluRect(28, 44, 170, 13));
  m_range->SetMaxLength(kMaxRangeLength);
  m_cut = Place(new wxRadioButton(this, IDC_CUT, "Cut into small PDF per x page(s)"),
                DluRect(16, 60, 140, 12));
  m_cutLabel = Place(new wxStaticText(this, IDC_CUT_LABEL, "x:"), DluRect(160, 62, 10, 8));
  m_cutPages = Place(new wxTextCtrl(this, IDC_CUT_PAGES), DluRect(172, 59, 26, 13));
  m_error = Place(new wxStaticText(this, IDC_ERROR, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                   wxST_NO_AUTORESIZE),
                  DluRect(7, 79, 200, 9));
  auto *ok = Place(new wxButton(this, IDC_OK, "OK"), DluRect(101, 92, 50, 14));
  ok->SetDefault();
  Place(new wxButton(this, IDC_CANCEL, "Cancel"), DluRect(157, 92, 50, 14));
  SetAffirmativeId(IDC_OK);
  SetEscapeId(IDC_CANCEL);

  Bind(wxEVT_INIT_DIALOG, &CDlgChangePageRange::OnInitDialog, this);
  Bind(wxEVT_RADIOBUTTON, &CDlgChangePageRange::OnAllPages, this, IDC_ALL_PAGES);
  Bind(wxEVT_RADIOBUTTON, &CDlgChangePageRange::OnPart, this, IDC_PART);
  Bind(wxEVT_RADIOBUTTON, &CDlgChangePageRange::OnCut, this, IDC_CUT);
  Bind(wxEVT_BUTTON, &CDlgChangePageRange::OnOk, this, IDC_OK);
  Bind(wxEVT_BUTTON, &CDlgChangePageRange::OnCancel, this, IDC_CANCEL);
  CentreOnParent();
}

void CDlgChangePageRange::OnInitDialog(wxInitDialogEvent &) {
  m_cut->Hide();
  m_cutLabel->Hide();
  m_cutPages->Hide();
  m_cut->Enable(!pOwner || pOwner->GetCutOptionFlag() == 0);
  m_strOpenedRange = strRange;
  TransferDataToWindow();
  m_range->Enable(nMode == 1);
  m_cutPages->Enable(nMode == 2);
  m_error->SetLabel(wxEmptyString);
  TranslateDialog(this, IDD);
}

bool CDlgChangePageRange::TransferDataToWindow() {
  if (nMode == 1)
    m_part->SetValue(true);
  else if (nMode == 2)
    m_cut->SetValue(true);
  else
    m_allPages->SetValue(true);
  m_range->ChangeValue(strRange);
  m_cutPages->ChangeValue(wxString::Format("%d", nCutPages));
  return true;
}

bool CDlgChangePageRange::TransferDataFromWindow() {
  nMode = m_part->GetValue() ? 1 : m_cut->GetValue() ? 2 : 0;
  strRange = m_range->GetValue();
  long cut = 0;
  // Text that is not a number counts as 0, which the x check refuses.
  nCutPages =
      m_cutPages->GetValue().Trim().Trim(false).ToLong(&cut) ? static_cast<int32_t>(cut) : 0;
  return true;
}

bool CDlgChangePageRange::TryAccept() {
  TransferDataFromWindow();
  if (nMode == 2) {
    if (nCutPages > nTotalPages) {
      nCutPages = nTotalPages;
      ShowMessage("x can not be larger than the count of total pages!");
      return false;
    }
    if (nCutPages <= 0) {
      nCutPages = 1;
      ShowMessage("x must be larger than 0!");
      return false;
    }
  }
  const bool keptKeyword =
      strRange == m_strOpenedRange && IsPageRangeKeyword(strRange.ToStdWstring());
  if (nMode == 1 && !keptKeyword && !CheckPageRangeText(strRange.ToStdWstring(), nTotalPages)) {
    m_error->SetLabel(LoadLangString(IDS_INVALID_INPUT));
    return false;
  }
  CloseWithResult(wxID_OK);
  return true;
}

void CDlgChangePageRange::OnAllPages(wxCommandEvent &) {
  nMode = 0;
  m_error->SetLabel(wxEmptyString);
  m_range->Disable();
}

void CDlgChangePageRange::OnPart(wxCommandEvent &) {
  nMode = 1;
  m_range->Enable();
  m_cutPages->Disable();
}

void CDlgChangePageRange::OnCut(wxCommandEvent &) {
  nMode = 2;
  m_cutPages->Enable();
  m_range->Disable();
}

void CDlgChangePageRange::OnOk(wxCommandEvent &) { TryAccept(); }

void CDlgChangePageRange::OnCancel(wxCommandEvent &) { CloseWithResult(wxID_CANCEL); }

void CDlgChangePageRange::CloseWithResult(int result) {
  if (IsModal()) {
    EndModal(result);
  } else {
    SetReturnCode(result);
    Hide();
  }
}

void CDlgChangePageRange::ShowMessage(const wxString &text) {
  ShowMessageBox(this, text, kCaption, wxOK);
}
