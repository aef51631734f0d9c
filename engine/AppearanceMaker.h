#pragma once
// Appearances made the way readers make them, for fields that are drawn flat (at two or four
// pages per sheet, or when asked to flatten) but have no appearance of their own, or whose form
// asks readers to draw them anew (/NeedAppearances): text fields from their value and /DA (font,
// size, colour), /Q alignment, comb and multiline layout; check boxes and radio buttons from
// their state and /MK; the background and border /MK gives. What a reader shows for the field in
// its source is then what the sheet shows.

#include "Geometry.h"
#include "SourceCache.h"

#include <string>

namespace engine {

// What a field widget shows: the field's attributes, inherited from the fields above it and
// from the form.
struct WidgetState {
  std::string type;   // "Tx", "Btn", "Ch" or empty
  int64_t nFlags = 0; // /Ff
  pdf::Value value;   // /V
  std::string da;     // /DA
  int64_t nQuadding = 0;
  int64_t nMaxLen = 0;
  bool bNeedAppearances = false; // the form asks readers to draw every field anew
};
WidgetState ReadWidgetState(SourceEntry &entry, const pdf::Value &widget);

// The state name a check box or radio button shows: its field's value when the widget has an
// appearance of that name; else "Off" for a radio button (another button of the group is on),
// and the widget's own /AS for a check box or when the field gives no value.
std::string ButtonState(SourceEntry &entry, const pdf::Value &widget, const WidgetState &state);

// Whether the field's value can be drawn in the one-byte text made here (else a widget's own
// appearance, which has its glyphs, is the better picture of it).
bool EncodableText(const WidgetState &state);

struct MadeAppearance {
  Rect bbox;
  std::string content;
  pdf::Value resources;
};
// An appearance for the widget as readers would draw it; false when it shows nothing (an
// empty text field without background or border).
bool MakeWidgetAppearance(SourceEntry &entry, const pdf::Value &widget, const WidgetState &state,
                          MadeAppearance &made);

} // namespace engine
