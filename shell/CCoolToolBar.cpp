// Layout and drawing of a tool bar. Entries are placed from left to right as they are drawn: a
// button is its picture's left part (the icon), then the picture's middle columns stretched
// under the caption, then the picture's right cap. Rectangles are therefore known only after a
// paint, and GetBarWidth measures the captions the same way the drawing does.
#include "CCoolToolBar.h"

#include "LanguageChanged.h"
#include "Localization.h"
#include "ResourceBitmap.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

#include <wx/dcmemory.h>
#include <wx/fontenum.h>
#include <wx/graphics.h>
#include <wx/settings.h>

namespace {

const double kDefaultFontSize = 14.0;
const wchar_t kDefaultFontFace[] = L"Tahoma";
const wxColour kSpacerFill(250, 250, 250);

// The face a missing one is replaced by: the proportional sans the dialogs use. Left to the
// desktop ("Sans"), a system with only the Liberation fonts would draw the captions in Liberation
// Mono. Characters it lacks (Japanese) come from the desktop's other fonts.
const wchar_t kFallbackFace[] = L"Liberation Sans";
// Captions are shrunk at most this far to fit the room the window has for a bar.
const double kMinFontScale = 0.75;
const wchar_t kEllipsis[] = L"\u2026";

// Face names are looked up once each: enumerating the desktop's fonts is slow.
wxString ResolveFace(const wxString &face) {
  static std::map<wxString, wxString> resolved;
  auto found = resolved.find(face);
  if (found != resolved.end())
    return found->second;
  wxString use = face;
  if (!wxFontEnumerator::IsValidFacename(face)) {
    use = kFallbackFace;
    if (!wxFontEnumerator::IsValidFacename(use))
      use = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).GetFaceName();
    if (use.empty())
      use = "Sans";
  }
  resolved[face] = use;
  return use;
}

// The picture of a disabled button where its table gives the normal one again: the same picture
// greyed, so that it does not look usable.
wxBitmap Greyed(const wxBitmap &picture) {
  if (!picture.IsOk())
    return picture;
  return wxBitmap(picture.ConvertToImage().ConvertToDisabled(255));
}

bool IsSpacer(const CoolToolButtonDef &def) { return def.command == -1; }
bool IsEmptyEntry(const CoolToolButtonDef &def) { return def.command == -2; }
bool HasPicture(const CoolToolButtonDef &def) { return def.bitmap > 0; }

void CopyColumns(wxDC &target, int x, const wxBitmap &picture, int fromX, int width) {
  if (!picture.IsOk() || width <= 0)
    return;
  wxMemoryDC source;
  source.SelectObjectAsSource(picture);
  target.Blit(x, 0, width, picture.GetHeight(), &source, fromX, 0);
}

void StretchColumns(wxDC &target, int x, int width, const wxBitmap &picture, int fromX,
                    int fromWidth) {
  if (!picture.IsOk() || width <= 0 || fromWidth <= 0)
    return;
  wxMemoryDC source;
  source.SelectObjectAsSource(picture);
  target.StretchBlit(x, 0, width, picture.GetHeight(), &source, fromX, 0, fromWidth,
                     picture.GetHeight());
}

} // namespace

CCoolToolBar::CCoolToolBar(wxWindow *parent, wxWindowID id, const wxPoint &pos, const wxSize &size)
    : CCoolBarBase(parent, id, pos, size) {
  Bind(WM_LANGUAGE_CHANGED, &CCoolToolBar::OnLanguageChanged, this);
}

bool CCoolToolBar::SetButtonsWithPictures(int count, const CoolToolButtonDef *table) {
  if (count <= 0 || count > kMaxButtons || !table)
    return false;
  m_buttons.assign(count, Button());
  SetButtons(table);
  std::map<int, wxBitmap> bitmaps;
  for (int i = 0; i < count; ++i) {
    const CoolToolButtonDef &def = table[i];
    Button &button = m_buttons[i];
    button.enabled = def.enabled;
    button.command = def.command;
    button.leftWidth = def.leftWidth;
    if (!HasPicture(def))
      continue;
    auto found = bitmaps.find(def.bitmap);
    if (found == bitmaps.end())
      found = bitmaps.emplace(def.bitmap, LoadBitmapResource(def.bitmap)).first;
    const wxBitmap &strip = found->second;
    const wxPoint at[4] = {{def.normalX, def.normalY},
                           {def.hoverX, def.hoverY},
                           {def.pressedX, def.pressedY},
                           {def.disabledX, def.disabledY}};
    for (int p = 0; p < 4; ++p)
      button.pictures[p] = CutPicture(strip, wxRect(at[p], wxSize(def.width, def.height)));
    if (at[kDisabled] == at[kNormal])
      button.pictures[kDisabled] = Greyed(button.pictures[kNormal]);
  }
  Refresh(true);
  return true;
}

