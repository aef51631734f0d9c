#pragma once
#include <cstdint>

#include <wx/colour.h>

// Colours as the controls keep them: 0x00BBGGRR. A colour argument of -1 means "the control's
// default".
using COLORREF = std::uint32_t;
constexpr COLORREF kDefaultColor = static_cast<COLORREF>(-1);

constexpr COLORREF RGBColor(unsigned r, unsigned g, unsigned b) {
  return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
inline wxColour ToWx(COLORREF c) { return wxColour(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
inline COLORREF FromWx(const wxColour &c) { return RGBColor(c.Red(), c.Green(), c.Blue()); }

// The system colours the controls read at construction and on every system colour change.
enum class SysColor {
  ButtonFace,
  ButtonHighlight,
  ButtonShadow,
  ActiveCaption,
  ButtonText,
  GrayText,
  Highlight,
  HighlightText,
  InactiveCaption,
  InactiveCaptionText,
  Window,
  WindowText,
};
// The desktop's current value of a system colour.
COLORREF GetSysColor(SysColor which);
