// The drop-down window. It holds the mouse while open: presses outside close it, the size grip
// resizes it, and over the list the pointer hot-tracks. Over the scroll bar the mouse is let go
// so that the scroll bar works as usual, and taken back when scrolling ends or the pointer
// leaves it.
#include "controls/CDropWnd.h"

#include <algorithm>

#include <wx/dcbuffer.h>
#include <wx/settings.h>

#include "controls/CDropListBox.h"
#include "controls/CDropScrollBar.h"
#include "controls/ClassicParts.h"
#include "controls/Colors.h"

namespace {
int ArrowSize(const wxWindow *win) {
  int arrow = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, win);
  return arrow > 0 ? arrow : 16;
}
} // namespace

CDropWnd::CDropWnd(CAdvComboBox *combo, const ChoiceList &list, int flags)
    : m_pComboParent(combo), m_list(list), m_dwACBStyle(flags) {}

CDropWnd::~CDropWnd() { DropCapture(); }

bool CDropWnd::Create(wxWindow *parent, const wxRect &rect) {
  if (!wxPopupWindow::Create(parent, wxBORDER_NONE))
    return false;
  SetId(IDC_DROPWND);
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetSize(rect);
  m_pScrollBar = new CDropScrollBar(this, wxRect(-1, -1, -1, -1));
  m_nScrollMinHeight = m_pScrollBar->GetBestSize().y;
  m_pListBox = new CDropListBox(m_pComboParent, this, wxRect(1, 1, 10, 10));
  m_pScrollBar->SetListBox(m_pListBox);
  m_pListBox->SetScrollBar(m_pScrollBar);
  for (const ListItemData &item : m_list)
    m_pListBox->AddString(item);
  LayoutParts();

  Bind(wxEVT_PAINT, &CDropWnd::OnPaint, this);
  Bind(wxEVT_SIZE, &CDropWnd::OnSize, this);
  Bind(wxEVT_LEFT_DOWN, &CDropWnd::OnLeftDown, this);
  Bind(wxEVT_LEFT_UP, &CDropWnd::OnLeftUp, this);
  Bind(wxEVT_MOTION, &CDropWnd::OnMotion, this);
  Bind(wxEVT_MOUSEWHEEL, &CDropWnd::OnWheel, this);
  Bind(wxEVT_MOUSE_CAPTURE_LOST, &CDropWnd::OnCaptureLost, this);
  m_pScrollBar->Bind(wxEVT_LEAVE_WINDOW, [this](wxMouseEvent &event) {
    event.Skip();
    TakeCapture();
  });
  return true;
}

void CDropWnd::LayoutParts() {
  if (!m_pListBox)
    return;
  wxSize size = GetClientSize();
  int arrow = ArrowSize(this);
  // A one-pixel frame around a list and, on its right, the scroll bar over the size grip.
  m_rcList = wxRect(1, 1, std::max(1, size.x - 2 - arrow), std::max(1, size.y - 2));
  m_rcScroll = wxRect(m_rcList.GetRight() + 1, 1, arrow, std::max(1, size.y - 2 - arrow));
  m_rcSizeHandle = wxRect(m_rcScroll.x, m_rcScroll.GetBottom() + 1, arrow, arrow);
  m_pListBox->SetSize(m_rcList);
  m_pScrollBar->SetSize(m_rcScroll);
  // A drop-down of a row or two has no room for the scroll bar's arrows.
  m_pScrollBar->Show(m_rcScroll.height >= m_nScrollMinHeight);
  m_pScrollBar->SyncWithList();
}

void CDropWnd::OnSize(wxSizeEvent &event) {
  event.Skip();
  LayoutParts();
  Refresh(false);
}

void CDropWnd::TakeCapture() {
  if (IsShown() && !HasCapture())
    CaptureMouse();
}

void CDropWnd::DropCapture() {
  if (HasCapture())
    ReleaseMouse();
}

void CDropWnd::OnCaptureLost(wxMouseCaptureLostEvent &) { m_bResizing = false; }

void CDropWnd::PointerDown(const wxPoint &pt) {
  wxSize size = GetClientSize();
  if (!wxRect(size).Contains(pt)) {
    // A press outside closes the drop-down; the box sees it as a press of its own when it lands
    // on the box (a press on its button must not open it again at once).
    CAdvComboBox *combo = m_pComboParent;
    wxPoint onBox = combo->ScreenToClient(ClientToScreen(pt));
    bool onTheBox = wxRect(combo->GetClientSize()).Contains(onBox);
    combo->CallAfter([combo, onTheBox] {
      combo->CloseDropDown();
      if (onTheBox)
        combo->SetFocus();
    });
    return;
  }
  if (m_rcSizeHandle.Contains(pt)) {
    m_bResizing = true;
    m_ptLastResize = wxPoint(size.x - pt.x, size.y - pt.y);
  }
}

void CDropWnd::PointerMove(const wxPoint &pt) {
  if (m_bResizing) {
    int arrow = ArrowSize(this);
    int width = std::clamp(pt.x + m_ptLastResize.x, m_pComboParent->GetSize().x,
                           std::max(m_pComboParent->GetSize().x, m_maxSize.x));
    int height = std::clamp(pt.y + m_ptLastResize.y, arrow + 1, std::max(arrow + 1, m_maxSize.y));
    SetSize(width, height);
    return;
  }
  if (m_rcList.Contains(pt)) {
    m_pListBox->PointerMove(pt - m_rcList.GetPosition());
  } else if (m_rcScroll.Contains(pt)) {
    DropCapture(); // the scroll bar takes the mouse until scrolling ends or the pointer leaves
  }
  SetCursor(m_rcSizeHandle.Contains(pt) ? wxCursor(wxCURSOR_SIZENWSE) : wxNullCursor);
}

void CDropWnd::PointerUp(const wxPoint &pt) {
  if (m_bResizing) {
    m_bResizing = false;
    m_pListBox->Refresh(false);
    return;
  }
  if (m_rcList.Contains(pt))
    m_pListBox->PointerUp(pt - m_rcList.GetPosition());
}

void CDropWnd::OnLeftDown(wxMouseEvent &event) { PointerDown(event.GetPosition()); }
void CDropWnd::OnLeftUp(wxMouseEvent &event) { PointerUp(event.GetPosition()); }
void CDropWnd::OnMotion(wxMouseEvent &event) { PointerMove(event.GetPosition()); }
void CDropWnd::OnWheel(wxMouseEvent &event) {
  m_pComboParent->HandleWheel(event.GetWheelRotation());
}

void CDropWnd::OnPaint(wxPaintEvent &) {
  wxAutoBufferedPaintDC dc(this);
  wxSize size = GetClientSize();
  dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_3DDKSHADOW)));
  dc.SetBrush(wxBrush(ToWx(GetSysColor(SysColor::Window))));
  dc.DrawRectangle(0, 0, size.x, size.y);
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(ToWx(GetSysColor(SysColor::ButtonFace))));
  dc.DrawRectangle(m_rcSizeHandle);
  ClassicParts::DrawSizeGrip(this, dc, m_rcSizeHandle);
}
