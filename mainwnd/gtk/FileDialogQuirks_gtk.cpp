// GTK 3's file chooser completes a path typed in its location bar inline, from the folder it
// lists. While it loads the next folder (a "/" was just typed) that list is unset, and the
// inline completion, run from an idle callback, asks the missing list for its first entry:
// "gtk_tree_model_get_iter_first: assertion 'GTK_IS_TREE_MODEL (tree_model)' failed", once
// for each key typed meanwhile. The chooser switches inline completion on each time a folder is
// set, so it is switched off again whenever it comes on; the list of completions under the bar,
// and Tab, still complete.
//
// wx shows the chooser as the dialog's own GTK window. GLib's object functions are enough: the
// location bar is found as the focused widget with a "completion" property, so no GTK header is
// needed.
#include "FileDialogQuirks.h"

#include <glib-object.h>
#include <wx/filedlg.h>

namespace {

const char kMendedKey[] = "vantorel-inline-completion-off";

void KeepInlineCompletionOff(GObject *completion, GParamSpec *, gpointer) {
  gboolean on = FALSE;
  g_object_get(completion, "inline-completion", &on, nullptr);
  if (on)
    g_object_set(completion, "inline-completion", FALSE, nullptr);
}

void OnFocusWidget(GObject *, GObject *widget, gpointer) {
  if (widget == nullptr || !G_IS_OBJECT(widget) ||
      g_object_class_find_property(G_OBJECT_GET_CLASS(widget), "completion") == nullptr)
    return;
  GObject *completion = nullptr;
  g_object_get(widget, "completion", &completion, nullptr);
  if (completion == nullptr)
    return;
  if (g_object_class_find_property(G_OBJECT_GET_CLASS(completion), "inline-completion") &&
      g_object_get_data(completion, kMendedKey) == nullptr) {
    g_object_set_data(completion, kMendedKey, GINT_TO_POINTER(1));
    g_signal_connect(completion, "notify::inline-completion", G_CALLBACK(KeepInlineCompletionOff),
                     nullptr);
    KeepInlineCompletionOff(completion, nullptr, nullptr);
  }
  g_object_unref(completion);
}

} // namespace

void MendFileDialog(wxFileDialog &dialog) {
  auto *window = reinterpret_cast<GObject *>(dialog.GetHandle());
  if (window == nullptr || !G_IS_OBJECT(window) ||
      g_signal_lookup("set-focus", G_OBJECT_TYPE(window)) == 0)
    return;
  // The location bar is made when the user starts typing, and takes the focus then, before the
  // typed text reaches it.
  g_signal_connect(window, "set-focus", G_CALLBACK(OnFocusWidget), nullptr);
}
