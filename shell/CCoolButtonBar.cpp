#include "CCoolButtonBar.h"

#include "LanguageChanged.h"
#include "Localization.h"
#include "ResourceBitmap.h"

#include <wx/dcmemory.h>

namespace {

enum { kNormal, kHover, kPressed, kDisabled };

void CopyRect(wxDC &target, const wxBitmap &picture, const wxRect &rect) {
  if (!picture.IsOk() || rect.IsEmpty())
    return;
  wxMemoryDC source;
  source.SelectObjectAsSource(picture);
  target.Blit(rect.x, rect.y, rect.width, rect.height, &source, rect.x, rect.y);
}

} // namespace

CCoolButtonBar::CCoolButtonBar(wxWindow *parent, wxWindowID id, const wxPoint &pos,
                               const wxSize &size)
    : CCoolBarBase(parent, id, pos, size) {
  Bind(WM_LANGUAGE_CHANGED, &CCoolButtonBar::OnLanguageChanged, this);
}

bool CCoolButtonBar::SetButtons(int bitmapId, const wxRect states[4], int count,
                                const CoolBarButton *buttons) {
  if (count < 0 || count > kMaxButtons || (count > 0 && !buttons))
    return false;
  const wxBitmap strip = LoadBitmapResource(bitmapId);
  for (int p = 0; p < 4; ++p)
    m_pictures[p] = CutPicture(strip, states[p]);
  m_stripSize = states[kNormal].GetSize();
  m_nHover = -1;
  m_nPressed = -1;
  m_buttons.clear();
  for (const CoolBarButton *b = buttons; b < buttons + count; ++b)
    m_buttons.push_back(
        {b->enabled, b->command, wxRect(b->x, b->y, b->width, b->height), b->toolTipId});
  SetupToolTips();
  Refresh(false);
  return true;
}

void CCoolButtonBar::DrawBar(wxDC &dc) {
  const wxSize client = GetClientSize();
  if (client.x <= 0 || client.y <= 0)
    return;
  wxBitmap offscreen(client);
  wxMemoryDC mem(offscreen);
  mem.SetBackground(wxBrush(GetParent() ? GetParent()->GetBackgroundColour() : *wxWHITE));
  mem.Clear();
  if (m_pictures[kNormal].IsOk())
    mem.DrawBitmap(m_pictures[kNormal], 0, 0);
  if (m_nPressed >= 0 && m_nPressed < GetButtonCount())
    CopyRect(mem, m_pictures[kPressed], m_buttons[m_nPressed].rect);
  else if (m_nHover >= 0 && m_nHover < GetButtonCount())
    CopyRect(mem, m_pictures[kHover], m_buttons[m_nHover].rect);
  for (const BarButton &button : m_buttons)
    if (!button.enabled)
      CopyRect(mem, m_pictures[kDisabled], button.rect);
  dc.Blit(0, 0, client.x, client.y, &mem, 0, 0);
  mem.SelectObject(wxNullBitmap);
}

void CCoolButtonBar::OnLanguageChanged(wxCommandEvent &) {
  SetupToolTips();
  Refresh(true);
}
