// Rows, columns and cell records of the extended list. Each row keeps its texts (one per column)
// and, normally, one XListCellData per column it had when it was inserted; a row without records
// is drawn in default colours and ignores clicks. Drawing is in CXListCtrl_draw.cpp, keys, mouse,
// scrolling and tool tips in CXListCtrl_input.cpp.
#include "controls/CXListCtrl.h"

#include <algorithm>
#include <new>

#include <wx/dcclient.h>
#include <wx/settings.h>

// clang-format off
wxBEGIN_EVENT_TABLE(CXListCtrl, wxWindow)
  EVT_PAINT(CXListCtrl::OnPaint)
  EVT_ERASE_BACKGROUND(CXListCtrl::OnEraseBackground)
  EVT_SIZE(CXListCtrl::OnSize)
  EVT_SYS_COLOUR_CHANGED(CXListCtrl::OnSysColourChanged)
  EVT_KEY_DOWN(CXListCtrl::OnKeyDown)
  EVT_LEFT_DOWN(CXListCtrl::OnLeftDown)
  EVT_LEFT_DCLICK(CXListCtrl::OnLeftDClick)
  EVT_RIGHT_DOWN(CXListCtrl::OnRightDown)
  EVT_MOTION(CXListCtrl::OnMotion)
  EVT_MOUSEWHEEL(CXListCtrl::OnMouseWheel)
  EVT_SCROLLWIN(CXListCtrl::OnScroll)
  EVT_SET_FOCUS(CXListCtrl::OnFocusChange)
  EVT_KILL_FOCUS(CXListCtrl::OnFocusChange)
  EVT_TIMER(wxID_ANY, CXListCtrl::OnTimer)
  EVT_COMMAND(wxID_ANY, wxEVT_XEDIT_KILL_FOCUS, CXListCtrl::OnXEditKillFocus)
  EVT_COMMAND(wxID_ANY, wxEVT_XEDIT_VK_ESCAPE, CXListCtrl::OnXEditEscape)
  EVT_COMMAND(wxID_ANY, wxEVT_XCOMBOLIST_COMPLETE, CXListCtrl::OnXComboComplete)
  EVT_COMMAND(wxID_ANY, wxEVT_XCOMBOLIST_VK_ESCAPE, CXListCtrl::OnXComboEscape)
wxEND_EVENT_TABLE()
    // clang-format on

    CXListCtrl::CXListCtrl()
    : m_unfreezeTimer(this, kUnfreezeTimer), m_closeComboTimer(this, kCloseComboTimer),
      m_takeChoiceTimer(this, kTakeChoiceTimer) {
  SysColorChange();
}

CXListCtrl::CXListCtrl(wxWindow *parent, wxWindowID id, const wxPoint &pos, const wxSize &size)
    : CXListCtrl() {
  Create(parent, id, pos, size);
}

CXListCtrl::~CXListCtrl() {
  // The records go with the rows; editors still held go with the control.
  m_rows.clear();
  m_bHeaderIsSubclassed = false;
}

bool CXListCtrl::Create(wxWindow *parent, wxWindowID id, const wxPoint &pos, const wxSize &size) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  if (!wxWindow::Create(parent, id, pos, size,
                        wxVSCROLL | wxHSCROLL | wxWANTS_CHARS | wxBORDER_THEME | wxCLIP_CHILDREN))
    return false;
  // Tahoma 8 of the original dialogs; Liberation Sans has the same metrics family.
  wxWindow::SetFont(wxFont(8, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL, false,
                           "Liberation Sans"));
  if (!m_bHeaderIsSubclassed) {
    m_HeaderCtrl.Create(this);
    m_HeaderCtrl.SetFont(GetFont());
    m_bHeaderIsSubclassed = true;
  }
  MeasureRowHeight();
  LayoutHeader();
  UpdateScrollBars();
  return true;
}

bool CXListCtrl::SetFont(const wxFont &font) {
  bool changed = wxWindow::SetFont(font);
  m_textWidths[0].clear();
  m_textWidths[1].clear();
  if (m_bHeaderIsSubclassed)
    m_HeaderCtrl.SetFont(font);
  MeasureRowHeight();
  LayoutHeader();
  UpdateScrollBars();
  Refresh(false);
  return changed;
}

