#include "LanguageChanged.h"

#include "WindowWalk.h"

#include <wx/window.h>

wxDEFINE_EVENT(WM_LANGUAGE_CHANGED, wxCommandEvent);

void SendLanguageChanged(wxWindow *window) {
  ForEachDescendant(window, [](wxWindow *child) {
    wxCommandEvent event(WM_LANGUAGE_CHANGED, 0);
    event.SetEventObject(child);
    event.StopPropagation();
    child->GetEventHandler()->ProcessEvent(event);
  });
}
