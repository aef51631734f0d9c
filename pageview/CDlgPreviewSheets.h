#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <wx/dialog.h>
#include <wx/timer.h>

#include "MergeMessages.h"
#include "PreviewMerge.h"

class CSheetView;
class CThumbnailGrid;
class ThumbnailQueue;
class wxButton;
class wxChoice;
class wxGauge;
class wxStaticText;
class wxThreadEvent;

// "Preview": the sheets that Build would write now, before it writes them. The window runs the
// merge job into a temporary file (progress shown, Cancel stops it), then shows the sheets as
// thumbnails with a counter and the selected sheet larger. It stays open beside the main
// window; when the rows or the panel's layout change, it offers to make the preview again.
// With the merge switch off, each row's file can be chosen above the sheets.
class CDlgPreviewSheets : public wxDialog {
public:
  enum {
    IDD = 231,
    IDC_GRID = 1211,
    IDC_VIEW = 1212,
    IDC_COUNTER = 1213,
    IDC_STATUS = 1214,
    IDC_PROGRESS = 1215,
    IDC_CHANGED = 1216,
    IDC_REFRESH = 1217,
    IDC_CLOSE = 1218,
    IDC_FILES = 1219,
  };
  static constexpr size_t kCacheBytes = 48u << 20;
  // How often the window looks whether the inputs changed, in milliseconds.
  static const int kCheckMs = 400;

  using Gather = std::function<PreviewInputs()>;
  // gather returns what Build would merge now; tmpFolder is the program's temporary folder.
  // The first preview is started at once.
  CDlgPreviewSheets(wxWindow *parent, Gather gather, const std::wstring &tmpFolder);
  ~CDlgPreviewSheets() override;

  // Makes the preview anew from what gather returns now.
  void Remake();
  // Compares the inputs with those of the preview shown and offers a refresh when they differ.
  void CheckInputs();

  bool IsMaking() const { return m_bMaking; }
  // Sheets of the file shown; 0 while none is shown.
  int GetSheetCount() const;
  bool IsRefreshOffered() const;
  CThumbnailGrid *GetGrid() const { return m_grid; }
  CSheetView *GetSheetView() const { return m_view; }
  wxStaticText *GetCounter() const { return m_counter; }
  wxStaticText *GetStatusText() const { return m_status; }
  wxGauge *GetProgressBar() const { return m_progress; }
  // Page shown in the large view, -1 for none.
  int GetLargePage() const { return m_nLargePage; }

private:
  class Sink;
  void ShowOutput(size_t index);
  void StopQueue();
  void SelectSheet(int index);
  void RequestLarge();
  void UpdateCounter();
  void SetMaking(bool making);

  void OnProgress(wxThreadEvent &event);
  void OnFinished(wxThreadEvent &event);
  void OnOpened(wxThreadEvent &event);
  void OnThumbnail(wxThreadEvent &event);
  void OnLarge(wxThreadEvent &event);
  void OnSelection(wxCommandEvent &event);
  void OnViewSize(wxSizeEvent &event);
  void OnFileChoice(wxCommandEvent &event);
  void OnCancel(wxCommandEvent &event);
  void OnRefresh(wxCommandEvent &event);
  void OnCloseButton(wxCommandEvent &event);
  void OnClose(wxCloseEvent &event);
  void OnCharHook(wxKeyEvent &event);
  void OnTimer(wxTimerEvent &event);

  Gather m_gather;
  std::wstring m_strTmpFolder;
  PreviewInputs m_shown; // what the preview was made of
  std::unique_ptr<Sink> m_sink;
  std::unique_ptr<PreviewMerge> m_merge;
  std::vector<std::wstring> m_outputs;
  std::unique_ptr<ThumbnailQueue> m_queue;
  int m_nGeneration = 0;
  bool m_bMaking = false;
  bool m_bCancelled = false;
  int m_nLargePage = -1;

  wxStaticText *m_status = nullptr;
  wxGauge *m_progress = nullptr;
  wxButton *m_cancel = nullptr;
  wxStaticText *m_changed = nullptr;
  wxButton *m_refresh = nullptr;
  wxChoice *m_files = nullptr;
  CThumbnailGrid *m_grid = nullptr;
  CSheetView *m_view = nullptr;
  wxStaticText *m_counter = nullptr;
  wxTimer m_timer;
};
