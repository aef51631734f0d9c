// The advanced combo box: its choices, the combo-box messages, and opening, picking and closing
// the drop-down. Keys, the wheel, typing and focus are in CAdvComboBox_input.cpp, the face in
// CAdvComboBox_paint.cpp.
//
// The drop-down is a top-level pop-up that lives only while it is open. Picking closes it; the
// list box asks for the pick and the close after its own mouse handling has returned, since the
// close destroys it.
#include "controls/CAdvComboBox.h"

#include <algorithm>

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/settings.h>
#include <wx/tokenzr.h>

#include "LangStringTable.h"
#include "controls/CAdvComboEdit.h"
#include "controls/CDropListBox.h"
#include "controls/CDropScrollBar.h"
#include "controls/CDropWnd.h"
#include "controls/DropDownPlacement.h"

wxDEFINE_EVENT(wxEVT_ADVCOMBO_NOTIFY, wxCommandEvent);

// clang-format off
wxBEGIN_EVENT_TABLE(CAdvComboBox, wxWindow)
  EVT_PAINT(CAdvComboBox::OnPaint)
  EVT_SIZE(CAdvComboBox::OnSize)
  EVT_SET_FOCUS(CAdvComboBox::OnSetFocus)
  EVT_KILL_FOCUS(CAdvComboBox::OnKillFocus)
  EVT_LEFT_DOWN(CAdvComboBox::OnLeftDown)
  EVT_LEFT_DCLICK(CAdvComboBox::OnLeftDown)
  EVT_MOTION(CAdvComboBox::OnMotion)
  EVT_MOUSEWHEEL(CAdvComboBox::OnWheel)
  EVT_KEY_DOWN(CAdvComboBox::OnKeyDown)
  EVT_CHAR(CAdvComboBox::OnChar)
  EVT_TIMER(wxID_ANY, CAdvComboBox::OnHoverTimer)
wxEND_EVENT_TABLE()
    // clang-format on

    CAdvComboBox::CAdvComboBox(wxWindow *parent, wxWindow *combo)
    : m_pParent(parent), m_pCombo(combo), m_hoverTimer(this) {}

CAdvComboBox::~CAdvComboBox() {
  // Our parts go first: their focus and text events must not reach a box half taken apart.
  m_bDying = true;
  m_hoverTimer.Stop();
  DestroyDropDown();
  if (m_pEdit) {
    m_pEdit->Detach();
    delete m_pEdit;
    m_pEdit = nullptr;
  }
}

bool CAdvComboBox::Create(wxWindow *parent, wxWindowID id, const wxRect &rect, int cbStyle,
                          long style) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  if (!wxWindow::Create(parent, id, rect.GetPosition(), rect.GetSize(),
                        style | wxWANTS_CHARS | wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE))
    return false;
  m_nStyle = (cbStyle & 3) == CBS_DROPDOWN ? CBS_DROPDOWN : CBS_DROPDOWNLIST;
  if (!m_pParent)
    m_pParent = parent;
  m_font = parent ? parent->GetFont() : wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  if (!m_font.IsOk())
    m_font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  SetFont(m_font);
  LoadChoicesFromResource(id);
  CreateEditBox();
  return true;
}

void CAdvComboBox::LoadChoicesFromResource(int id) {
  if (id < 0)
    return;
  const std::wstring text = LoadBuiltInString(id);
  if (text.empty())
    return;
  m_list.clear();
  wxStringTokenizer parts(text, "\n", wxTOKEN_RET_EMPTY_ALL);
  while (parts.HasMoreTokens()) {
    ListItemData item;
    item.strText = parts.GetNextToken().ToStdWstring();
    m_list.push_back(item);
  }
}

void CAdvComboBox::CreateEditBox() {
  if (m_nStyle != CBS_DROPDOWN || m_pEdit)
    return;
  wxRect rect(wxPoint(0, 0), GetClientSize());
  rect.width -= GetButtonRect().width;
  if (m_dwACBStyle & ADVCOMBO_INSETEDIT) {
    rect.Deflate(2);
    rect.Offset(1, 2);
  }
  // wx edit boxes always scroll horizontally.
  m_pEdit = new CAdvComboEdit(this, rect, m_strEdit, 0);
  m_pEdit->SetFont(m_font);
}

// ---------------------------------------------------------------- choices

ListItemData *CAdvComboBox::ItemAt(int index) {
  if (index < 0 || index >= static_cast<int>(m_list.size()))
    return nullptr;
  auto it = m_list.begin();
  std::advance(it, index);
  return &*it;
}

const ListItemData *CAdvComboBox::ItemAt(int index) const {
  return const_cast<CAdvComboBox *>(this)->ItemAt(index);
}

