#include "CDlgMergeProgress.h"

#include "AnsiText.h"
#include "DialogUnits.h"
#include "LangMessageBox.h"
#include "LeftOutRows.h"
#include "Localization.h"
#include "ShowInFileManager.h"
#include "SystemFolders.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/msgdlg.h>
#include <wx/stattext.h>
#include <wx/utils.h>

wxDEFINE_EVENT(wxEVT_MERGE_PROGRESS, wxThreadEvent);
wxDEFINE_EVENT(wxEVT_MERGE_FINISHED, wxThreadEvent);
wxDEFINE_EVENT(wxEVT_MERGE_CLOSE, wxThreadEvent);

namespace {

const wchar_t kCaption[] = L"Tessary Zuzu VOR Adazev";
const wchar_t kFailedText[] = L"Failed to merge files or User cancel!";

} // namespace

CDlgMergeProgress::CDlgMergeProgress(wxWindow *parent, const std::vector<_stru_ItemData_> &rows,
                                     const CFSMSettings &settings)
    : wxDialog(parent, IDD, "Merge Progress", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU),
      m_rows(rows), m_settings(settings) {
  SetFont(DialogFont());
  SetClientSize(DluToPixelsX(200), DluToPixelsY(62));
  const wxRect status = DluRect(7, 7, 186, 9);
  m_status = new wxStaticText(this, IDC_STATUS, wxEmptyString, status.GetPosition(),
                              status.GetSize(), wxST_NO_AUTORESIZE);
  const wxRect bar = DluRect(7, 20, 186, 12);
  m_progress = new wxGauge(this, IDC_PROGRESS, 100, bar.GetPosition(), bar.GetSize());
  const wxRect cancel = DluRect(75, 41, 50, 14);
  new wxButton(this, wxID_CANCEL, "Cancel", cancel.GetPosition(), cancel.GetSize());
  SetEscapeId(wxID_NONE);

  Bind(wxEVT_INIT_DIALOG, &CDlgMergeProgress::OnInitDialog, this);
  Bind(wxEVT_MERGE_PROGRESS, &CDlgMergeProgress::OnProgress, this);
  Bind(wxEVT_MERGE_FINISHED, &CDlgMergeProgress::OnFinished, this);
  Bind(wxEVT_MERGE_CLOSE, &CDlgMergeProgress::OnCloseMessage, this);
  Bind(wxEVT_BUTTON, &CDlgMergeProgress::OnCancel, this, wxID_CANCEL);
  // Enter's command does nothing.
  Bind(
      wxEVT_BUTTON, [](wxCommandEvent &) {}, wxID_OK);
  Bind(wxEVT_CHAR_HOOK, &CDlgMergeProgress::OnCharHook, this);
  Bind(wxEVT_CLOSE_WINDOW, &CDlgMergeProgress::OnClose, this);
  CentreOnParent();
}

CDlgMergeProgress::~CDlgMergeProgress() { DestroyJob(); }

void CDlgMergeProgress::OnInitDialog(wxInitDialogEvent &) {
  m_progress->SetRange(100);
  DestroyJob();
  MergeNotifySink *sink = this;
  m_pJob = std::make_shared<MergeJob>(sink, m_rows, m_settings);
  // A run over nothing would write an output without a page, or nothing at all, and call it
  // done: the dialog says why instead.
  if (m_pJob->HasNothingToMerge() || !m_pJob->Start()) {
    // Without a worker nobody would end the dialog.
    MergeNotice notice;
    notice.nMessage = WM_MERGE_FINISHED;
    PostMergeNotice(notice);
  }
}

