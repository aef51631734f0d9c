#include "controls/Colors.h"

#include <wx/settings.h>

COLORREF GetSysColor(SysColor which) {
  wxSystemColour id = wxSYS_COLOUR_WINDOW;
  switch (which) {
  case SysColor::ButtonFace:
    id = wxSYS_COLOUR_BTNFACE;
    break;
  case SysColor::ButtonHighlight:
    id = wxSYS_COLOUR_BTNHIGHLIGHT;
    break;
  case SysColor::ButtonShadow:
    id = wxSYS_COLOUR_BTNSHADOW;
    break;
  case SysColor::ActiveCaption:
    id = wxSYS_COLOUR_ACTIVECAPTION;
    break;
  case SysColor::ButtonText:
    id = wxSYS_COLOUR_BTNTEXT;
    break;
  case SysColor::GrayText:
    id = wxSYS_COLOUR_GRAYTEXT;
    break;
  case SysColor::Highlight:
    id = wxSYS_COLOUR_HIGHLIGHT;
    break;
  case SysColor::HighlightText:
    id = wxSYS_COLOUR_HIGHLIGHTTEXT;
    break;
  case SysColor::InactiveCaption:
    id = wxSYS_COLOUR_INACTIVECAPTION;
    break;
  case SysColor::InactiveCaptionText:
    id = wxSYS_COLOUR_INACTIVECAPTIONTEXT;
    break;
  case SysColor::Window:
    id = wxSYS_COLOUR_WINDOW;
    break;
  case SysColor::WindowText:
    id = wxSYS_COLOUR_WINDOWTEXT;
    break;
  }
  return FromWx(wxSystemSettings::GetColour(id));
}
