// The toolkit's own controls take the program's focus ring through a style sheet of the
// application's priority, above the desktop theme's faint one-pixel dashed outline. wx has
// loaded GTK; its few functions needed here are looked up there (no GTK headers are installed).
#include "FocusRing.h"

#include <dlfcn.h>

namespace {

template <typename F> F Gtk(const char *name) {
  return reinterpret_cast<F>(dlsym(RTLD_DEFAULT, name));
}

const int kApplicationPriority = 600; // GTK_STYLE_PROVIDER_PRIORITY_APPLICATION

} // namespace

void UseFocusRingOnDesktopControls() {
  static bool done = false;
  const auto screenOf = Gtk<void *(*)()>("gdk_screen_get_default");
  const auto newProvider = Gtk<void *(*)()>("gtk_css_provider_new");
  const auto load =
      Gtk<int (*)(void *, const char *, long, void **)>("gtk_css_provider_load_from_data");
  const auto add =
      Gtk<void (*)(void *, void *, unsigned)>("gtk_style_context_add_provider_for_screen");
  const auto unref = Gtk<void (*)(void *)>("g_object_unref");
  void *screen = screenOf ? screenOf() : nullptr;
  if (done || !screen || !newProvider || !load || !add || !unref)
    return;
  done = true;
  const wxColour &colour = FocusRingColour();
  const wxString css = wxString::Format(
      "*:focus { outline-style: solid; outline-width: 2px; outline-color: #%02x%02x%02x; }",
      colour.Red(), colour.Green(), colour.Blue());
  void *provider = newProvider();
  if (load(provider, css.utf8_str(), -1, nullptr))
    add(screen, provider, kApplicationPriority);
  unref(provider);
}
