#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <wx/bitmap.h>
#include <wx/dialog.h>
#include <wx/iconbndl.h>

#include "CFSMSettings.h"
#include "ItemData.h"
#include "PageRangeOwner.h"
#include "ProgramVersion.h"

class CCoolButtonBar;
class CCoolToolBar;
class CDlgChangePageRange;
class CDlgSourcePassword;
class SourceProbeQueue;
struct ProbeReply;
class CFileList;
class CLvCover;
class COutputSetting;
class CReadOnlyComboBox;
class CXListCtrl;
class wxListEvent;
class wxContextMenuEvent;
class wxMenu;
class wxStaticText;
class wxTextCtrl;

// The application's only main window: a borderless skinned dialog (template 108) with the file
// list, the five skinned bars, the embedded output settings panel, the output name and folder
// controls and the menus. It owns the settings record and the list's row records; Build hands a
// snapshot of both to the merge progress dialog.
//
// The class is split by topic: start-up, layout and shut-down here; painting and dragging in
// _paint, commands and Build in _commands, adding files in _files, list editing in _list.
//
// The listed files are read in the background (SourceProbeQueue, through the probe helper): a row
// shows "Reading..." until its answer comes. Build waits for none of them; before a run it names
// every row the merge would leave out and why (unreadable with the reader's reason, locked,
// still being read, no page selected) and asks whether to build without them; it starts nothing
// when no row can be merged, and says why. The status line under the list says why the selected
// row is left out, or how many are. Settings are saved whenever one of the stored ones changes.
//
// Keyboard: every bar button, the list (or the cover in its place), the panel, the output
// controls and Build are in the Tab order. On the list: Enter acts as a double click, Shift+F10
// and the Menu key open the context menu at the selection (GTK reports the Menu key as WXK_MENU,
// and both keys as a context menu request from the keyboard), Delete removes the selection,
// Ctrl+A selects every row, Ctrl+Up and Ctrl+Down move the selected row, Ctrl+Home and Ctrl+End
// move it to the top or the bottom.
//
// The protected virtual methods are the window's doors to other windows and to the desktop
// (message boxes, pickers, modal dialogs, the shell); tests replace them.
class CVantorelDlg : public wxDialog, public PageRangeOwner {
public:
  enum {
    IDD = 108,
    IDI_MAINFRAME = 128,
    IDB_SKIN = 140,
    IDC_LIST = 1000,
    IDC_OUTPUT_FOLDER = 1003,
    IDC_BROWSE = 1004,
    IDC_OPEN_FOLDER = 1005,
    IDC_OUTPUT_PATH = 1007,
    IDC_LIST_BAR = 1008,
    IDC_BUILD_BAR = 1009,
    IDC_ADD_BAR = 1010,
    IDC_TITLE_BAR = 1011,
    IDC_FOLDER_BAR = 1013,
    IDC_FOLDER_LABEL = 1048,
    IDC_NAME_LABEL = 1049,
    IDC_OUTPUT_NAME = 1050,
    IDC_COVER = 165,
    IDC_PANEL = 168,
  };
  // The window text, the title drawn in the title area and the message boxes' title.
  static const wchar_t kTitle[];
  // The automatic output name, entry 1 of the name box.
  static const wchar_t kAutomaticName[];

  // Creates and initialises the window (start-up, in the documented order). With
  // startUpdateCheck false no background update check is started (tests).
  explicit CVantorelDlg(wxWindow *parent = nullptr, bool startUpdateCheck = true);
  // Shut-down: saves the settings ("Save project settings error!" when that fails) and
  // releases the row records.
  ~CVantorelDlg() override;
  // The shut-down's work, once: the application calls it when the window has ended, so that
  // the failure message is shown while the window still exists; the destructor calls it when
  // nobody did.
  void ShutDown();

  // --- adding files
  // Hides the cover, and appends a row for path when its extension is supported.
  void AddFile(const std::wstring &path);
  // AddFile for each path in turn, the list redrawn once at the end rather than cell by cell.
  void AddFiles(const std::vector<std::wstring> &paths);
  // Add Files (201) and Add Folder (202).
  void OnAddFiles();
  void OnAddFolder();
  // The folder Add Folder opens on: the one last chosen there in this run, else the home folder.
  std::wstring GetAddFolderStart() const;