int CAdvComboBox::AddString(const wxString &text) {
  ListItemData item;
  item.strText = text.ToStdWstring();
  m_list.push_back(item);
  return static_cast<int>(m_list.size()) - 1;
}

void CAdvComboBox::SetEditText(const wxString &text) {
  if (m_pEdit && m_pEdit->GetValue() != text) {
    m_bInCompletion = true; // a text set by the box is not typing
    m_pEdit->ChangeValue(text);
    m_bInCompletion = false;
  }
}

int CAdvComboBox::SetCurSel(int index) {
  if (index == -1) {
    m_nCurSel = -1;
    m_strEdit.clear();
    SetEditText(m_strEdit);
    Refresh(false);
    return -1;
  }
  const ListItemData *item = ItemAt(index);
  if (!item)
    return -1;
  m_nCurSel = index;
  m_strEdit = item->strText;
  SetLabel(m_strEdit);
  SetEditText(m_strEdit);
  Refresh(false);
  return index;
}

int CAdvComboBox::GetCurSel() const {
  wxString text = m_pEdit ? m_pEdit->GetValue() : m_strEdit;
  return FindStringExact(-1, text);
}

int CAdvComboBox::FindStringExact(int start, const wxString &text) const {
  if (start >= static_cast<int>(m_list.size()))
    return -1;
  int index = 0;
  std::wstring wanted = text.ToStdWstring();
  for (const ListItemData &item : m_list) {
    if (index >= start && item.strText == wanted)
      return index;
    ++index;
  }
  return -1;
}

int CAdvComboBox::SelectString(int start, const wxString &text) {
  int found = FindStringExact(start, text);
  return found < 0 ? -1 : SetCurSel(found);
}

int CAdvComboBox::ResetContent() {
  m_list.clear();
  m_strEdit.clear();
  if (m_pEdit)
    SetEditText(wxString());
  m_nCurSel = -1;
  Refresh(false);
  return 0;
}

int CAdvComboBox::GetLBText(int index, wxString &text) const {
  const ListItemData *item = ItemAt(index);
  if (!item)
    return -1;
  text = item->strText;
  return static_cast<int>(item->strText.size()) + 1;
}

int CAdvComboBox::GetLBTextLen(int index) const {
  const ListItemData *item = ItemAt(index);
  return item ? static_cast<int>(item->strText.size()) + 1 : -1;
}

int CAdvComboBox::GetTopIndex() const {
  return m_pDropWnd ? m_pDropWnd->GetListBox()->GetTopIndex() : -1;
}

int CAdvComboBox::SetTopIndex(int index) {
  if (!m_pDropWnd)
    return -1;
  int result = m_pDropWnd->GetListBox()->SetTopIndex(index);
  m_pDropWnd->GetScrollBar()->SyncWithList();
  return result;
}

unsigned int CAdvComboBox::GetCount() const { return static_cast<unsigned int>(m_list.size()); }

wxString CAdvComboBox::GetString(unsigned int n) const {
  const ListItemData *item = ItemAt(static_cast<int>(n));
  return item ? wxString(item->strText) : wxString();
}

void CAdvComboBox::SetString(unsigned int n, const wxString &text) {
  if (ListItemData *item = ItemAt(static_cast<int>(n)))
    item->strText = text.ToStdWstring();
}

int CAdvComboBox::SetItemDisabled(int index, bool disabled) {
  ListItemData *item = ItemAt(index);
  if (!item)
    return -1;
  item->bDisabled = disabled;
  return index;
}

bool CAdvComboBox::IsItemDisabled(int index) const {
  const ListItemData *item = ItemAt(index);
  return item && item->bDisabled;
}

void CAdvComboBox::SetTextFromSelection() {
  if (const ListItemData *item = ItemAt(m_nCurSel))
    m_strEdit = item->strText;
}

// ---------------------------------------------------------------- notifications

void CAdvComboBox::Notify(int code) {
  if (m_bDying || !m_pParent || m_pParent->IsBeingDeleted())
    return;
  wxCommandEvent event(wxEVT_ADVCOMBO_NOTIFY, GetId());
  event.SetInt(code);
  event.SetEventObject(this);
  m_pParent->GetEventHandler()->ProcessEvent(event);
}

// ---------------------------------------------------------------- the drop-down

const ChoiceList *CAdvComboBox::GetDropList() const {
  return m_pDropWnd ? &m_pDropWnd->GetList() : nullptr;
}

int CAdvComboBox::DropRowHeight() {
  wxClientDC dc(this);
  dc.SetFont(m_font);
  return dc.GetCharHeight() + 2;
}

CDropWnd *CAdvComboBox::NewDropWnd(const ChoiceList &list, int flags) {
  return new CDropWnd(this, list, flags);
}

