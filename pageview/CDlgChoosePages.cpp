#include "CDlgChoosePages.h"

#include "CThumbnailGrid.h"
#include "DialogUnits.h"
#include "PageRenderer.h"
#include "PageViewTexts.h"
#include "QueueEvents.h"
#include "RangeWriter.h"
#include "ThumbnailQueue.h"
#include "TranslateDialog.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

CDlgChoosePages::CDlgChoosePages(wxWindow *parent, const std::wstring &path,
                                 const std::string &password, int pageCount,
                                 const std::wstring &range)
    : wxDialog(parent, IDD, "Choose Pages", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxRESIZE_BORDER | wxMAXIMIZE_BOX) {
  SetFont(DialogFont());
  m_grid = new CThumbnailGrid(this, IDC_GRID, pageCount, true);
  m_status = new wxStaticText(this, IDC_STATUS, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                              wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END);
  auto *buttons = new wxBoxSizer(wxHORIZONTAL);
  for (const auto &[id, label] : {std::pair<int, const char *>{IDC_ODD, "Odd"},
                                  {IDC_EVEN, "Even"},
                                  {IDC_ALL, "All"},
                                  {IDC_NONE, "None"}})
    buttons->Add(new wxButton(this, id, label), 0, wxRIGHT, 6);
  buttons->AddStretchSpacer();
  m_ok = new wxButton(this, wxID_OK, "OK");
  m_ok->SetDefault();
  buttons->Add(m_ok, 0, wxRIGHT, 6);
  buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"));

  auto *top = new wxBoxSizer(wxVERTICAL);
  top->Add(m_grid, 1, wxEXPAND | wxALL, 8);
  top->Add(m_status, 0, wxEXPAND | wxLEFT | wxRIGHT, 8);
  top->Add(buttons, 0, wxEXPAND | wxALL, 8);
  SetSizer(top);
  SetMinClientSize(wxSize(460, 360));
  SetClientSize(wxSize(780, 600));
  TranslateDialog(this, IDD);
  Layout(); // translated captions may be wider
  CentreOnParent();

  // The pages the engine would merge for the row's range; a row without one takes all.
  if (range.empty())
    m_grid->Selection().SelectAll();
  else
    m_grid->Selection().SelectPages(ReadRangeText(range, pageCount));
  m_grid->SelectionChanged();
  UpdateStatus();

  Bind(wxEVT_THUMBNAIL_SELECTION, &CDlgChoosePages::OnSelection, this);
  Bind(wxEVT_BUTTON, &CDlgChoosePages::OnButton, this, IDC_ODD, IDC_NONE);
  Bind(wxEVT_QUEUE_OPENED, &CDlgChoosePages::OnOpened, this);
  Bind(wxEVT_QUEUE_THUMBNAIL, &CDlgChoosePages::OnThumbnail, this);
  Bind(wxEVT_CHAR_HOOK, &CDlgChoosePages::OnCharHook, this);

  m_queue = std::make_unique<ThumbnailQueue>(path, password, CThumbnailGrid::kThumbWidth,
                                             CThumbnailGrid::kThumbHeight, kCacheBytes,
                                             EventsForWindow(this));
  m_grid->SetQueue(m_queue.get());
  if (!m_queue->Start()) {
    m_grid->SetQueue(nullptr);
    m_queue.reset();
  }
  m_grid->SetFocus();
}

CDlgChoosePages::~CDlgChoosePages() {
  // No report may arrive for a dialog that is gone.
  if (m_queue)
    m_queue->Stop();
}

bool CDlgChoosePages::IsAllPages() const {
  const GridSelection &s = m_grid->Selection();
  return s.Count() > 0 && s.SelectedCount() == s.Count();
}

std::wstring CDlgChoosePages::GetRangeText() const {
  const GridSelection &s = m_grid->Selection();
  const std::string text = WriteRangeText(s.SelectedPages(), s.Count());
  return std::wstring(text.begin(), text.end());
}

void CDlgChoosePages::UpdateStatus() {
  const GridSelection &s = m_grid->Selection();
  wxString text;
  if (m_nOpenStatus > RENDER_OK)
    text =
        wxString::Format(wxString(PageViewText(IDS_PAGES_UNREADABLE)), wxString(m_strOpenReason)) +
        "  ";
  if (s.SelectedCount() == 0)
    text += PageViewText(IDS_NO_PAGE_CHOSEN);
  else
    text +=
        wxString::Format(wxString(PageViewText(IDS_PAGES_SELECTED)), s.SelectedCount(), s.Count());
  m_status->SetLabel(text);
  m_status->SetToolTip(text);
  m_ok->Enable(s.SelectedCount() > 0);
}

void CDlgChoosePages::OnSelection(wxCommandEvent &) { UpdateStatus(); }

void CDlgChoosePages::OnButton(wxCommandEvent &event) {
  GridSelection &s = m_grid->Selection();
  switch (event.GetId()) {
  case IDC_ODD:
    s.SelectOdd();
    break;
  case IDC_EVEN:
    s.SelectEven();
    break;
  case IDC_ALL:
    s.SelectAll();
    break;
  case IDC_NONE:
    s.SelectNone();
    break;
  default:
    return;
  }
  m_grid->Refresh();
  UpdateStatus();
}

void CDlgChoosePages::OnOpened(wxThreadEvent &event) {
  m_nOpenStatus = event.GetInt();
  m_strOpenReason = event.GetString().ToStdWstring();
  UpdateStatus();
}

void CDlgChoosePages::OnThumbnail(wxThreadEvent &event) {
  m_grid->ThumbnailArrived(event.GetInt());
}

void CDlgChoosePages::OnCharHook(wxKeyEvent &event) {
  const int key = event.GetKeyCode();
  if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && FindFocus() == m_grid) {
    if (m_ok->IsEnabled())
      EndModal(wxID_OK);
    return;
  }
  event.Skip();
}
