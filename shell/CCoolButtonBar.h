#pragma once
#include "CCoolBarBase.h"

#include <cstdint>
#include <vector>

#include <wx/bitmap.h>

// One button of a button bar: seven integers in this order.
struct CoolBarButton {
  int32_t enabled; // 1 or 0
  int32_t command;
  int32_t x, y, width, height; // place on the strip
  int32_t toolTipId;           // string identifier; 0 for an empty tip
};

// A picture strip with buttons at fixed places on it (the main window's menu, minimise and
// close). The strip exists in four states, normal, hover, pressed and disabled, each cut from
// one bitmap; a hovered, pressed or disabled button shows its rectangle of that state's picture.
class CCoolButtonBar : public CCoolBarBase {
public:
  static const int kMaxButtons = 100;

  CCoolButtonBar(wxWindow *parent, wxWindowID id, const wxPoint &pos = wxDefaultPosition,
                 const wxSize &size = wxDefaultSize);

  // Cuts the four state pictures from bitmap resource bitmapId at the rectangles (normal first,
  // then hover, pressed, disabled) and takes count buttons (at most 100; false and nothing
  // taken for more). The strip's size is the normal picture's.
  bool SetButtons(int bitmapId, const wxRect states[4], int count, const CoolBarButton *buttons);
  // Size of the strip; the owner makes the bar exactly this large.
  wxSize GetStripSize() const { return m_stripSize; }

  void DrawBar(wxDC &dc) override;

protected:
  int ButtonCount() const override { return static_cast<int>(m_buttons.size()); }
  BarButton &ButtonAt(int index) override { return m_buttons[index]; }
  const BarButton &ButtonAt(int index) const override { return m_buttons[index]; }
  bool RepaintAfterMissedRelease() const override { return true; }

private:
  void OnLanguageChanged(wxCommandEvent &event);

  wxBitmap m_pictures[4];
  wxSize m_stripSize;
  std::vector<BarButton> m_buttons;
};
