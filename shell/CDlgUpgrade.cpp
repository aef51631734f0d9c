#include "CDlgUpgrade.h"

#include "Localization.h"
#include "DialogUnits.h"
#include "ResourceBitmap.h"
#include "ShellOpen.h"
#include "VendorSite.h"

#include <wx/button.h>
#include <wx/dcbuffer.h>
#include <wx/settings.h>
#include <wx/stattext.h>

namespace {

struct LineSpec {
  int id;
  int x, y, width, height;
  int textId;
};

const LineSpec kLines[] = {
    {CDlgUpgrade::IDC_LINE1, 7, 44, 260, 8, 195},  {CDlgUpgrade::IDC_LINE2, 7, 58, 262, 8, 196},
    {CDlgUpgrade::IDC_LINE3, 7, 76, 265, 16, 197}, {CDlgUpgrade::IDC_LINE4, 7, 92, 261, 8, 198},
    {CDlgUpgrade::IDC_LINE5, 7, 108, 258, 8, 199},
};

const int kUpgradeText = 194;
const int kCancelText = 152;
const wchar_t kCaption[] = L"Tessary Zuzu VOR Adazev";

} // namespace

CDlgUpgrade::CDlgUpgrade(wxWindow *parent)
    : wxDialog(parent, IDD, wxEmptyString, wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX) {
  SetFont(DialogFont());
  SetClientSize(wxSize(DluToPixelsX(286), DluToPixelsY(142)));
  m_bitmap = LoadBitmapResource(IDB_BANNER);

  for (const LineSpec &line : kLines) {
    const wxRect rect = DluRect(line.x, line.y, line.width, line.height);
    auto *text = new wxStaticText(this, line.id, wxEmptyString, rect.GetPosition(), rect.GetSize(),
                                  wxST_NO_AUTORESIZE);
    text->SetLabelText(LoadLangString(line.textId));
    // The third line is two lines high: its text wraps.
    if (line.height > 8)
      text->Wrap(rect.width);
  }
  const wxRect upgrade = DluRect(148, 121, 69, 14);
  auto *upgradeButton = new wxButton(this, wxID_OK, LoadLangString(kUpgradeText),
                                     upgrade.GetPosition(), upgrade.GetSize());
  upgradeButton->SetDefault();
  const wxRect cancel = DluRect(227, 121, 50, 14);
  new wxButton(this, wxID_CANCEL, LoadLangString(kCancelText), cancel.GetPosition(),
               cancel.GetSize());
  SetTitle(kCaption);

  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &CDlgUpgrade::OnPaint, this);
  Bind(wxEVT_BUTTON, &CDlgUpgrade::OnUpgrade, this, wxID_OK);
  CentreOnParent();
}

void CDlgUpgrade::OnPaint(wxPaintEvent &) {
  wxAutoBufferedPaintDC dc(this);
  dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
  dc.Clear();
  if (m_bitmap.IsOk())
    dc.DrawBitmap(m_bitmap, 0, 0);
}

void CDlgUpgrade::OpenProductPage() { ShellOpenAddress(GetUpgradeProductUrl()); }

void CDlgUpgrade::OnUpgrade(wxCommandEvent &) {
  OpenProductPage();
  if (IsModal())
    EndModal(wxID_OK);
  else
    Hide();
}
