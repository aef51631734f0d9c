#pragma once
#include <cstdint>

#include <wx/dialog.h>
#include <wx/string.h>

#include "PageRangeOwner.h"

class wxRadioButton;
class wxStaticText;
class wxTextCtrl;

// The page range dialog (template 169, "Change Page Range"): all pages of a PDF row, or a typed
// page list that must pass CheckPageRangeText for the row's page count. A row that Choose Pages
// set to "Odd" or "Even" opens with that text, which stays acceptable as long as it is not
// changed. A third choice, cutting into files of x pages, is in the dialog but hidden.
//
// The caller sets nTotalPages, nMode (1 with the row's range text in strRange, else 0) and
// pOwner, runs ShowModal, and on wxID_OK reads nMode and strRange.
class CDlgChangePageRange : public wxDialog {
public:
  enum {
    IDD = 169,
    IDC_OK = 1,
    IDC_CANCEL = 2,
    IDC_ALL_PAGES = 1042,
    IDC_PART = 1043,
    IDC_RANGE = 1044,
    IDC_GROUP = 1046,
    IDC_ERROR = 1047,
    IDC_CUT_PAGES = 1051,
    IDC_CUT = 1055,
    IDC_CUT_LABEL = 1062,
  };
  // The range edit takes at most this many characters.
  static constexpr int kMaxRangeLength = 255;
  // String 193, shown in the error line when the check fails.
  static constexpr int IDS_INVALID_INPUT = 193;

  explicit CDlgChangePageRange(wxWindow *parent);

  int32_t nMode = 0;       // 0 all pages, 1 page list, 2 cut every nCutPages pages
  wxString strRange;       // the page list
  int32_t nTotalPages = 0; // the row's page count
  int32_t nCutPages = 0;   // x of the cut choice
  PageRangeOwner *pOwner = nullptr;

  // Moves nMode, strRange and nCutPages into the controls, and back.
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;

  // The OK button's work: true when the dialog closed with wxID_OK.
  bool TryAccept();

protected:
  // A plain message box (the x checks).
  virtual void ShowMessage(const wxString &text);

private:
  void OnInitDialog(wxInitDialogEvent &event);
  void OnAllPages(wxCommandEvent &event);
  void OnPart(wxCommandEvent &event);
  void OnCut(wxCommandEvent &event);
  void OnOk(wxCommandEvent &event);
  void OnCancel(wxCommandEvent &event);
  void CloseWithResult(int result);

  wxRadioButton *m_allPages;
  wxRadioButton *m_part;
  wxRadioButton *m_cut;
  wxTextCtrl *m_range;
  wxStaticText *m_cutLabel;
  wxTextCtrl *m_cutPages;
  wxStaticText *m_error;
  wxString m_strOpenedRange; // strRange as the dialog opened
};
