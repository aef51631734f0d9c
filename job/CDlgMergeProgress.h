#pragma once
#include <memory>
#include <string>
#include <vector>

#include <wx/dialog.h>
#include <wx/event.h>

#include "CFSMSettings.h"
#include "ItemData.h"
#include "MergeJob.h"

class wxGauge;
class wxStaticText;

// The worker's notifications as events of the dialog; the event's id is the message number.
// Progress: GetInt() the index, GetExtraLong() the percent. Finished: GetInt() 1 success or 0,
// GetString() the job's notes. Close: nothing.
wxDECLARE_EVENT(wxEVT_MERGE_PROGRESS, wxThreadEvent);
wxDECLARE_EVENT(wxEVT_MERGE_FINISHED, wxThreadEvent);
wxDECLARE_EVENT(wxEVT_MERGE_CLOSE, wxThreadEvent);

// The progress dialog of a merge (template 172, "Merge Progress"). When it opens it takes a
// snapshot of the rows and settings it was given, starts the merge worker and shows its
// progress; Cancel asks the worker to stop. When the worker has finished it shows the result in
// the file manager, or "Failed to merge files or User cancel!", and closes itself. Either way it
// first names the rows left out before the run and what the merge skipped or repaired. When no
// row can be merged it starts no worker and says why. Escape and Enter do not close it.
//
// The main window runs it modally after Build:
//   CDlgMergeProgress dlg(this, rows, settings); // rows: copies of the list's records
//   dlg.ShowModal();
class CDlgMergeProgress : public wxDialog, private MergeNotifySink {
public:
  enum {
    IDD = 172,
    IDC_PROGRESS = 1052,
    IDC_STATUS = 1053,
  };

  // rows are the main window's row records in list order (their buffers stay shared); settings
  // its settings record. Both are copied.
  CDlgMergeProgress(wxWindow *parent, const std::vector<_stru_ItemData_> &rows,
                    const CFSMSettings &settings);
  // Waits for a worker that is still running, after asking it to stop.
  ~CDlgMergeProgress() override;

  // The running job, or null before the dialog opened.
  MergeJob *GetJob() const { return m_pJob.get(); }
  wxGauge *GetProgressBar() const { return m_progress; }
  wxStaticText *GetStatusText() const { return m_status; }

protected:
  // Shows the finished result selected in the file manager.
  virtual void ShowResult(const std::wstring &path);
  // A message box with the application's title.
  virtual void ShowMessage(const wxString &text, long style);
  // Called on the worker's thread: queues the notice as an event of the dialog.
  void PostMergeNotice(const MergeNotice &notice) override;

private:
  void OnInitDialog(wxInitDialogEvent &event);
  void OnProgress(wxThreadEvent &event);
  void OnFinished(wxThreadEvent &event);
  void OnCloseMessage(wxThreadEvent &event);
  void OnCancel(wxCommandEvent &event);
  void OnCharHook(wxKeyEvent &event);
  void OnClose(wxCloseEvent &event);
  void DestroyJob();
  // What the user is told about the run besides its outcome: the rows left out before it (or
  // why nothing could be merged) and the worker's notes.
  wxString DescribeRun(const wxString &notes) const;
  void CloseWithResult(int result);

  std::vector<_stru_ItemData_> m_rows;
  CFSMSettings m_settings;
  std::shared_ptr<MergeJob> m_pJob;
  wxGauge *m_progress = nullptr;
  wxStaticText *m_status = nullptr;
};