void CAdvComboBox::ToggleDropDown() {
  if (m_pDropWnd) {
    CloseDropDown();
    return;
  }
  m_bShowingSuggestions = false;
  OpenDropDown(m_list, m_nCurSel);
}

void CAdvComboBox::OpenDropDown(const ChoiceList &list, int selection) {
  if (m_pDropWnd)
    return;
  m_bSelItem = false;
  wxRect box = GetScreenRect();
  int display = wxDisplay::GetFromWindow(this);
  wxRect screen = wxDisplay(display == wxNOT_FOUND ? 0 : display).GetGeometry();
  int arrow = wxSystemSettings::GetMetric(wxSYS_VSCROLL_ARROW_Y, this);
  if (arrow <= 0)
    arrow = 16;
  int scrollWidth = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, this);
  if (scrollWidth <= 0)
    scrollWidth = 16;

  m_pDropWnd = NewDropWnd(list, m_dwACBStyle);
  if (!m_pDropWnd->Create(this, wxRect(box.x, box.GetBottom() + 1, box.width, 100))) {
    delete m_pDropWnd;
    m_pDropWnd = nullptr;
    return;
  }
  CDropListBox *listBox = m_pDropWnd->GetListBox();
  int rowHeight = DropRowHeight();
  listBox->SetItemHeight(rowHeight);
  int rows = listBox->GetCount();
  if (m_nMaxVisItems != -1)
    rows = std::min(rows, m_nMaxVisItems);

  wxClientDC dc(this);
  dc.SetFont(m_font);
  int width = listBox->WidestText(dc) + scrollWidth + 8;
  width = std::clamp(std::max(width, box.width), 0, screen.width);
  wxRect rect = DropDownRect(box, rowHeight, rows, m_nMinVisItems, width, screen, arrow);
  m_pDropWnd->SetSize(rect);
  m_pDropWnd->SetDragLimit(rect.GetSize() + wxSize(100, 100));
  m_pDropWnd->LayoutParts();
  m_pDropWnd->Show();
  m_pDropWnd->Raise();
  m_pDropWnd->GetScrollBar()->SyncWithList();
  if (selection < 0 || selection >= listBox->GetCount())
    selection = 0;
  listBox->SetCurSel(listBox->GetCount() > 0 ? selection : -1);
  m_pDropWnd->GetScrollBar()->SyncWithList();
  m_pDropWnd->TakeCapture();
  if (!m_bAppActiveBound && wxTheApp) {
    wxTheApp->Bind(wxEVT_ACTIVATE_APP, &CAdvComboBox::OnActivateApp, this);
    m_bAppActiveBound = true;
  }
  Refresh(false);
  Notify(CBN_DROPDOWN);
}

void CAdvComboBox::OnActivateApp(wxActivateEvent &event) {
  event.Skip();
  if (!event.GetActive() && m_pDropWnd)
    CloseDropDown();
}

void CAdvComboBox::DestroyDropDown() {
  if (m_bAppActiveBound && wxTheApp) {
    wxTheApp->Unbind(wxEVT_ACTIVATE_APP, &CAdvComboBox::OnActivateApp, this);
    m_bAppActiveBound = false;
  }
  if (!m_pDropWnd)
    return;
  CDropWnd *drop = m_pDropWnd;
  m_pDropWnd = nullptr;
  drop->DropCapture();
  drop->Hide();
  // Never called from the drop-down's own handlers: those ask for the close through CallAfter.
  delete drop;
}

void CAdvComboBox::CloseDropDown() {
  if (!m_pDropWnd) {
    OnComboComplete();
    return;
  }
  DestroyDropDown();
  m_bShowingSuggestions = false;
  Refresh(false);
  if (!m_bSelItem)
    Notify(CBN_SELENDCANCEL);
  m_bSelItem = false;
  Notify(CBN_CLOSEUP);
}

void CAdvComboBox::PickChoice(int index) {
  if (!m_pDropWnd)
    return;
  const ListItemData *picked = m_pDropWnd->GetListBox()->GetItemData(index);
  if (!picked || picked->bDisabled)
    return; // disabled choices cannot be picked
  m_strEdit = picked->strText;
  m_nCurSel = FindStringExact(-1, m_strEdit);
  SetLabel(m_strEdit);
  if (m_pEdit) {
    SetEditText(m_strEdit);
    m_pEdit->SetFocus();
    m_pEdit->SelectAll();
  }
  Notify(CBN_SELENDOK);
  m_bSelItem = true;
  DestroyDropDown();
  m_bShowingSuggestions = false;
  m_bSelItem = false;
  Refresh(false);
  Notify(CBN_CLOSEUP);
  Notify(CBN_SELCHANGE);
}
