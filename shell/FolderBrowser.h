#pragma once
#include <functional>

#include <wx/dialog.h>

class wxGenericDirCtrl;
class wxStaticText;
class wxTreeEvent;

// The folder browser window: a tree of the whole file system with a title line above it, a
// status line below it, OK and Cancel. It reports its events to one callback, as the shell's
// folder browser does: initialised, and every change of the selection with the new folder.
class FolderBrowser : public wxDialog {
public:
  enum Event { kInitialized = 1, kSelectionChanged = 2 };
  using Callback = std::function<void(FolderBrowser &browser, int event, const wxString &path)>;

  FolderBrowser(wxWindow *parent, const wxString &title, Callback callback);

  // Selects path in the tree (opening its parents); false when it is not there.
  bool SelectFolder(const wxString &path);
  void SetStatusText(const wxString &text);
  wxString GetStatusText() const;
  // The selected folder's file-system path; empty when nothing is selected.
  wxString GetSelectedPath() const;
  wxGenericDirCtrl *GetTree() const { return m_tree; }

private:
  void OnInitDialog(wxInitDialogEvent &event);
  void OnSelectionChanged(wxTreeEvent &event);

  Callback m_callback;
  wxGenericDirCtrl *m_tree = nullptr;
  wxStaticText *m_status = nullptr;
};