void CCoolToolBar::SetButtons(const CoolToolButtonDef *table) {
  m_table = table;
  if (!table)
    return;
  for (size_t i = 0; i < m_buttons.size(); ++i) {
    const CoolToolButtonDef &def = table[i];
    m_buttons[i].caption = def.captionId > 0 ? wxString(LoadLangString(def.captionId)) : wxString();
    m_buttons[i].shown = m_buttons[i].caption;
    m_buttons[i].toolTipId = def.toolTipId;
    m_buttons[i].rect = wxRect();
  }
  m_nHover = -1;
  m_nPressed = -1;
  m_nTextPushed = -1;
}

wxString CCoolToolBar::GetFontFace() const {
  return m_fontFace.empty() ? wxString(kDefaultFontFace) : m_fontFace;
}

double CCoolToolBar::GetFontSize() const {
  const double size = m_fontSize <= 0 ? kDefaultFontSize : m_fontSize;
  return size * m_fontScale;
}

void CCoolToolBar::SetTextColors(const wxColour &normal, const wxColour &disabled,
                                 const wxColour &hover, const wxColour &glow) {
  m_normalText = normal;
  m_disabledText = wxColour(disabled.Red(), disabled.Green(), disabled.Blue(), 150);
  m_hoverText = hover;
  m_glow = glow;
}

wxString CCoolToolBar::GetButtonCaption(int index) const {
  return index >= 0 && index < GetButtonCount() ? m_buttons[index].caption : wxString();
}

void CCoolToolBar::MeasureText(const wxString &text, double *width, double *height) const {
  *width = 0;
  *height = 0;
  if (text.empty())
    return;
  wxGraphicsRenderer *renderer = wxGraphicsRenderer::GetDefaultRenderer();
  std::unique_ptr<wxGraphicsContext> gc(renderer->CreateMeasuringContext());
  if (!gc)
    return;
  gc->SetAntialiasMode(wxANTIALIAS_DEFAULT);
  gc->SetFont(renderer->CreateFont(GetFontSize(), ResolveFace(GetFontFace())));
  gc->GetTextExtent(text, width, height);
}

wxString CCoolToolBar::GetShownCaption(int index) const {
  return index >= 0 && index < GetButtonCount() ? m_buttons[index].shown : wxString();
}

void CCoolToolBar::ShortenCaptions() {
  for (Button &button : m_buttons) {
    const wxString &caption = button.caption;
    button.shown = caption;
    if (m_maxCaptionWidth <= 0 || caption.empty() ||
        MeasureCaptionWidth(caption) <= m_maxCaptionWidth)
      continue;
    // The longest start of the caption that fits with the ellipsis after it.
    size_t fits = 0, tooLong = caption.length();
    while (tooLong - fits > 1) {
      const size_t mid = (fits + tooLong) / 2;
      if (MeasureCaptionWidth(caption.Left(mid) + kEllipsis) <= m_maxCaptionWidth)
        fits = mid;
      else
        tooLong = mid;
    }
    button.shown = caption.Left(std::max<size_t>(fits, 1)).Strip(wxString::trailing) + kEllipsis;
  }
}

bool CCoolToolBar::FitToWidth(int width) {
  m_fontScale = 1.0;
  m_maxCaptionWidth = 0;
  ShortenCaptions();
  if (width <= 0 || GetBarWidth() <= width)
    return true;
  // First a smaller font, then shortened captions, longest first.
  while (m_fontScale > kMinFontScale + 1e-9 && GetBarWidth() > width)
    m_fontScale -= 0.05;
  if (GetBarWidth() <= width)
    return true;
  int longest = 0;
  for (int i = 0; i < GetButtonCount(); ++i)
    longest = std::max(longest, MeasureCaptionWidth(m_buttons[i].caption));
  for (m_maxCaptionWidth = longest; m_maxCaptionWidth > 8; m_maxCaptionWidth -= 4) {
    ShortenCaptions();
    if (GetBarWidth() <= width)
      return true;
  }
  return GetBarWidth() <= width;
}

int CCoolToolBar::MeasureCaptionWidth(const wxString &caption) const {
  if (caption.empty())
    return 0;
  double w = 0, h = 0;
  MeasureText(caption, &w, &h);
  return static_cast<int>(std::ceil(w + 1));
}

int CCoolToolBar::GetBarWidth() const {
  if (!m_table)
    return 0;
  int width = 0;
  for (size_t i = 0; i < m_buttons.size(); ++i) {
    const CoolToolButtonDef &def = m_table[i];
    width += def.gap;
    if (IsEmptyEntry(def))
      continue;
    if (IsSpacer(def))
      width += HasPicture(def) ? def.width : def.leftWidth;
    else
      width += def.width + MeasureCaptionWidth(GetShownCaption(static_cast<int>(i)));
  }
  return width;
}

