#pragma once
#include <functional>

#include <wx/dialog.h>

class wxGenericDirCtrl;
class wxStaticText;
class wxTextCtrl;
class wxTreeEvent;

// The folder browser window: a tree of the whole file system with a title line above it, a
// status line, a box where a folder can be typed, OK and Cancel. It reports its events to one
// callback, as the shell's folder browser does: initialised, and every change of the selection
// with the new folder. Enter in the tree opens or closes the folder (its type-ahead search
// never confirms the window); Enter in the box confirms the folder typed there. The box has the
// focus when the window opens.
class FolderBrowser : public wxDialog {
public:
  enum Event { kInitialized = 1, kSelectionChanged = 2 };
  using Callback = std::function<void(FolderBrowser &browser, int event, const wxString &path)>;

  FolderBrowser(wxWindow *parent, const wxString &title, Callback callback);

  // Selects path in the tree (opening its parents) and shows it in the box; false when it is
  // not there.
  bool SelectFolder(const wxString &path);
  void SetStatusText(const wxString &text);
  wxString GetStatusText() const;
  // The folder the window stands on: the one typed in the box (a leading "~" is the home
  // folder), which follows the tree's selection. Empty when nothing is chosen.
  wxString GetSelectedPath() const;
  wxGenericDirCtrl *GetTree() const { return m_tree; }
  wxTextCtrl *GetPathBox() const { return m_pathBox; }

private:
  void OnInitDialog(wxInitDialogEvent &event);
  void OnSelectionChanged(wxTreeEvent &event);
  void OnOK(wxCommandEvent &event);
  void OnCharHook(wxKeyEvent &event);
  bool IsInTree(wxWindow *window) const;

  Callback m_callback;
  wxGenericDirCtrl *m_tree = nullptr;
  wxStaticText *m_status = nullptr;
  wxTextCtrl *m_pathBox = nullptr;
};
