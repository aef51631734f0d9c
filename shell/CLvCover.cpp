#include "CLvCover.h"

#include "FocusRing.h"
#include "LanguageChanged.h"
#include "Localization.h"
#include "ResourceBitmap.h"
#include "SystemFolders.h"

#include <memory>

#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/fontenum.h>
#include <wx/graphics.h>

namespace {

const wxColour kBackground(233, 233, 233);
const wxColour kBorder(184, 184, 184);
const wxColour kHintText(97, 97, 97);

struct Hint {
  int stringId;
  wxRect box;
};
const Hint kHints[] = {{171, wxRect(25, 265, 240, 150)},
                       {172, wxRect(335, 265, 240, 150)},
                       {173, wxRect(620, 265, 240, 150)}};

wxFont HintFont() {
  static const bool haveFace = wxFontEnumerator::IsValidFacename("Microsoft Sans Serif");
  wxFontInfo info(10);
  if (haveFace)
    info.FaceName("Microsoft Sans Serif");
  else
    info.Family(wxFONTFAMILY_SWISS);
  return wxFont(info);
}

// Splits text into lines that fit width, breaking at spaces (and at line breaks).
std::vector<wxString> WrapText(wxGraphicsContext &gc, const wxString &text, double width) {
  std::vector<wxString> lines;
  for (const wxString &paragraph : wxSplit(text, '\n', '\0')) {
    wxString line;
    for (const wxString &word : wxSplit(paragraph, ' ', '\0')) {
      const wxString candidate = line.empty() ? word : line + " " + word;
      double w = 0, h = 0;
      gc.GetTextExtent(candidate, &w, &h);
      if (w > width && !line.empty()) {
        lines.push_back(line);
        line = word;
      } else {
        line = candidate;
      }
    }
    lines.push_back(line);
  }
  return lines;
}

} // namespace

CLvCover::CLvCover() : m_coverBitmap(LoadBitmapResource(kCoverBitmap)) {}

bool CLvCover::Create(wxWindow *parent, wxWindowID id, const wxPoint &pos, const wxSize &size) {
  if (!wxPanel::Create(parent, id, pos, size, wxBORDER_NONE))
    return false;
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &CLvCover::OnPaint, this);
  Bind(wxEVT_MOTION, &CLvCover::OnMouseMove, this);
  Bind(wxEVT_LEFT_DOWN, &CLvCover::OnLeftDown, this);
  Bind(WM_LANGUAGE_CHANGED, &CLvCover::OnLanguageChanged, this);
  Bind(wxEVT_CHAR_HOOK, &CLvCover::OnCharHook, this);
  Bind(wxEVT_SET_FOCUS, &CLvCover::OnFocusChanged, this);
  Bind(wxEVT_KILL_FOCUS, &CLvCover::OnFocusChanged, this);
  LoadCoverImage(GetProgramFolder() + L"/lv_cover_merger.png");
  return true;
}

void CLvCover::SetNotify(wxEvtHandler *window, wxEventType message) {
  m_notify.window = window;
  m_notify.message = message;
}

bool CLvCover::LoadCoverImage(const std::wstring &path) {
  m_coverImage = LoadPngFile(path);
  return m_coverImage.IsOk();
}

void CLvCover::DrawCover(wxDC &dc, const wxSize &size) {
  const int w = size.x, h = size.y;
  std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::CreateFromUnknownDC(dc));
  if (gc) {
    gc->SetAntialiasMode(wxANTIALIAS_DEFAULT);
    gc->SetInterpolationQuality(wxINTERPOLATION_BEST);
    gc->SetPen(*wxTRANSPARENT_PEN);
    gc->SetBrush(wxBrush(kBackground));
    gc->DrawRectangle(0, 0, w, h);
    if (m_coverImage.IsOk())
      gc->DrawBitmap(m_coverImage, 0, 0, w, h);
    gc->SetBrush(*wxTRANSPARENT_BRUSH);
    gc->SetPen(wxPen(kBorder, 1));
    // wx centres one-pixel lines on pixels itself, as GDI+ does.
    gc->DrawRectangle(0, 0, w - 1, h - 1);
    // The hints are read at every paint, so they follow the language.
    gc->SetFont(HintFont(), kHintText);
    for (const Hint &hint : kHints) {
      const wxString text = LoadLangString(hint.stringId);
      double y = hint.box.y;
      for (const wxString &line : WrapText(*gc, text, hint.box.width)) {
        double lw = 0, lh = 0;
        gc->GetTextExtent(line, &lw, &lh);
        if (y + lh > hint.box.GetBottom() + 1)
          break;
        gc->DrawText(line, hint.box.x + (hint.box.width - lw) / 2, y);
        y += lh;
      }
    }
  }
  gc.reset();
  if (m_coverBitmap.IsOk()) {
    // Copied unscaled over everything; only the part of the client the bitmap covers.
    wxMemoryDC source;
    source.SelectObjectAsSource(m_coverBitmap);
    dc.Blit(0, 0, std::min(w, m_coverBitmap.GetWidth()), std::min(h, m_coverBitmap.GetHeight()),
            &source, 0, 0);
  }
  if (HasFocus())
    DrawFocusRing(dc, GetFocusRingRect());
}

void CLvCover::OnPaint(wxPaintEvent &) {
  wxAutoBufferedPaintDC dc(this);
  DrawCover(dc, GetClientSize());
}

void CLvCover::OnMouseMove(wxMouseEvent &event) {
  SetCursor(IsInHotRect(event.GetPosition()) ? wxCursor(wxCURSOR_HAND) : wxCursor(wxCURSOR_ARROW));
  event.Skip();
}

void CLvCover::OnLeftDown(wxMouseEvent &event) {
  if (IsInHotRect(event.GetPosition()))
    m_notify.Send(kClickCommand);
  event.Skip();
}

void CLvCover::OnLanguageChanged(wxCommandEvent &) { Refresh(true); }

void CLvCover::OnCharHook(wxKeyEvent &event) {
  const int key = event.GetKeyCode();
  if (event.GetModifiers() == wxMOD_NONE &&
      (key == WXK_RETURN || key == WXK_NUMPAD_ENTER || key == WXK_SPACE)) {
    m_notify.Send(kClickCommand);
    return;
  }
  event.Skip();
}

void CLvCover::OnFocusChanged(wxFocusEvent &event) {
  RefreshRect(GetFocusRingRect(), false);
  event.Skip();
}
