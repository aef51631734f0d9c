#pragma once
#include <string>

#include <wx/bitmap.h>
#include <wx/dialog.h>

class wxStaticText;

// The upsell dialog (template 178): banner 155 over five lines about the larger converter
// product, "Upgrade" (opens the product's page and closes) and "Cancel". Its texts come from
// the string table; the caption is the product's title in every language.
class CDlgUpgrade : public wxDialog {
public:
  enum {
    IDD = 178,
    IDB_BANNER = 155,
    IDC_LINE1 = 1051,
    IDC_LINE2 = 1052,
    IDC_LINE3 = 1053,
    IDC_LINE4 = 1054,
    IDC_LINE5 = 1055,
  };

  explicit CDlgUpgrade(wxWindow *parent);

  bool HasBanner() const { return m_bitmap.IsOk(); }

protected:
  // Opens the product's page with the desktop's handler.
  virtual void OpenProductPage();

private:
  void OnPaint(wxPaintEvent &event);
  void OnUpgrade(wxCommandEvent &event);

  wxBitmap m_bitmap;
};