void CXListCtrl::SysColorChange() {
  m_cr3DFace = GetSysColor(SysColor::ButtonFace);
  m_cr3DHighLight = GetSysColor(SysColor::ButtonHighlight);
  m_cr3DShadow = GetSysColor(SysColor::ButtonShadow);
  m_crActiveCaption = GetSysColor(SysColor::ActiveCaption);
  m_crBtnFace = GetSysColor(SysColor::ButtonFace);
  m_crBtnShadow = GetSysColor(SysColor::ButtonShadow);
  m_crBtnText = GetSysColor(SysColor::ButtonText);
  m_crGrayText = GetSysColor(SysColor::GrayText);
  m_crHighLight = GetSysColor(SysColor::Highlight);
  m_crHighLightText = GetSysColor(SysColor::HighlightText);
  m_crInactiveCaption = GetSysColor(SysColor::InactiveCaption);
  m_crInactiveCaptionText = GetSysColor(SysColor::InactiveCaptionText);
  m_crWindow = GetSysColor(SysColor::Window);
  m_crWindowText = GetSysColor(SysColor::WindowText);
}

// ---------------------------------------------------------------- columns

int CXListCtrl::InsertColumn(int col, const wxString &heading, int format, int width) {
  HeaderItem item;
  item.text = heading;
  item.fmt = (format & ~HDF_STRING) | HDF_STRING;
  item.width = width;
  int index = m_HeaderCtrl.InsertItem(col, item);
  if (index < 0)
    return -1;
  // Rows keep the records they had; their texts follow the columns.
  for (Row &row : m_rows)
    if (static_cast<int>(row.texts.size()) > index)
      row.texts.insert(row.texts.begin() + index, wxString());
  OnColumnWidthsChanged();
  return index;
}

int CXListCtrl::GetColumns() const { return m_HeaderCtrl.GetItemCount(); }

int CXListCtrl::GetColumnWidth(int col) const {
  const HeaderItem *item = m_HeaderCtrl.GetItem(col);
  return item ? item->width : 0;
}

bool CXListCtrl::SetColumnWidth(int col, int width) {
  const HeaderItem *item = m_HeaderCtrl.GetItem(col);
  if (!item)
    return false;
  if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER) {
    // The widest text of the column (and of the heading when asked), as the platform fits it.
    wxClientDC dc(this);
    dc.SetFont(GetFont());
    int widest = 0;
    for (const Row &row : m_rows)
      if (col < static_cast<int>(row.texts.size()))
        widest = std::max(widest, dc.GetTextExtent(row.texts[col]).x);
    if (width == LVSCW_AUTOSIZE_USEHEADER)
      widest = std::max(widest, dc.GetTextExtent(item->text).x);
    width = widest + 2 * m_nPadding;
  }
  m_HeaderCtrl.SetItemWidth(col, width);
  int chosen = GetColumnWidth(col);
  m_HeaderCtrl.SetItemWidth(col, chosen + 2 * m_HeaderCtrl.GetSpacing());
  OnColumnWidthsChanged();
  return true;
}

void CXListCtrl::OnColumnWidthsChanged() {
  UpdateScrollBars();
  Refresh(false);
}

// ---------------------------------------------------------------- rows

int CXListCtrl::InsertItem(int row, const wxString &text, COLORREF crText, COLORREF crBackground) {
  if (row < 0)
    return -1;
  row = std::min(row, GetItemCount());
  Row newRow;
  newRow.texts.resize(std::max(1, GetColumns()));
  newRow.texts[0] = text;
  m_rows.insert(m_rows.begin() + row, std::move(newRow));
  Row &inserted = m_rows[row];
  if (m_focus >= row)
    ++m_focus;
  if (m_anchor >= row)
    ++m_anchor;
  try {
    inserted.cells.resize(GetColumns());
  } catch (const std::bad_alloc &) {
    // The row stays, without records: drawn plain, taking no clicks.
    UpdateScrollBars();
    RefreshRowsFrom(row);
    return -1;
  }
  if (!inserted.cells.empty()) {
    inserted.cells[0].crText = crText;
    inserted.cells[0].crBackground = crBackground;
    inserted.cells[0].nImage = -1;
  }
  UpdateScrollBars();
  RefreshRowsFrom(row);
  return row;
}

int CXListCtrl::InsertItem(int row, const wxString &text) {
  if (row < 0)
    return -1;
  return InsertItem(row, text, m_crWindowText, m_crWindow);
}