  // --- reading the listed PDFs
  // True while a listed PDF is still being read.
  bool IsReadingFiles() const;
  // Asks for the password of a row whose PDF opens only with one, until the user gives the
  // right one or cancels; the row then shows its pages and merges with that password.
  void AskSourcePassword(int row);

  // --- list editing
  void DeleteRow(int row);
  // to is an insertion position counted before the move: from + 2 moves one down, the row
  // count moves to the end.
  void MoveRow(int from, int to);
  void RemoveSelectedRows();
  void RemoveAllRows();
  void UpdateListButtons();
  void ChangePageRange(int row);
  // The row's record when it is a PDF whose pages can be chosen. Otherwise says why (a picture,
  // still being read, unreadable with the reason) or asks for its password, and gives null.
  const _stru_ItemData_ *PdfRowForPages(int row);
  // Choose Pages on a PDF row (the list's context menu, Ctrl+T on the selected row): the page
  // thumbnails to select from; OK sets the row's range as the page range dialog does.
  void ChoosePages(int row);
  // Preview (main menu, context menu, Ctrl+R): opens the preview window, or raises it.
  void OpenPreview();
  // A double click or Enter on a row.
  void ActivateRow(int row);
  // Shift+F10 or the Menu key: the context menu for the first selected row, shown below it.
  void ShowContextMenuForSelection();
  // The status line under the list: why the first selected row is left out of a merge, else how
  // many rows are; empty when every row will be merged.
  void UpdateStatusLine();
  // UpdateStatusLine once the events queued now have been handled.
  void ScheduleStatusLine();
  // Shows path selected in the desktop's file manager.
  void OpenInExplorer(const std::wstring &path);
  // A right click with the mouse pointer at screenPoint: sets the clicked row, enables the
  // context menu's entries and shows it there.
  void OnListRightClick(const wxPoint &screenPoint);
  // The context menu's entries enabled for the clicked row.
  void EnableContextMenu(int clickedRow);

  // --- commands
  // A bar or cover command (WM_BAR_COMMAND's first parameter).
  void OnBarCommand(int command);
  // A menu command by its command number.
  void OnMenuCommand(int command);
  void Build();
  void ToggleMergeSwitch();
  void Help();
  void ChooseOutputFolder();
  void OpenOutputFolder();
  // After a language change: texts, bar captions, list texts and the layout.
  void Retranslate();

  // --- parts, for the program's other windows and for tests
  CFSMSettings &GetSettings() { return m_settings; }
  CFileList *GetFileList() const { return m_files.get(); }
  CXListCtrl *GetListCtrl() const { return m_list; }
  CLvCover *GetCover() const { return m_cover; }
  COutputSetting *GetOutputSetting() const { return m_panel; }
  CReadOnlyComboBox *GetOutputNameBox() const { return m_outputName; }
  wxTextCtrl *GetOutputFolderEdit() const { return m_outputFolderEdit; }
  wxStaticText *GetStatusLine() const { return m_statusLine; }
  CCoolButtonBar *GetTitleBar() const { return m_titleBar; }
  CCoolToolBar *GetAddFilesBar() const { return m_addBar; }
  CCoolToolBar *GetAddFolderBar() const { return m_folderBar; }
  CCoolToolBar *GetListBar() const { return m_listBar; }
  CCoolToolBar *GetBuildBar() const { return m_buildBar; }
  wxMenu *GetMainMenu() const { return m_mainMenu.get(); }
  wxMenu *GetListMenu() const { return m_listMenu.get(); }
  wxMenu *GetLanguageMenu() const { return m_languageMenu; }
  int GetClickedRow() const { return m_nClickedRow; }

  // The hidden "cut into small PDFs" choice of the page range dialog stays disabled.
  int32_t GetCutOptionFlag() const override { return 1; }

