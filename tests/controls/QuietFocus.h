#pragma once
#include <wx/event.h>
#include <wx/eventfilter.h>

// Keeps the desktop's own focus and activation changes away from the windows under test: on a
// virtual display shared with other test programs, their windows take the focus at random.
// Focus events a test sends itself carry kTestFocusId and pass.
class QuietFocus : public wxEventFilter {
public:
  static constexpr int kTestFocusId = 31337;
  QuietFocus() { wxEvtHandler::AddFilter(this); }
  ~QuietFocus() override { wxEvtHandler::RemoveFilter(this); }
  int FilterEvent(wxEvent &event) override {
    wxEventType type = event.GetEventType();
    bool desktop = type == wxEVT_SET_FOCUS || type == wxEVT_KILL_FOCUS || type == wxEVT_ACTIVATE ||
                   type == wxEVT_ACTIVATE_APP;
    return desktop && event.GetId() != kTestFocusId ? Event_Ignore : Event_Skip;
  }
  // A loss of focus to gaining, as the test's own.
  static wxFocusEvent Lost(wxWindow *gaining) {
    wxFocusEvent event(wxEVT_KILL_FOCUS, kTestFocusId);
    event.SetWindow(gaining);
    return event;
  }
};
