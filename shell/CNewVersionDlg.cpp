#include "CNewVersionDlg.h"

#include "CHyperLink.h"
#include "LangFormat.h"
#include "Localization.h"
#include "DialogUnits.h"
#include "ResourceBitmap.h"
#include "TranslateDialog.h"
#include "UpdateCheck.h"
#include "VendorSite.h"

#include <wx/button.h>
#include <wx/settings.h>
#include <wx/stattext.h>

namespace {

// The program's name in the status and caption texts.
const wchar_t kProgramName[] = L"ZOZ Avar Izaded";

const int kCheckingText = 144;
const int kCaptionText = 145;
const int kNewVersionText = 147;
const int kUpToDateText = 148;

} // namespace

CNewVersionDlg::CNewVersionDlg(wxWindow *parent, const DownloadLimits &limits)
    : wxDialog(parent, IDD, wxEmptyString, wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
  SetFont(DialogFont());
  SetClientSize(wxSize(DluToPixelsX(250), DluToPixelsY(118)));

  const wxRect status = DluRect(7, 7, 236, 64);
  m_status = new wxStaticText(this, IDC_STATUS, wxEmptyString, status.GetPosition(),
                              status.GetSize(), wxST_NO_AUTORESIZE);
  const wxRect label = DluRect(7, 78, 34, 8);
  m_websiteLabel = new wxStaticText(this, IDC_WEBSITE_LABEL, "Website:", label.GetPosition(),
                                    label.GetSize(), wxST_NO_AUTORESIZE);

  // The link shows the whole home page address; it keeps its template size.
  const std::wstring home = GetHomePageUrl();
  const wxRect link = DluRect(43, 78, 200, 8);
  m_link = new CHyperLink;
  m_link->SetFitToText(false);
  m_link->SetLinkTarget(home);
  m_link->ApplyLinkColours(wxColour(100, 0, 0), wxColour(20, 20, 255),
                           wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT));
  m_link->Create(this, IDC_LINK, home, link.GetPosition(), link.GetSize());

  const wxRect close = DluRect(193, 97, 50, 14);
  auto *closeButton = new wxButton(this, IDC_CLOSE, "&Close", close.GetPosition(), close.GetSize());
  closeButton->SetDefault();
  SetEscapeId(IDC_CLOSE);
  SetAffirmativeId(IDC_CLOSE);

  Bind(WM_UPDATE_NEW_VERSION, &CNewVersionDlg::OnNewVersion, this);
  Bind(WM_UPDATE_UP_TO_DATE, &CNewVersionDlg::OnUpToDate, this);
  Bind(WM_UPDATE_FAILED, &CNewVersionDlg::OnFailed, this);
  Bind(wxEVT_BUTTON, &CNewVersionDlg::OnClose, this, IDC_CLOSE);

  RegisterUpdateResultWindow(this);
  ReadProgramVersion(&m_version.major, &m_version.minor, &m_version.patch);
  SetStatus(FormatLangText(LoadLangString(kCheckingText), {kProgramName}));
  StartUpdateCheck(m_version, limits);
  SetTitle(FormatLangText(LoadLangString(kCaptionText), {kProgramName}));
  TranslateDialog(this, IDD);
  CentreOnParent();
}

CNewVersionDlg::~CNewVersionDlg() {
  // A worker that ends later reports to nobody, not to a window that is gone.
  UnregisterUpdateResultWindow(this);
}

wxString CNewVersionDlg::GetStatusText() const { return m_status->GetLabelText(); }

void CNewVersionDlg::SetStatus(const std::wstring &text) {
  // Labels treat '&' as a mnemonic; the status text (an error may carry a URL) is shown as it is.
  m_status->SetLabelText(text);
}

void CNewVersionDlg::OnNewVersion(wxThreadEvent &event) {
  const int version = event.GetInt();
  const long build = event.GetExtraLong();
  SetStatus(FormatLangText(LoadLangString(kNewVersionText), {version / 100, version % 100, build}));
  m_websiteLabel->Show();
  m_link->Show();
}

void CNewVersionDlg::OnUpToDate(wxThreadEvent &) { SetStatus(LoadLangString(kUpToDateText)); }

void CNewVersionDlg::OnFailed(wxThreadEvent &event) { SetStatus(event.GetString().ToStdWstring()); }

void CNewVersionDlg::OnClose(wxCommandEvent &) {
  UnregisterUpdateResultWindow(this);
  if (IsModal())
    EndModal(IDC_CLOSE);
  else
    Hide();
}
