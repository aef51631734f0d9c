// The preview's life: making (the merge job runs, the gauge moves, Cancel stops it), then
// showing (the output opened by a rendering worker, its sheets in the grid). The temporary
// folder goes as soon as the one output is open (the renderer keeps reading the open file), and
// at the latest when the window closes or the preview is made again. Notices of an earlier
// making carry its generation and are ignored once a newer one started.
#include "CDlgPreviewSheets.h"

#include "CSheetView.h"
#include "CThumbnailGrid.h"
#include "DialogUnits.h"
#include "IndependentWindow.h"
#include "PageImage.h"
#include "PageRenderer.h"
#include "PageViewTexts.h"
#include "PathText.h"
#include "QueueEvents.h"
#include "ThumbnailQueue.h"
#include "TranslateDialog.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/gauge.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace {
wxDEFINE_EVENT(wxEVT_PREVIEW_PROGRESS, wxThreadEvent);
wxDEFINE_EVENT(wxEVT_PREVIEW_FINISHED, wxThreadEvent);
} // namespace

// The job's notices, queued as events tagged with the making they belong to.
class CDlgPreviewSheets::Sink : public MergeNotifySink {
public:
  Sink(wxEvtHandler *target, int generation) : m_target(target), m_generation(generation) {}
  void PostMergeNotice(const MergeNotice &notice) override {
    wxEventType type;
    if (notice.nMessage == WM_MERGE_PROGRESS)
      type = wxEVT_PREVIEW_PROGRESS;
    else if (notice.nMessage == WM_MERGE_FINISHED)
      type = wxEVT_PREVIEW_FINISHED;
    else
      return;
    auto *event = new wxThreadEvent(type, m_generation);
    event->SetInt(static_cast<int>(notice.wParam));
    event->SetExtraLong(static_cast<long>(notice.lParam));
    event->SetString(notice.strDetail);
    wxQueueEvent(m_target, event);
  }

private:
  wxEvtHandler *m_target;
  int m_generation;
};

