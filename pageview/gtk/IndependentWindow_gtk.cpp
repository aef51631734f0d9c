#include "IndependentWindow.h"

#include <dlfcn.h>
#include <wx/toplevel.h>

void KeepOutOfModalGrab(wxTopLevelWindow *window) {
  // A GTK modal window grabs input within its window group only: a group of its own keeps the
  // window out of that grab. GTK is already loaded by wx; its functions are looked up there
  // rather than building against GTK's headers for three calls.
  using NewGroup = void *(*)();
  using AddWindow = void (*)(void *group, void *window);
  using Unref = void (*)(void *object);
  auto newGroup = reinterpret_cast<NewGroup>(dlsym(RTLD_DEFAULT, "gtk_window_group_new"));
  auto addWindow = reinterpret_cast<AddWindow>(dlsym(RTLD_DEFAULT, "gtk_window_group_add_window"));
  auto unref = reinterpret_cast<Unref>(dlsym(RTLD_DEFAULT, "g_object_unref"));
  void *handle = window->GetHandle();
  if (!newGroup || !addWindow || !unref || !handle)
    return;
  void *group = newGroup();
  addWindow(group, handle);
  unref(group); // the window holds it
}
