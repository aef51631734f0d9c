#pragma once
#include <wx/string.h>

class FolderBrowser;
class wxWindow;

// Lets the user pick a folder in a browser that opens on a given folder and shows the current
// choice, shortened, in its status line. The main window uses it for the output folder.
class CFolderDialog {
public:
  enum Result { kOK = 1, kCancel = 2 };

  // initialFolder is selected when the browser opens; empty for none. The browser is centred on
  // parent when one is given.
  explicit CFolderDialog(const wxString &initialFolder = wxString(), wxWindow *parent = nullptr);
  virtual ~CFolderDialog();
  CFolderDialog(const CFolderDialog &) = delete;
  CFolderDialog &operator=(const CFolderDialog &) = delete;

  // Shows the browser until the user closes it: 1 (OK) when a folder with a file-system path
  // was confirmed, which becomes the selected folder; 2 (Cancel) otherwise.
  virtual int DoModal();

  // The folder last selected; read it only after DoModal returned 1.
  wxString GetSelectedFolder() const { return m_selectedFolder; }
  wxString GetInitialFolder() const { return m_initialFolder; }

  // The status line's text for path: its first 35 characters and "..." when it is longer.
  static wxString ShortenPath(const wxString &path);

protected:
  // The browser opened: selects the initial folder and shows it in the status line.
  virtual void OnInitialized();
  // The selection changed to path (empty for an item without a file-system path).
  virtual void OnSelChanged(const wxString &path);
  // Every event of the browser comes here first.
  virtual void BrowseCallback(FolderBrowser &browser, int event, const wxString &path);

  // The browser while it is open, else null.
  FolderBrowser *GetBrowser() const { return m_browser; }
  void SetStatusText(const wxString &text);

  wxString m_initialFolder;
  wxString m_selectedFolder;
  wxString m_path;

private:
  FolderBrowser *m_browser = nullptr;
  wxWindow *m_parent;
};