bool CXListCtrl::DeleteItem(int row) {
  if (!ValidRow(row))
    return false;
  bool wasSelected = m_rows[row].selected;
  m_rows.erase(m_rows.begin() + row);
  if (m_focus == row)
    m_focus = -1;
  else if (m_focus > row)
    --m_focus;
  if (m_anchor == row)
    m_anchor = -1;
  else if (m_anchor > row)
    --m_anchor;
  if (wasSelected)
    SendListEvent(wxEVT_LIST_ITEM_DESELECTED, row, 0);
  UpdateScrollBars();
  RefreshRowsFrom(row);
  return true;
}

bool CXListCtrl::DeleteAllItems() {
  m_rows.clear();
  m_focus = m_anchor = -1;
  m_top = 0;
  UpdateScrollBars();
  Refresh(false);
  return true;
}

wxString CXListCtrl::GetItemText(int row, int col) const {
  if (!ValidCell(row, col) || col >= static_cast<int>(m_rows[row].texts.size()))
    return wxString();
  return m_rows[row].texts[col];
}

int CXListCtrl::SetItemText(int row, int col, const wxString &text) {
  if (!ValidCell(row, col))
    return 0;
  Row &r = m_rows[row];
  if (col >= static_cast<int>(r.texts.size()))
    r.texts.resize(col + 1);
  r.texts[col] = text;
  UpdateSubItem(row, col);
  return 1;
}

int CXListCtrl::SetItemText(int row, int col, const wchar_t *text, COLORREF crText,
                            COLORREF crBackground) {
  if (!ValidCell(row, col))
    return 0;
  int result = 1;
  if (text) {
    Row &r = m_rows[row];
    if (col >= static_cast<int>(r.texts.size()))
      r.texts.resize(col + 1);
    r.texts[col] = wxString(text);
  }
  if (XListCellData *cell = GetCellData(row, col)) {
    cell->crText = crText == kDefaultColor ? m_crWindowText : crText;
    cell->crBackground = crBackground == kDefaultColor ? m_crWindow : crBackground;
  }
  UpdateSubItem(row, col);
  return result;
}

int CXListCtrl::SetItemToolTipText(int row, int col, const wxString &text) {
  XListCellData *cell = GetCellData(row, col);
  if (!cell)
    return 0;
  cell->strToolTip = text.ToStdWstring();
  return 1;
}

wxString CXListCtrl::GetItemToolTipText(int row, int col) const {
  const XListCellData *cell = GetCellData(row, col);
  return cell ? wxString(cell->strToolTip) : wxString();
}

std::uintptr_t CXListCtrl::GetItemData(int row) const {
  const XListCellData *cell = GetCellData(row, 0);
  return cell ? cell->dwItemData : 0;
}

int CXListCtrl::SetItemData(int row, std::uintptr_t data) {
  XListCellData *cell = GetCellData(row, 0);
  if (!cell)
    return 0;
  cell->dwItemData = data;
  return 1;
}

XListCellData *CXListCtrl::GetCellData(int row, int col) {
  if (!ValidCell(row, col) || col >= static_cast<int>(m_rows[row].cells.size()))
    return nullptr;
  return &m_rows[row].cells[col];
}

const XListCellData *CXListCtrl::GetCellData(int row, int col) const {
  return const_cast<CXListCtrl *>(this)->GetCellData(row, col);
}

bool CXListCtrl::RowUsable(int row) const {
  const XListCellData *cell = GetCellData(row, 0);
  return cell && cell->bEnabled;
}

void CXListCtrl::DeleteProgress(int row, int col) {
  XListCellData *cell = GetCellData(row, col);
  if (!cell)
    return;
  cell->bShowProgress = false;
  cell->nProgressPercent = 0;
  UpdateSubItem(row, col);
}

int CXListCtrl::GetEnabled(int row) const {
  const XListCellData *cell = GetCellData(row, 0);
  return cell && cell->bEnabled ? 1 : 0;
}

int CXListCtrl::SetEnabled(int row, bool enabled) {
  XListCellData *cell = GetCellData(row, 0);
  if (!cell)
    return 0;
  cell->bEnabled = enabled;
  RefreshRow(row);
  return 1;
}

int CXListCtrl::SetBold(int row, int col, bool bold) {
  XListCellData *cell = GetCellData(row, col);
  if (!cell)
    return 0;
  cell->bBold = bold;
  UpdateSubItem(row, col);
  return 1;
}

int CXListCtrl::SetCheckbox(int row, int col, int checkedState) {
  XListCellData *cell = GetCellData(row, col);
  if (!cell || checkedState < -1 || checkedState > 1)
    return 0;
  cell->nCheckedState = checkedState;
  UpdateSubItem(row, col);
  return 1;
}

