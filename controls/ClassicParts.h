#pragma once
#include <wx/dc.h>
#include <wx/window.h>

// The classic look of the parts that a themed desktop would draw through the visual-styles
// library: drawn with wx's renderer, which follows the desktop.
namespace ClassicParts {
// A sunken frame around a control's rectangle.
void DrawFrame(wxWindow *win, wxDC &dc, const wxRect &rect);
// The drop-down button of a combo box; pressed and disabled as asked.
void DrawComboButton(wxWindow *win, wxDC &dc, const wxRect &rect, bool pressed, bool disabled);
// The grip in the bottom-right corner of a sizable window.
void DrawSizeGrip(wxWindow *win, wxDC &dc, const wxRect &rect);
// A check box; checked and disabled as asked.
void DrawCheckBox(wxWindow *win, wxDC &dc, const wxRect &rect, bool checked, bool disabled);
} // namespace ClassicParts