wxString CDlgMergeProgress::DescribeRun(const wxString &notes) const {
  wxString text;
  if (m_pJob && m_pJob->HasNothingToMerge()) {
    text = DescribeNothingToMerge(m_pJob->arrRows, m_pJob->vecLeftOut);
  } else if (m_pJob && !m_pJob->vecLeftOut.empty()) {
    text = LoadLangString(IDS_LEFT_OUT_REPORT) + "\n" +
           ListLeftOutRows(m_pJob->arrRows, m_pJob->vecLeftOut);
  }
  // The notes name files by their paths, which need not be UTF-8.
  if (!notes.empty())
    text += (text.empty() ? "" : "\n\n") + LoadLangString(IDS_MERGE_REPORT) + "\n" +
            ReadableText(notes.ToStdWstring());
  return text;
}

void CDlgMergeProgress::PostMergeNotice(const MergeNotice &notice) {
  wxEventType type;
  if (notice.nMessage == WM_MERGE_PROGRESS)
    type = wxEVT_MERGE_PROGRESS;
  else if (notice.nMessage == WM_MERGE_FINISHED)
    type = wxEVT_MERGE_FINISHED;
  else if (notice.nMessage == WM_MERGE_CLOSE)
    type = wxEVT_MERGE_CLOSE;
  else
    return;
  auto *event = new wxThreadEvent(type, static_cast<int>(notice.nMessage));
  event->SetInt(static_cast<int>(notice.wParam));
  event->SetExtraLong(static_cast<long>(notice.lParam));
  event->SetString(notice.strDetail);
  wxQueueEvent(this, event);
}

void CDlgMergeProgress::OnProgress(wxThreadEvent &event) {
  const int percent = static_cast<int>(std::clamp<long>(event.GetExtraLong(), 0, 100));
  m_progress->SetValue(percent);
  m_status->SetLabel(wxString::Format("Merging files...\t\t%d%%", percent));
}

void CDlgMergeProgress::OnFinished(wxThreadEvent &event) {
  const wxString report = DescribeRun(event.GetString());
  // A run that wrote nothing (every row failed, or there was none) is no success, whatever the
  // worker says: there is nothing to show.
  if (event.GetInt() != 0 && (!m_pJob || m_pJob->MadeAnything())) {
    if (!report.empty())
      ShowMessage(report, wxOK | wxICON_EXCLAMATION);
    if (m_pJob && !m_pJob->arrRows.empty()) {
      const auto &buffer = m_pJob->arrRows.front().pszOutPath;
      if (buffer && PathExists(*buffer))
        ShowResult(*buffer);
    }
  } else {
    wxString text = kFailedText;
    if (!report.empty())
      text += "\n\n" + report;
    ShowMessage(text, wxOK | wxICON_INFORMATION);
  }
  CloseWithResult(wxID_OK);
}

void CDlgMergeProgress::OnCloseMessage(wxThreadEvent &) { CloseWithResult(wxID_CANCEL); }

void CDlgMergeProgress::OnCancel(wxCommandEvent &) {
  // The dialog stays open until the worker reports that it has stopped.
  if (m_pJob)
    m_pJob->Cancel();
}

void CDlgMergeProgress::OnCharHook(wxKeyEvent &event) {
  switch (event.GetKeyCode()) {
  case WXK_ESCAPE:
  case WXK_RETURN:
  case WXK_NUMPAD_ENTER:
    return;
  default:
    event.Skip();
  }
}

void CDlgMergeProgress::OnClose(wxCloseEvent &event) {
  // The close box is Cancel, as on Windows.
  if (event.CanVeto()) {
    event.Veto();
    if (m_pJob)
      m_pJob->Cancel();
    return;
  }
  event.Skip();
}

void CDlgMergeProgress::DestroyJob() {
  if (!m_pJob)
    return;
  wxBusyCursor wait;
  m_pJob->Stop();
  m_pJob.reset();
}

void CDlgMergeProgress::CloseWithResult(int result) {
  if (IsModal()) {
    EndModal(result);
  } else {
    SetReturnCode(result);
    Hide();
  }
}

void CDlgMergeProgress::ShowResult(const std::wstring &path) { ShowInFileManager(path); }

void CDlgMergeProgress::ShowMessage(const wxString &text, long style) {
  ShowMessageBox(this, text, kCaption, style);
}
