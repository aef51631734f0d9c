#pragma once
#include "DownloadFile.h"
#include "ProgramVersion.h"

#include <wx/dialog.h>

class CHyperLink;
class wxStaticText;
class wxThreadEvent;

// The "Check new version" dialog (template 148): starts an update check when it opens, shows
// its progress and outcome, and links to the product home page. It is the result window while
// it exists; closing it leaves no result window registered.
class CNewVersionDlg : public wxDialog {
public:
  enum {
    IDD = 148,
    IDC_CLOSE = 1013,
    IDC_STATUS = 1014,
    IDC_WEBSITE_LABEL = 1015,
    IDC_LINK = 1016,
  };

  // limits bound the download (tests shorten them).
  explicit CNewVersionDlg(wxWindow *parent, const DownloadLimits &limits = {});
  ~CNewVersionDlg() override;

  wxString GetStatusText() const;
  CHyperLink *GetLink() const { return m_link; }

private:
  void OnNewVersion(wxThreadEvent &event);
  void OnUpToDate(wxThreadEvent &event);
  void OnFailed(wxThreadEvent &event);
  void OnClose(wxCommandEvent &event);
  void SetStatus(const std::wstring &text);

  wxStaticText *m_status = nullptr;
  wxStaticText *m_websiteLabel = nullptr;
  CHyperLink *m_link = nullptr;
  ProgramVersion m_version;
};
