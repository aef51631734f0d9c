// Keys, the mouse wheel, clicks, hover, typing with completion and suggestions, and focus of the
// advanced combo box.
#include <algorithm>

#include <wx/utils.h>

#include "controls/CAdvComboBox.h"
#include "controls/CAdvComboEdit.h"
#include "controls/CDropListBox.h"
#include "controls/CDropScrollBar.h"
#include "controls/CDropWnd.h"

namespace {
const int kWheelStep = 120;
const int kWheelRows = 3;
const int kPageChoices = 10;
const int kHoverMs = 50;
} // namespace

// ---------------------------------------------------------------- selection moves

void CAdvComboBox::MoveSelection(int step) {
  int count = static_cast<int>(m_list.size());
  if (count == 0)
    return;
  int old = m_nCurSel;
  int target = -1;
  if (step == 1 || step == -1) {
    // The next (or previous) enabled choice; none keeps the selection.
    for (int i = old + step; i >= 0 && i < count; i += step)
      if (!IsItemDisabled(i)) {
        target = i;
        break;
      }
  } else {
    int wanted = std::clamp(old + step, 0, count - 1);
    int dir = step > 0 ? 1 : -1;
    // The page target, or the nearest enabled choice before it on the way there.
    for (int i = wanted; i != old && i >= 0 && i < count; i -= dir)
      if (!IsItemDisabled(i)) {
        target = i;
        break;
      }
  }
  if (target < 0)
    return;
  m_nCurSel = target;
  m_strEdit = ItemAt(target)->strText;
  SetLabel(m_strEdit);
  SetEditText(m_strEdit);
  if (m_pEdit)
    m_pEdit->SelectAll();
  Refresh(false);
  if (target != old) {
    Notify(CBN_SELENDOK);
    Notify(CBN_SELCHANGE);
  }
}

namespace {
bool RowEnabled(const CDropListBox *list, int row) {
  const ListItemData *item = list->GetItemData(row);
  return item && !item->bDisabled;
}
// The row a move of `step` rows from `from` lands on: the row itself when enabled, else the
// nearest enabled one back towards `from`, else the first enabled one beyond; -1 if none.
int MoveInList(const CDropListBox *list, int from, int step) {
  int count = list->GetCount();
  if (count == 0)
    return -1;
  int dir = step > 0 ? 1 : -1;
  int wanted = std::clamp(from + step, 0, count - 1);
  for (int i = wanted; i != from && i >= 0 && i < count; i -= dir)
    if (RowEnabled(list, i))
      return i;
  for (int i = wanted + dir; i >= 0 && i < count; i += dir)
    if (RowEnabled(list, i))
      return i;
  return -1;
}
} // namespace

bool CAdvComboBox::HandleKey(int key, bool alt) {
  if (key != WXK_BACK && key != WXK_DELETE && key != WXK_NUMPAD_DELETE)
    m_bAutoAppend = true;
  if (key == WXK_F4 || (alt && (key == WXK_DOWN || key == WXK_UP))) {
    ToggleDropDown();
    return true;
  }
  if (key == WXK_BACK || key == WXK_DELETE || key == WXK_NUMPAD_DELETE) {
    m_bAutoAppend = false;
    return false; // the edit box deletes as usual
  }
  if (key == WXK_RIGHT) {
    if ((m_dwACBStyle & ADVCOMBO_AUTOCOMPLETE) && m_pEdit &&
        m_pEdit->GetInsertionPoint() == m_pEdit->GetLastPosition() && !m_pEdit->HasSelection()) {
      RunCompletion();
      return true;
    }
    return false;
  }
  if (m_pDropWnd) {
    CDropListBox *list = m_pDropWnd->GetListBox();
    int sel = list->GetCurSel();
    int page = std::max(1, list->GetVisibleRows());
    int target = -1;
    switch (key) {
    case WXK_DOWN:
      target = MoveInList(list, sel, 1);
      break;
    case WXK_UP:
      target = MoveInList(list, sel, -1);
      break;
    case WXK_PAGEDOWN:
      target = MoveInList(list, sel, page);
      break;
    case WXK_PAGEUP:
      target = MoveInList(list, sel, -page);
      break;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
      if (sel >= 0)
        PickChoice(sel);
      CloseDropDown(); // after a pick this finds no drop-down and completes
      return true;
    case WXK_ESCAPE:
      CloseDropDown();
      Refresh(false);
      return true;
    default:
      return false;
    }
    if (target >= 0) {
      list->SetCurSel(target);
      m_pDropWnd->GetScrollBar()->SyncWithList();
    }
    return true;
  }
  switch (key) {
  case WXK_DOWN:
    MoveSelection(1);
    return true;
  case WXK_UP:
    MoveSelection(-1);
    return true;
  case WXK_PAGEDOWN:
    MoveSelection(kPageChoices);
    return true;
  case WXK_PAGEUP:
    MoveSelection(-kPageChoices);
    return true;
  case WXK_RETURN:
  case WXK_NUMPAD_ENTER:
    OnComboComplete();
    return true;
  case WXK_ESCAPE:
    OnEscapeKey();
    return true;
  }
  return false;
}

void CAdvComboBox::OnKeyDown(wxKeyEvent &event) {
  int key = event.GetKeyCode();
  // Enter and Escape act as characters when closed (the char handler runs the hooks).
  if (!m_pDropWnd && (key == WXK_RETURN || key == WXK_NUMPAD_ENTER || key == WXK_ESCAPE)) {
    event.Skip();
    return;
  }
  if (!HandleKey(key, event.AltDown()))
    event.Skip();
}

