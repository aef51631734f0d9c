#include "LangMessageBox.h"

#include "DialogUnits.h"
#include "Localization.h"

#include <memory>

#include <wx/button.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

const int IDS_OK = 236;
const int IDS_YES = 237;
const int IDS_NO = 238;
const int IDS_CANCEL = 152;
const int kIconSize = 32;
// Wider texts wrap, so that a long message makes a taller box rather than a very wide one.
const int kWrapWidth = 420;
// A text taller than this (a long list of files) scrolls in a box of this height instead, where
// it can be read to its end and copied.
const int kMaxTextHeight = 360;

CMessageBox::Icon IconOfStyle(long style) {
  if (style & wxICON_EXCLAMATION) // also wxICON_WARNING
    return CMessageBox::kExclamation;
  if (style & wxICON_ERROR)
    return CMessageBox::kError;
  if (style & wxICON_QUESTION)
    return CMessageBox::kQuestion;
  if (style & wxICON_INFORMATION)
    return CMessageBox::kInformation;
  return CMessageBox::kNoIcon;
}

} // namespace

wxBitmap CMessageBox::DrawIcon(Icon icon, int size) {
  wxImage image(size, size);
  image.InitAlpha();
  memset(image.GetAlpha(), 0, size * size);
  wxBitmap bitmap(image);
  if (icon == kNoIcon)
    return bitmap;
  wxMemoryDC dc(bitmap);
  std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
  if (!gc)
    return bitmap;
  gc->SetAntialiasMode(wxANTIALIAS_DEFAULT);
  const double s = size;
  wxString mark;
  wxColour markColour = *wxWHITE;
  if (icon == kExclamation) {
    wxGraphicsPath triangle = gc->CreatePath();
    triangle.MoveToPoint(s / 2, s * 0.06);
    triangle.AddLineToPoint(s * 0.97, s * 0.92);
    triangle.AddLineToPoint(s * 0.03, s * 0.92);
    triangle.CloseSubpath();
    gc->SetBrush(wxBrush(wxColour(245, 190, 30)));
    gc->SetPen(wxPen(wxColour(170, 120, 0), 1));
    gc->DrawPath(triangle);
    mark = "!";
    markColour = *wxBLACK;
  } else {
    const wxColour fill = icon == kError ? wxColour(200, 40, 40) : wxColour(40, 100, 200);
    gc->SetBrush(wxBrush(fill));
    gc->SetPen(wxPen(fill.ChangeLightness(70), 1));
    gc->DrawEllipse(1, 1, s - 2, s - 2);
    mark = icon == kError ? "X" : icon == kQuestion ? "?" : "i";
  }
  gc->SetFont(wxFont(wxFontInfo(wxSize(0, size * 6 / 10)).Bold().FaceName("Liberation Sans")),
              markColour);
  double w = 0, h = 0;
  gc->GetTextExtent(mark, &w, &h);
  const double top = icon == kExclamation ? s * 0.58 - h / 2 : (s - h) / 2;
  gc->DrawText(mark, (s - w) / 2, top);
  gc.reset();
  dc.SelectObject(wxNullBitmap);
  return bitmap;
}

CMessageBox::CMessageBox(wxWindow *parent, const wxString &text, const wxString &caption,
                         long style)
    : wxDialog(parent ? wxGetTopLevelParent(parent) : nullptr, wxID_ANY, caption, wxDefaultPosition,
               wxDefaultSize, wxCAPTION),
      m_icon(IconOfStyle(style)), m_style(style) {
  SetFont(DialogFont());
  auto *top = new wxBoxSizer(wxVERTICAL);
  auto *body = new wxBoxSizer(wxHORIZONTAL);
  if (m_icon != kNoIcon)
    body->Add(new wxStaticBitmap(this, wxID_ANY, DrawIcon(m_icon, kIconSize)), 0,
              wxRIGHT | wxALIGN_TOP, 14);
  auto *label = new wxStaticText(this, wxID_ANY, text);
  label->Wrap(kWrapWidth);
  if (label->GetBestSize().y <= kMaxTextHeight) {
    body->Add(label, 1, wxALIGN_CENTRE_VERTICAL);
  } else {
    label->Destroy();
    // A closing line of its own (the question after a list) stays in sight under the box.
    wxString scrolledText = text, closing;
    const size_t lastBreak = text.rfind("\n\n");
    if (lastBreak != wxString::npos && text.find('\n', lastBreak + 2) == wxString::npos) {
      scrolledText = text.Left(lastBreak);
      closing = text.Mid(lastBreak + 2);
    }
    auto *texts = new wxBoxSizer(wxVERTICAL);
    texts->Add(new wxTextCtrl(this, wxID_ANY, scrolledText, wxDefaultPosition,
                              wxSize(kWrapWidth + 30, kMaxTextHeight),
                              wxTE_MULTILINE | wxTE_READONLY | wxTE_WORDWRAP),
               1, wxEXPAND);
    if (!closing.empty()) {
      auto *closingLabel = new wxStaticText(this, wxID_ANY, closing);
      closingLabel->Wrap(kWrapWidth);
      texts->Add(closingLabel, 0, wxTOP, 10);
    }
    body->Add(texts, 1, wxEXPAND);
  }
  top->Add(body, 1, wxEXPAND | wxALL, 16);

  auto *buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->AddStretchSpacer();
  auto addButton = [&](int id, int textId) {
    auto *button = new wxButton(this, id, LoadLangString(textId));
    buttons->Add(button, 0, wxLEFT, 8);
    button->Bind(wxEVT_BUTTON, &CMessageBox::OnButton, this);
    return button;
  };
  wxButton *first = nullptr;
  if (style & wxYES_NO) {
    first = addButton(wxID_YES, IDS_YES);
    addButton(wxID_NO, IDS_NO);
  } else {
    first = addButton(wxID_OK, IDS_OK);
  }
  if (style & wxCANCEL)
    addButton(wxID_CANCEL, IDS_CANCEL);
  top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 12);
  // Escape answers as the desktop's boxes do: Cancel, else No, else OK.
  SetEscapeId(style & wxCANCEL ? wxID_CANCEL : style & wxYES_NO ? wxID_NO : wxID_OK);
  first->SetDefault();
  first->SetFocus();
  SetSizerAndFit(top);
  Centre();
  // The wrapped text may take another width once the box is realised: it stays centred (the
  // box cannot be resized by the user).
  Bind(wxEVT_SIZE, [this](wxSizeEvent &event) {
    event.Skip();
    Centre();
  });
}

void CMessageBox::Centre() {
  if (GetParent())
    CentreOnParent();
  else
    CentreOnScreen();
}

void CMessageBox::OnButton(wxCommandEvent &event) { EndModal(event.GetId()); }

int CMessageBox::ShowBox() {
  switch (ShowModal()) {
  case wxID_YES:
    return wxYES;
  case wxID_NO:
    return wxNO;
  case wxID_CANCEL:
    return (m_style & wxCANCEL) ? wxCANCEL : (m_style & wxYES_NO) ? wxNO : wxOK;
  default:
    return wxOK;
  }
}

int ShowMessageBox(wxWindow *parent, const wxString &text, const wxString &caption, long style) {
  CMessageBox box(parent, text, caption, style);
  return box.ShowBox();
}