  // Draws the skin, icon and title onto dc for a client area of size (the paint handler's work).
  void DrawWindow(wxDC &dc, const wxSize &size);

protected:
  // A message box with OK, the exclamation icon and the window's title.
  virtual void ShowMessage(const wxString &text);
  // A message box with Yes and No, the question icon and the window's title; true for Yes.
  virtual bool AskYesNo(const wxString &text);
  // The desktop's multi-selection file dialog in folder; false on Cancel.
  virtual bool AskFilesToAdd(const std::wstring &folder, std::vector<std::wstring> *paths);
  // The folder picker opened on initial (empty: none); false on Cancel.
  virtual bool AskFolder(const std::wstring &initial, std::wstring *folder);
  // The merge progress dialog, run modally over the rows and the settings.
  virtual void RunMergeProgress(const std::vector<_stru_ItemData_> &rows,
                                const CFSMSettings &settings);
  virtual bool RunPageRangeDialog(CDlgChangePageRange &dialog);
  // The password dialog, run until it ends; true for OK.
  virtual bool RunPasswordDialog(CDlgSourcePassword &dialog);
  virtual void ShowUpgradeDialog();
  virtual void ShowAboutDialog();
  virtual void ShowUpdateDialog();
  // Opens an address or a folder with the desktop's handler.
  virtual void OpenAddress(const std::wstring &address);
  virtual void ShowInFileManagerAt(const std::wstring &path);
  virtual void PopupAt(wxMenu *menu, const wxPoint &clientPoint);

private:
  void CreateControls();
  void SetUpBars();
  void LayoutBars();
  // The list bar at its place for its current width (which follows the merge switch).
  void PlaceListBar();
  void UpdateWindowShape();
  void EndMainWindow();
  void ReadOutputFolder();
  // Saves the stored settings now; the first failure of a run is reported.
  void SaveSettingsNow();
  void SetTabOrder();
  void OnReadAnswer(int32_t id, const ProbeReply &reply);
  // Keys for the list while it has the focus; true when the key was used.
  bool OnListKey(const wxKeyEvent &event);
  void OnOutputFolderKillFocus(wxFocusEvent &event);

  void OnPaint(wxPaintEvent &event);
  void OnSize(wxSizeEvent &event);
  void OnLeftDown(wxMouseEvent &event);
  void OnMotion(wxMouseEvent &event);
  void OnLeftUp(wxMouseEvent &event);
  void OnCaptureLost(wxMouseCaptureLostEvent &event);
  void OnCharHook(wxKeyEvent &event);
  void OnClose(wxCloseEvent &event);
  void OnBarCommandEvent(wxCommandEvent &event);
  void OnMenu(wxCommandEvent &event);
  void OnListSelection(wxListEvent &event);
  void OnListActivated(wxListEvent &event);
  void OnListRightClickEvent(wxListEvent &event);
  void OnListContextMenu(wxContextMenuEvent &event);
  void OnBrowse(wxCommandEvent &event);
  void OnOpenFolder(wxCommandEvent &event);
  void OnHelpEvent(wxHelpEvent &event);
  // Ctrl+T and Ctrl+R; true when the key was one of them.
  bool OnPageViewKey(const wxKeyEvent &event);

  CFSMSettings m_settings;
  CXListCtrl *m_list = nullptr;
  std::unique_ptr<CFileList> m_files;
  CReadOnlyComboBox *m_outputName = nullptr;
  wxTextCtrl *m_outputFolderEdit = nullptr;
  wxString m_strOutputFolder; // the output folder text bound to the edit
  wxStaticText *m_statusLine = nullptr;
  bool m_bStatusLinePending = false;
  COutputSetting *m_panel = nullptr;
  CLvCover *m_cover = nullptr;
  CCoolButtonBar *m_titleBar = nullptr;
  CCoolToolBar *m_addBar = nullptr;
  CCoolToolBar *m_folderBar = nullptr;
  CCoolToolBar *m_listBar = nullptr;
  CCoolToolBar *m_buildBar = nullptr;
  std::unique_ptr<wxMenu> m_mainMenu;
  std::unique_ptr<wxMenu> m_listMenu;
  wxMenu *m_languageMenu = nullptr; // inside m_mainMenu
  std::vector<std::wstring> m_languageCodes;
  int m_nClickedRow = -1;
  ProgramVersion m_version;
  wxBitmap m_skin;
  wxIconBundle m_icons;
  wxPoint m_dragOffset; // pointer position in the window while it is dragged
  bool m_dragging = false;
  bool m_shutDown = false;
  bool m_saveFailureShown = false;
  std::unique_ptr<SourceProbeQueue> m_reader;
  std::wstring m_addFolderStart; // the folder last chosen by Add Folder in this run
  // The password being checked for the password dialog, by the reading's identifier.
  int32_t m_passwordCheckId = 0;
  int32_t m_lastPasswordCheckId = 0;
  std::function<void(const ProbeReply &)> m_passwordCheck;
};