void CAdvComboBox::OnChar(wxKeyEvent &event) {
  int key = event.GetKeyCode();
  if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER || key == WXK_ESCAPE) {
    HandleKey(key, false);
    return;
  }
  event.Skip();
}

void CAdvComboBox::HandleWheel(int rotation) {
  m_zDelta += rotation;
  if (m_zDelta >= kWheelStep) {
    m_zDelta = 0;
    if (m_pDropWnd)
      SetTopIndex(std::max(0, GetTopIndex() - kWheelRows));
    else
      MoveSelection(-1);
  } else if (m_zDelta <= -kWheelStep) {
    m_zDelta = 0;
    if (m_pDropWnd) {
      int count = m_pDropWnd->GetListBox()->GetCount();
      SetTopIndex(std::min(std::max(0, count - 1), GetTopIndex() + kWheelRows));
    } else {
      MoveSelection(1);
    }
  }
}

void CAdvComboBox::OnWheel(wxMouseEvent &event) { HandleWheel(event.GetWheelRotation()); }

// ---------------------------------------------------------------- mouse and hover

void CAdvComboBox::OnLeftDown(wxMouseEvent &event) {
  SetFocus();
  bool onButton = GetButtonRect().Contains(event.GetPosition());
  if (m_nStyle == CBS_DROPDOWNLIST || onButton)
    ToggleDropDown();
}

void CAdvComboBox::OnMotion(wxMouseEvent &event) {
  bool over = m_nStyle == CBS_DROPDOWNLIST || GetButtonRect().Contains(event.GetPosition());
  if (over && !m_bHot) {
    m_bHot = true;
    Refresh(false);
    m_hoverTimer.Start(kHoverMs);
  }
  event.Skip();
}

void CAdvComboBox::OnHoverTimer(wxTimerEvent &) {
  wxPoint pt = ScreenToClient(wxGetMousePosition());
  bool over = m_nStyle == CBS_DROPDOWNLIST ? wxRect(GetClientSize()).Contains(pt)
                                           : GetButtonRect().Contains(pt);
  if (!over) {
    m_hoverTimer.Stop();
    m_bHot = false;
    Refresh(false);
  }
}

// ---------------------------------------------------------------- typing

void CAdvComboBox::RunCompletion() {
  if (!m_pEdit || m_bInCompletion)
    return;
  m_bInCompletion = true;
  wxString typed = m_pEdit->GetValue();
  bool completed = false;
  if ((m_dwACBStyle & ADVCOMBO_AUTOCOMPLETE) && m_bAutoAppend && !typed.empty()) {
    for (const ListItemData &item : m_list) {
      wxString text(item.strText);
      if (text.StartsWith(typed) && text != typed) {
        m_pEdit->ChangeValue(text);
        m_pEdit->SetSelection(typed.length(), text.length());
        completed = true;
        break;
      }
    }
  }
  if ((m_dwACBStyle & ADVCOMBO_AUTOSUGGEST) && !completed) {
    if (typed.empty()) {
      if (m_pDropWnd)
        CloseDropDown();
    } else {
      ChoiceList found;
      for (const ListItemData &item : m_list) {
        wxString text(item.strText);
        if (text.StartsWith(typed) && text != typed)
          found.push_back(item);
      }
      if (m_pDropWnd)
        CloseDropDown();
      if (found.size() > 1) {
        m_suggestList = found;
        m_bShowingSuggestions = true;
        OpenDropDown(m_suggestList, 0);
      }
    }
  }
  m_bInCompletion = false;
}

void CAdvComboBox::OnEditTextChanged() {
  if (m_bInCompletion || !m_pEdit)
    return;
  m_strEdit = m_pEdit->GetValue();
  RunCompletion();
  m_strEdit = m_pEdit->GetValue();
  if (!m_pDropWnd) {
    Notify(CBN_EDITUPDATE);
    Notify(CBN_EDITCHANGE);
  }
}

// ---------------------------------------------------------------- focus

void CAdvComboBox::OnSetFocus(wxFocusEvent &event) {
  event.Skip();
  m_bHasFocus = true;
  Refresh(false);
  if (m_pEdit)
    m_pEdit->SetFocus();
  else
    Notify(CBN_SETFOCUS);
}

void CAdvComboBox::OnKillFocus(wxFocusEvent &event) {
  event.Skip();
  if (IsClosing())
    return;
  if (!m_pEdit)
    m_bHasFocus = false;
  Refresh(false);
  // The focus passing on to our own edit box is not a loss.
  if (m_pEdit && event.GetWindow() == m_pEdit)
    return;
  OnEscapeKey();
}

void CAdvComboBox::OnEditSetFocus() {
  m_bHasFocus = true;
  if (!m_bHasSentFocus) {
    Notify(CBN_SETFOCUS);
    m_bHasSentFocus = true;
  }
  Refresh(false);
}

void CAdvComboBox::OnEditKillFocus(wxWindow *gaining) {
  if (IsClosing())
    return;
  m_bHasFocus = false;
  m_bHasSentFocus = false;
  if (m_pDropWnd) {
    CloseDropDown();
  } else if (gaining != this) {
    Notify(CBN_SELENDCANCEL);
    Notify(CBN_KILLFOCUS);
    if (m_pEdit)
      m_pEdit->SetSelection(0, 0);
  }
  Refresh(false);
}

bool CAdvComboBox::Enable(bool enable) {
  bool changed = wxWindow::Enable(enable);
  if (m_pEdit)
    m_pEdit->Enable(enable);
  Refresh(false);
  return changed;
}