CDlgPreviewSheets::CDlgPreviewSheets(wxWindow *parent, Gather gather, const std::wstring &tmpFolder)
    : wxDialog(parent, IDD, "Preview", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxRESIZE_BORDER | wxMAXIMIZE_BOX |
                   wxMINIMIZE_BOX),
      m_gather(std::move(gather)), m_strTmpFolder(tmpFolder), m_timer(this) {
  SetFont(DialogFont());
  m_status = new wxStaticText(this, IDC_STATUS, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                              wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
  m_progress = new wxGauge(this, IDC_PROGRESS, 100, wxDefaultPosition, wxSize(200, -1));
  m_cancel = new wxButton(this, wxID_CANCEL, "Cancel");
  auto *making = new wxBoxSizer(wxHORIZONTAL);
  making->Add(m_status, 1, wxALIGN_CENTRE_VERTICAL | wxRIGHT, 8);
  making->Add(m_progress, 0, wxALIGN_CENTRE_VERTICAL | wxRIGHT, 8);
  making->Add(m_cancel, 0, wxALIGN_CENTRE_VERTICAL);

  m_changed =
      new wxStaticText(this, IDC_CHANGED, "The settings have changed since this preview was made.");
  m_refresh = new wxButton(this, IDC_REFRESH, "Refresh");
  auto *changed = new wxBoxSizer(wxHORIZONTAL);
  changed->Add(m_changed, 1, wxALIGN_CENTRE_VERTICAL | wxRIGHT, 8);
  changed->Add(m_refresh, 0, wxALIGN_CENTRE_VERTICAL);

  m_files = new wxChoice(this, IDC_FILES);
  m_grid = new CThumbnailGrid(this, IDC_GRID, 0, false);
  m_view = new CSheetView(this, IDC_VIEW);
  auto *sheets = new wxBoxSizer(wxHORIZONTAL);
  sheets->Add(m_grid, 0, wxEXPAND | wxRIGHT, 8);
  sheets->Add(m_view, 1, wxEXPAND);
  // Two columns of thumbnails and a scroll bar.
  m_grid->SetMinSize(wxSize(2 * (CThumbnailGrid::kThumbWidth + 20) + 24, -1));

  m_counter = new wxStaticText(this, IDC_COUNTER, wxEmptyString);
  auto *bottom = new wxBoxSizer(wxHORIZONTAL);
  bottom->Add(m_counter, 1, wxALIGN_CENTRE_VERTICAL);
  bottom->Add(new wxButton(this, IDC_CLOSE, "Close"), 0, wxALIGN_CENTRE_VERTICAL);

  auto *top = new wxBoxSizer(wxVERTICAL);
  top->Add(making, 0, wxEXPAND | wxALL, 8);
  top->Add(changed, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
  top->Add(m_files, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
  top->Add(sheets, 1, wxEXPAND | wxLEFT | wxRIGHT, 8);
  top->Add(bottom, 0, wxEXPAND | wxALL, 8);
  SetSizer(top);
  SetMinClientSize(wxSize(640, 440));
  SetClientSize(wxSize(900, 640));
  TranslateDialog(this, IDD);
  m_changed->Hide();
  m_refresh->Hide();
  m_files->Hide();
  Layout();
  CentreOnParent();
  KeepOutOfModalGrab(this);

  Bind(wxEVT_PREVIEW_PROGRESS, &CDlgPreviewSheets::OnProgress, this);
  Bind(wxEVT_PREVIEW_FINISHED, &CDlgPreviewSheets::OnFinished, this);
  Bind(wxEVT_QUEUE_OPENED, &CDlgPreviewSheets::OnOpened, this);
  Bind(wxEVT_QUEUE_THUMBNAIL, &CDlgPreviewSheets::OnThumbnail, this);
  Bind(wxEVT_QUEUE_LARGE, &CDlgPreviewSheets::OnLarge, this);
  Bind(wxEVT_THUMBNAIL_SELECTION, &CDlgPreviewSheets::OnSelection, this);
  m_view->Bind(wxEVT_SIZE, &CDlgPreviewSheets::OnViewSize, this);
  Bind(wxEVT_CHOICE, &CDlgPreviewSheets::OnFileChoice, this, IDC_FILES);
  Bind(wxEVT_BUTTON, &CDlgPreviewSheets::OnCancel, this, wxID_CANCEL);
  Bind(wxEVT_BUTTON, &CDlgPreviewSheets::OnRefresh, this, IDC_REFRESH);
  Bind(wxEVT_BUTTON, &CDlgPreviewSheets::OnCloseButton, this, IDC_CLOSE);
  Bind(wxEVT_CLOSE_WINDOW, &CDlgPreviewSheets::OnClose, this);
  Bind(wxEVT_CHAR_HOOK, &CDlgPreviewSheets::OnCharHook, this);
  Bind(wxEVT_TIMER, &CDlgPreviewSheets::OnTimer, this);

  Remake();
  m_timer.Start(kCheckMs);
}

CDlgPreviewSheets::~CDlgPreviewSheets() {
  m_timer.Stop();
  StopQueue();
  m_merge.reset(); // waits for its worker and removes the files
}

void CDlgPreviewSheets::Remake() {
  StopQueue();
  m_merge.reset();
  m_outputs.clear();
  m_grid->SetPageCount(0);
  m_view->SetImage(nullptr);
  m_nLargePage = -1;
  m_files->Clear();
  m_files->Hide();
  m_changed->Hide();
  m_refresh->Hide();

  m_bCancelled = false;
  m_shown = m_gather();
  m_sink = std::make_unique<Sink>(this, ++m_nGeneration);
  m_merge = std::make_unique<PreviewMerge>(m_sink.get(), m_shown, m_strTmpFolder);
  SetMaking(true);
  m_progress->SetValue(0);
  m_status->SetLabel(wxString::Format(wxString(PageViewText(IDS_PREVIEW_MAKING)), 0));
  if (m_shown.rows.empty() || !m_merge->Start()) {
    SetMaking(false);
    m_status->SetLabel(m_shown.rows.empty() ? PageViewText(IDS_PREVIEW_NO_SHEETS)
                                            : PageViewText(IDS_PREVIEW_FAILED));
  }
  UpdateCounter();
  Layout();
}

void CDlgPreviewSheets::CheckInputs() {
  if (!m_gather)
    return;
  const bool differ = !MakeSameSheets(m_gather(), m_shown);
  if (differ == m_changed->IsShown())
    return;
  m_changed->Show(differ);
  m_refresh->Show(differ);
  Layout();
}

bool CDlgPreviewSheets::IsRefreshOffered() const { return m_refresh->IsShown(); }

int CDlgPreviewSheets::GetSheetCount() const { return m_grid->GetPageCount(); }

void CDlgPreviewSheets::SetMaking(bool making) {
  m_bMaking = making;
  m_progress->Show(making);
  m_cancel->Show(making);
  Layout();
}

void CDlgPreviewSheets::StopQueue() {
  m_grid->SetQueue(nullptr);
  if (m_queue)
    m_queue->Stop();
  m_queue.reset();
}

void CDlgPreviewSheets::ShowOutput(size_t index) {
  StopQueue();
  m_grid->SetPageCount(0);
  m_view->SetImage(nullptr);
  m_nLargePage = -1;
  if (index >= m_outputs.size())
    return;
  m_queue = std::make_unique<ThumbnailQueue>(m_outputs[index], "", CThumbnailGrid::kThumbWidth,
                                             CThumbnailGrid::kThumbHeight, kCacheBytes,
                                             EventsForWindow(this));
  if (!m_queue->Start())
    m_queue.reset();
}

void CDlgPreviewSheets::SelectSheet(int index) {
  if (index < 0 || index >= m_grid->GetPageCount())
    return;
  m_grid->Selection().Click(index, false, false);
  m_grid->SelectionChanged();
  RequestLarge();
  UpdateCounter();
}

void CDlgPreviewSheets::RequestLarge() {
  const int sheet = m_grid->Selection().Focus();
  const wxSize size = m_view->GetClientSize();
  if (m_queue && m_grid->GetPageCount() > 0 && size.x > 8 && size.y > 8)
    m_queue->RequestLarge(sheet, size.x - 8, size.y - 8);
}

void CDlgPreviewSheets::UpdateCounter() {
  const int count = m_grid->GetPageCount();
  m_counter->SetLabel(count > 0 ? wxString::Format(wxString(PageViewText(IDS_SHEET_COUNTER)),
                                                   m_grid->Selection().Focus() + 1, count)
                                : wxString());
}

void CDlgPreviewSheets::OnProgress(wxThreadEvent &event) {
  if (event.GetId() != m_nGeneration)
    return;
  const int percent = static_cast<int>(std::clamp<long>(event.GetExtraLong(), 0, 100));
  m_progress->SetValue(percent);
  m_status->SetLabel(wxString::Format(wxString(PageViewText(IDS_PREVIEW_MAKING)), percent));
}

void CDlgPreviewSheets::OnFinished(wxThreadEvent &event) {
  if (event.GetId() != m_nGeneration || !m_merge)
    return;
  SetMaking(false);
  m_outputs = m_merge->Outputs();
  const wxString notes = event.GetString();
  if (m_outputs.empty()) {
    const bool cancelled = m_bCancelled;
    wxString text = PageViewText(cancelled ? IDS_PREVIEW_CANCELLED : IDS_PREVIEW_FAILED);
    if (!notes.empty())
      text += "  " + notes;
    m_status->SetLabel(text);
    m_status->SetToolTip(text);
    m_merge->RemoveFiles();
    return;
  }
  m_status->SetLabel(notes);
  m_status->SetToolTip(notes);
  if (m_outputs.size() > 1) {
    for (const std::wstring &path : m_outputs)
      m_files->Append(FileNameOfPath(path));
    m_files->SetSelection(0);
    m_files->Show();
    Layout();
  }
  ShowOutput(0);
}

void CDlgPreviewSheets::OnOpened(wxThreadEvent &event) {
  if (!m_queue)
    return;
  if (event.GetInt() != RENDER_OK) {
    m_status->SetLabel(
        wxString::Format(wxString(PageViewText(IDS_PAGES_UNREADABLE)), event.GetString()));
    return;
  }
  m_grid->SetPageCount(static_cast<int>(event.GetExtraLong()));
  m_grid->SetQueue(m_queue.get());
  // The renderer holds the file open: with nothing else to show, the copy can go now.
  if (m_outputs.size() == 1 && m_merge)
    m_merge->RemoveFiles();
  SelectSheet(0);
}

void CDlgPreviewSheets::OnThumbnail(wxThreadEvent &event) {
  m_grid->ThumbnailArrived(event.GetInt());
}

void CDlgPreviewSheets::OnLarge(wxThreadEvent &event) {
  if (event.GetInt() != m_grid->Selection().Focus())
    return; // a sheet the user has moved on from
  m_nLargePage = event.GetInt();
  m_view->SetImage(event.GetPayload<std::shared_ptr<const PageImage>>());
}

void CDlgPreviewSheets::OnSelection(wxCommandEvent &) {
  RequestLarge();
  UpdateCounter();
}

void CDlgPreviewSheets::OnViewSize(wxSizeEvent &event) {
  event.Skip();
  CallAfter([this] { RequestLarge(); });
}

void CDlgPreviewSheets::OnFileChoice(wxCommandEvent &event) {
  ShowOutput(static_cast<size_t>(std::max(0, event.GetSelection())));
}

void CDlgPreviewSheets::OnCancel(wxCommandEvent &) {
  if (m_bMaking && m_merge) {
    m_bCancelled = true;
    m_merge->Cancel();
  }
}

void CDlgPreviewSheets::OnRefresh(wxCommandEvent &) { Remake(); }

void CDlgPreviewSheets::OnCloseButton(wxCommandEvent &) { Close(); }

void CDlgPreviewSheets::OnClose(wxCloseEvent &) { Destroy(); }

void CDlgPreviewSheets::OnCharHook(wxKeyEvent &event) {
  if (event.GetKeyCode() == WXK_ESCAPE) {
    if (m_bMaking && m_merge) {
      m_bCancelled = true;
      m_merge->Cancel();
    } else {
      Close();
    }
    return;
  }
  event.Skip();
}

void CDlgPreviewSheets::OnTimer(wxTimerEvent &) {
  if (IsShown() && !m_bMaking)
    CheckInputs();
}
