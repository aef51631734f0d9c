#include "controls/CDropScrollBar.h"

#include <algorithm>

#include "controls/CAdvComboBox.h"
#include "controls/CDropListBox.h"
#include "controls/CDropWnd.h"

CDropScrollBar::CDropScrollBar(wxWindow *parent, const wxRect &rect)
    : wxScrollBar(parent, IDC_SCROLLBAR, rect.GetPosition(), rect.GetSize(), wxSB_VERTICAL) {
  for (const wxEventTypeTag<wxScrollEvent> &type :
       {wxEVT_SCROLL_LINEUP, wxEVT_SCROLL_LINEDOWN, wxEVT_SCROLL_PAGEUP, wxEVT_SCROLL_PAGEDOWN,
        wxEVT_SCROLL_THUMBTRACK, wxEVT_SCROLL_THUMBRELEASE, wxEVT_SCROLL_TOP, wxEVT_SCROLL_BOTTOM})
    Bind(type, &CDropScrollBar::OnScroll, this);
  Bind(wxEVT_SCROLL_CHANGED, &CDropScrollBar::OnScrollEnd, this);
}

void CDropScrollBar::SyncWithList() {
  if (!m_pListBox)
    return;
  int count = m_pListBox->GetCount();
  int page = m_pListBox->GetVisibleRows();
  // wx counts the range as positions + page; the thumb covers the rows shown.
  SetScrollbar(m_pListBox->GetTopIndex(), std::min(page, std::max(1, count)), std::max(1, count),
               std::max(1, page - 1));
}

void CDropScrollBar::ScrollList(wxEventType type, int thumbPos) {
  if (!m_pListBox)
    return;
  int top = m_pListBox->GetTopIndex();
  int page = m_pListBox->GetVisibleRows();
  int last = std::max(0, m_pListBox->GetCount() - 1);
  if (type == wxEVT_SCROLL_LINEUP)
    top -= 1;
  else if (type == wxEVT_SCROLL_LINEDOWN)
    top += 1;
  else if (type == wxEVT_SCROLL_PAGEUP)
    top -= page;
  else if (type == wxEVT_SCROLL_PAGEDOWN)
    top += page;
  else if (type == wxEVT_SCROLL_TOP)
    top = 0;
  else if (type == wxEVT_SCROLL_BOTTOM)
    top = last;
  else
    top = thumbPos;
  m_pListBox->SetTopIndex(std::clamp(top, 0, last));
  SetThumbPosition(m_pListBox->GetTopIndex());
}

void CDropScrollBar::OnScroll(wxScrollEvent &event) {
  ScrollList(event.GetEventType(), event.GetPosition());
}

void CDropScrollBar::OnScrollEnd(wxScrollEvent &event) {
  event.Skip();
  if (auto *drop = dynamic_cast<CDropWnd *>(GetParent()))
    drop->TakeCapture();
}
