#pragma once
#include <functional>

class wxWindow;

// Calls visit for every descendant of window at every depth, parents before their children,
// in the order the window system lists them. Top-level windows that window owns (dialogs,
// frames) are not its descendants and are passed over with everything in them.
void ForEachDescendant(wxWindow *window, const std::function<void(wxWindow *)> &visit);
