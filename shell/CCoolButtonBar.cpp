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
  m_buttons.assign(buttons, buttons + count);
  SetupToolTips();
  Refresh(false);
  return true;
}

wxRect CCoolButtonBar::RectOf(const CoolBarButton &button) {
  return wxRect(button.x, button.y, button.width, button.height);
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
    CopyRect(mem, m_pictures[kPressed], RectOf(m_buttons[m_nPressed]));
  else if (m_nHover >= 0 && m_nHover < GetButtonCount())
    CopyRect(mem, m_pictures[kHover], RectOf(m_buttons[m_nHover]));
  for (const CoolBarButton &button : m_buttons)
    if (!button.enabled)
      CopyRect(mem, m_pictures[kDisabled], RectOf(button));
  dc.Blit(0, 0, client.x, client.y, &mem, 0, 0);
  mem.SelectObject(wxNullBitmap);
}

void CCoolButtonBar::EnableButton(int command, bool enable, bool repaint) {
  for (CoolBarButton &button : m_buttons)
    if (button.command == command) {
      button.enabled = enable ? 1 : 0;
      if (repaint)
        Refresh(false);
      return;
    }
}

bool CCoolButtonBar::IsButtonEnabled(int index) const {
  return index >= 0 && index < GetButtonCount() && m_buttons[index].enabled != 0;
}

int CCoolButtonBar::GetCommandAt(int index) const {
  return index >= 0 && index < GetButtonCount() ? m_buttons[index].command : 0;
}

int CCoolButtonBar::HitButton(const wxPoint &point, bool enabledOnly) const {
  for (size_t i = 0; i < m_buttons.size(); ++i) {
    if (enabledOnly && !m_buttons[i].enabled)
      continue;
    if (RectOf(m_buttons[i]).Contains(point))
      return static_cast<int>(i);
  }
  return -1;
}

std::vector<CCoolBarBase::Tool> CCoolButtonBar::CollectTools() const {
  std::vector<Tool> tools;
  for (const CoolBarButton &button : m_buttons)
    tools.push_back(
        {button.command + 100, RectOf(button),
         button.toolTipId > 0 ? wxString(LoadLangString(button.toolTipId)) : wxString()});
  return tools;
}

void CCoolButtonBar::OnLanguageChanged(wxCommandEvent &) {
  SetupToolTips();
  Refresh(true);
}
