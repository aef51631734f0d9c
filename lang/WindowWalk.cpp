#include "WindowWalk.h"

#include <wx/window.h>

#include <vector>

void ForEachDescendant(wxWindow *window, const std::function<void(wxWindow *)> &visit) {
  if (!window)
    return;
  // A copy: a visit may create or destroy children.
  const wxWindowList &list = window->GetChildren();
  std::vector<wxWindow *> children(list.begin(), list.end());
  for (wxWindow *child : children) {
    if (child->IsTopLevel())
      continue;
    visit(child);
    ForEachDescendant(child, visit);
  }
}
