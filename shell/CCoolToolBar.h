#pragma once
#include "CCoolBarBase.h"

#include <cstdint>
#include <vector>

#include <wx/bitmap.h>
#include <wx/colour.h>
#include <wx/font.h>

class wxGraphicsContext;

// One entry of a tool bar's definition table, eighteen integers in this order.
struct CoolToolButtonDef {
  int32_t enabled; // initially enabled: 1 or 0
  int32_t command; // posted on a click; -1 a spacer, -2 an empty entry (only its gap counts)
  int32_t bitmap;  // bitmap resource holding the four state pictures; 0 or less: none
  int32_t normalX, normalY;
  int32_t hoverX, hoverY;
  int32_t pressedX, pressedY;
  int32_t disabledX, disabledY;
  int32_t width, height; // size of each state picture
  int32_t captionId;     // string identifier; 0 or less: no caption
  int32_t toolTipId;     // string identifier of the tool tip
  int32_t leftWidth;     // columns drawn unscaled at the left (the icon); a bare spacer's width
  int32_t rightCapWidth; // columns at the picture's right edge drawn at the button's right end
  int32_t gap;           // pixels left empty after the entry
};

// A row of skinned buttons laid out from left to right. Each button has four state pictures,
// an optional caption drawn anti-aliased beside its icon (the picture's middle stretches under
// it), a tool tip and an enabled flag. A click posts the owner's notification with the button's
// command. Button rectangles exist from the first paint on.
class CCoolToolBar : public CCoolBarBase {
public:
  static const int kMaxButtons = 32;
  enum Picture { kNormal, kHover, kPressed, kDisabled };

  CCoolToolBar(wxWindow *parent, wxWindowID id, const wxPoint &pos = wxDefaultPosition,
               const wxSize &size = wxDefaultSize);

  // Takes count entries of table (at most 32; false and nothing taken for more or for none),
  // their captions and tool tips (SetButtons), enabled flags and commands, and cuts the four
  // state pictures of every entry from its bitmap. table must outlive the bar's use of it.
  bool SetButtonsWithPictures(int count, const CoolToolButtonDef *table);
  // Keeps table and reads the captions and tool tip identifiers again (after a language
  // change); rectangles are cleared until the next paint, hover and press are reset.
  virtual void SetButtons(const CoolToolButtonDef *table);
  // Draws the bar into dc, laying out the buttons.
  void DrawBar(wxDC &dc) override;
  // The caption font's face: "Tahoma" unless another was set.
  virtual wxString GetFontFace() const;
  // The caption size in pixels: the size (14 when it is 0 or less) times the scale.
  virtual double GetFontSize() const;

  // The width the bar needs for its entries and captions.
  int GetBarWidth() const;
  // Height of the first entry's picture, 0 without entries.
  int GetBarHeight() const;

  void SetFontFace(const wxString &face) { m_fontFace = face; }
  void SetFontSize(double pixels) { m_fontSize = pixels; }
  void SetFontScale(double scale) { m_fontScale = scale; }
  void SetTextVerticalOffset(double offset) { m_textOffset = offset; }
  void SetTextColors(const wxColour &normal, const wxColour &disabled, const wxColour &hover,
                     const wxColour &glow);

  wxString GetButtonCaption(int index) const;
  // The caption as drawn: shortened with an ellipsis when FitToWidth had to.
  wxString GetShownCaption(int index) const;
  // Makes the bar at most width pixels wide if it can: first a smaller caption font (down to
  // three quarters), then captions shortened with an ellipsis. Undoes earlier fitting first;
  // false when even that does not make it fit.
  bool FitToWidth(int width);
  double GetFontScale() const { return m_fontScale; }
  int GetTextPushedIndex() const { return m_nTextPushed; }
  // Measured caption width as the layout uses it (measured + 1, rounded up); 0 for none.
  int MeasureCaptionWidth(const wxString &caption) const;

protected:
  int ButtonCount() const override { return static_cast<int>(m_buttons.size()); }
  BarButton &ButtonAt(int index) override { return m_buttons[index]; }
  const BarButton &ButtonAt(int index) const override { return m_buttons[index]; }
  void OnPressedChanged(int index) override { m_nTextPushed = index; }

private:
  struct Button : BarButton {
    wxBitmap pictures[4];
    wxString caption;
    wxString shown; // the caption as drawn: shortened by FitToWidth when it had to
    int leftWidth = 0;
  };

  void MeasureText(const wxString &text, double *width, double *height) const;
  // Makes every button's shown caption fit m_maxCaptionWidth.
  void ShortenCaptions();
  void DrawCaption(wxGraphicsContext &gc, int index, const CoolToolButtonDef &def);
  void OnLanguageChanged(wxCommandEvent &event);

  const CoolToolButtonDef *m_table = nullptr;
  std::vector<Button> m_buttons;
  int m_nTextPushed = -1;
  wxString m_fontFace;
  double m_fontSize = -1.0;
  double m_fontScale = 1.0;
  double m_textOffset = 1.0;
  int m_maxCaptionWidth = 0; // 0: captions whole
  wxColour m_normalText{0, 22, 95};
  // Grey rather than the enabled colour made paler: a disabled caption must not read as usable.
  wxColour m_disabledText{150, 150, 150, 255};
  wxColour m_hoverText{0, 51, 102};
  wxColour m_glow{255, 255, 255};
};