int CCoolToolBar::GetBarHeight() const {
  return m_table && !m_buttons.empty() ? m_table[0].height : 0;
}

void CCoolToolBar::DrawBar(wxDC &dc) {
  const wxSize client = GetClientSize();
  if (client.x <= 0 || client.y <= 0)
    return;
  wxBitmap offscreen(client);
  wxMemoryDC mem(offscreen);
  mem.SetBackground(wxBrush(GetParent() ? GetParent()->GetBackgroundColour() : *wxWHITE));
  mem.Clear();

  // Pictures first, laying out the rectangles; captions go on top in a second pass.
  int x = 0;
  for (size_t i = 0; m_table && i < m_buttons.size(); ++i) {
    const CoolToolButtonDef &def = m_table[i];
    Button &button = m_buttons[i];
    const int index = static_cast<int>(i);
    if (IsEmptyEntry(def)) {
      x += def.gap;
      continue;
    }
    if (IsSpacer(def) && !HasPicture(def)) {
      mem.SetPen(*wxTRANSPARENT_PEN);
      mem.SetBrush(wxBrush(kSpacerFill));
      mem.DrawRectangle(x, 0, def.leftWidth, client.y);
      x += def.leftWidth;
      continue;
    }
    int width = def.width;
    if (IsSpacer(def)) {
      CopyColumns(mem, x, button.pictures[kNormal], 0, def.width);
    } else {
      Picture which = kDisabled;
      if (index == m_nPressed)
        which = kPressed;
      else if (index == m_nHover)
        which = kHover;
      else if (button.enabled)
        which = kNormal;
      const wxBitmap &picture = button.pictures[which];
      const int tw = MeasureCaptionWidth(GetShownCaption(index));
      CopyColumns(mem, x, picture, 0, def.leftWidth);
      if (tw > 0)
        StretchColumns(mem, x + def.leftWidth, def.width + tw - def.rightCapWidth - def.leftWidth,
                       picture, def.leftWidth, def.rightCapWidth);
      if (def.rightCapWidth > 0)
        CopyColumns(mem, x + tw + def.width - def.rightCapWidth, picture,
                    def.width - def.rightCapWidth, def.rightCapWidth);
      width = tw + def.width;
      button.rect = wxRect(x, 0, width, def.height);
    }
    if (def.gap > 0 && !m_buttons.empty())
      StretchColumns(mem, x + width, def.gap, m_buttons[0].pictures[kNormal], 0, 1);
    x += width + def.gap;
  }

  std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(mem));
  if (gc) {
    gc->SetAntialiasMode(wxANTIALIAS_DEFAULT);
    gc->SetInterpolationQuality(wxINTERPOLATION_BEST);
    for (size_t i = 0; m_table && i < m_buttons.size(); ++i)
      if (!IsSpacer(m_table[i]) && !IsEmptyEntry(m_table[i]) && !m_buttons[i].caption.empty())
        DrawCaption(*gc, static_cast<int>(i), m_table[i]);
  }
  gc.reset();
  dc.Blit(0, 0, client.x, client.y, &mem, 0, 0);
  mem.SelectObject(wxNullBitmap);
  SetupToolTips();
}

void CCoolToolBar::DrawCaption(wxGraphicsContext &gc, int index, const CoolToolButtonDef &def) {
  const Button &button = m_buttons[index];
  const wxString caption = GetShownCaption(index);
  double w = 0, h = 0;
  MeasureText(caption, &w, &h);
  const int th = static_cast<int>(std::ceil(h));
  double x = button.rect.x + def.leftWidth;
  double y = th > 0 ? (def.height - th) / 2 + m_textOffset : def.height / 2 - 6;
  if (index == m_nTextPushed) {
    x += 1;
    y += 1;
  }
  wxColour colour = index == m_nHover ? m_hoverText : m_normalText;
  if (!button.enabled)
    colour = m_disabledText;
  wxGraphicsRenderer *renderer = gc.GetRenderer();
  const wxString face = ResolveFace(GetFontFace());
  if (index == m_nHover) {
    // A one-pixel light shadow to the lower right: the glow colour under the text, slightly
    // widened as a one-pixel outline would be.
    gc.SetFont(renderer->CreateFont(GetFontSize(), face, wxFONTFLAG_DEFAULT, m_glow));
    static const double kGlow[][2] = {{1, 1}, {0.5, 1}, {1.5, 1}, {1, 0.5}, {1, 1.5}};
    for (const auto &d : kGlow)
      gc.DrawText(caption, x + d[0], y + d[1]);
  }
  gc.SetFont(renderer->CreateFont(GetFontSize(), face, wxFONTFLAG_DEFAULT, colour));
  gc.DrawText(caption, x, y);
}

void CCoolToolBar::OnLanguageChanged(wxCommandEvent &) {
  SetupToolTips();
  Refresh(true);
}
