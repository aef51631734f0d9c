#pragma once
#include <wx/event.h>

// "Re-translate yourself": sent to every descendant of the main window after the user chose
// another language. Windows that show translated texts bind it; the event does not travel on
// to parents, each window gets it once.
wxDECLARE_EVENT(WM_LANGUAGE_CHANGED, wxCommandEvent);

// Sends WM_LANGUAGE_CHANGED, synchronously, to every descendant of window at every depth.
void SendLanguageChanged(wxWindow *window);