int CXListCtrl::GetCheckbox(int row, int col) const {
  const XListCellData *cell = GetCellData(row, col);
  return cell ? cell->nCheckedState : -1;
}

int CXListCtrl::SetProgress(int row, int col, int percent, const wxString &format) {
  XListCellData *cell = GetCellData(row, col);
  if (!cell)
    return 0;
  cell->bShowProgress = true;
  cell->nProgressPercent = percent;
  cell->strProgressText = format.ToStdWstring();
  UpdateSubItem(row, col);
  return 1;
}

int CXListCtrl::SetItemImage(int row, int col, int image) {
  XListCellData *cell = GetCellData(row, col);
  if (!cell)
    return 0;
  cell->nImage = image;
  UpdateSubItem(row, col);
  return 1;
}

int CXListCtrl::CountCheckedItems(int col) const {
  if (col < 0 || col >= GetColumns())
    return 0;
  int count = 0;
  for (int row = 0; row < GetItemCount(); ++row) {
    const XListCellData *cell = GetCellData(row, col);
    if (cell && cell->nCheckedState == 1)
      ++count;
  }
  return count;
}

int CXListCtrl::GetHeaderCheckedState(int col) const {
  const HeaderItem *item = m_HeaderCtrl.GetItem(col);
  return item ? item->image : -1;
}

int CXListCtrl::SetHeaderCheckedState(int col, int state) {
  if (!m_HeaderCtrl.GetItem(col) || state < 0 || state > 2)
    return 0;
  m_HeaderCtrl.SetItemImage(col, state);
  m_HeaderCtrl.Update();
  return 1;
}

// ---------------------------------------------------------------- selection

int CXListCtrl::GetCurSel() const {
  for (int row = 0; row < GetItemCount(); ++row)
    if (m_rows[row].selected)
      return row;
  return -1;
}

bool CXListCtrl::SetCurSel(int row, bool ensureVisible) {
  if (!ValidRow(row))
    return false;
  SetSelectedState(row, true);
  SetFocusedItem(row);
  if (ensureVisible)
    EnsureVisible(row);
  return true;
}

bool CXListCtrl::IsSelected(int row) const { return ValidRow(row) && m_rows[row].selected; }

void CXListCtrl::Select(int row, bool select) {
  if (ValidRow(row))
    SetSelectedState(row, select);
}

void CXListCtrl::SelectAll() {
  for (int row = 0; row < GetItemCount(); ++row)
    SetSelectedState(row, true);
}

void CXListCtrl::DeselectAll() {
  for (int row = 0; row < GetItemCount(); ++row)
    SetSelectedState(row, false);
}

int CXListCtrl::GetSelectedCount() const {
  return static_cast<int>(
      std::count_if(m_rows.begin(), m_rows.end(), [](const Row &r) { return r.selected; }));
}

std::vector<int> CXListCtrl::GetSelectedItems() const {
  std::vector<int> rows;
  for (int row = 0; row < GetItemCount(); ++row)
    if (m_rows[row].selected)
      rows.push_back(row);
  return rows;
}

void CXListCtrl::SetFocusedItem(int row) {
  if (!ValidRow(row) && row != -1)
    return;
  int old = m_focus;
  m_focus = row;
  if (old != row) {
    RefreshRow(old);
    RefreshRow(row);
  }
}

void CXListCtrl::SetSelectedState(int row, bool selected) {
  if (m_rows[row].selected == selected)
    return;
  m_rows[row].selected = selected;
  RefreshRow(row);
  SendListEvent(selected ? wxEVT_LIST_ITEM_SELECTED : wxEVT_LIST_ITEM_DESELECTED, row, 0);
}

// ---------------------------------------------------------------- notifications

void CXListCtrl::SendListEvent(wxEventType type, int row, int col) {
  wxListEvent event(type, GetId());
  event.SetEventObject(this);
  event.SetIndex(row);
  event.SetColumn(col);
  GetEventHandler()->ProcessEvent(event);
}

void CXListCtrl::SendToParent(wxEventType type, int row, int col) {
  // Only to a live parent (or owner): never into a window that is going away.
  wxWindow *target = GetParent();
  if (!target || target->IsBeingDeleted())
    return;
  wxListEvent event(type, GetId());
  event.SetEventObject(this);
  event.SetIndex(row);
  event.SetColumn(col);
  event.StopPropagation();
  target->GetEventHandler()->ProcessEvent(event);
}
