#pragma once
// A main window whose doors to other windows and to the desktop are replaced by recorders, in a
// settings store, documents folder and vendor site of its own.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "BarCommand.h"
#include "CCoolToolBar.h"
#include "CDlgChangePageRange.h"
#include "CDlgSourcePassword.h"
#include "CVantorelDlg.h"
#include "Localization.h"
#include "support/TempDir.h"
#include "support/WindowEvents.h"

inline std::wstring Wide(const std::string &s) { return std::wstring(s.begin(), s.end()); }

class TestDlg : public CVantorelDlg {
public:
  TestDlg() : CVantorelDlg(nullptr, false) {}

  std::vector<wxString> messages;
  std::vector<wxString> questions; // asked with Yes and No
  bool yesAnswer = false;
  std::vector<std::wstring> addresses;
  std::vector<std::wstring> shownInFileManager;
  std::vector<wxMenu *> popups;
  int upgradeShown = 0, aboutShown = 0, updateShown = 0, progressRuns = 0;
  // Scripted answers of the pickers; false answers Cancel.
  bool filesAnswer = false;
  std::vector<std::wstring> files;
  std::wstring askedFilesFolder;
  bool folderAnswer = false;
  bool realFolderPicker = false; // the program's own folder picker instead of the answers
  bool realFilePicker = false;   // the desktop's file dialog instead of the answers
  int filesAsked = 0;
  bool inFilePicker = false; // the desktop's file dialog is open
  std::wstring folder;
  std::wstring askedFolderInitial;
  // What the page range dialog's user does; empty: Cancel.
  std::function<bool(CDlgChangePageRange &)> pageRange;
  // Passwords typed in the password dialog in turn; it is cancelled when they run out.
  std::vector<wxString> passwords;
  wxString passwordPrompt;                // the dialog's prompt
  std::vector<wxString> passwordProblems; // what it said after each refused password
  // The merge run; empty: only counted.
  std::function<void(const std::vector<_stru_ItemData_> &, const CFSMSettings &)> merge;

protected:
  void ShowMessage(const wxString &text) override { messages.push_back(text); }
  bool AskYesNo(const wxString &text) override {
    questions.push_back(text);
    return yesAnswer;
  }
  bool AskFilesToAdd(const std::wstring &in, std::vector<std::wstring> *paths) override {
    ++filesAsked;
    askedFilesFolder = in;
    if (realFilePicker) {
      inFilePicker = true;
      const bool chosen = CVantorelDlg::AskFilesToAdd(in, paths);
      inFilePicker = false;
      return chosen;
    }
    if (filesAnswer)
      *paths = files;
    return filesAnswer;
  }
  bool AskFolder(const std::wstring &initial, std::wstring *chosen) override {
    askedFolderInitial = initial;
    if (realFolderPicker)
      return CVantorelDlg::AskFolder(initial, chosen);
    if (folderAnswer)
      *chosen = folder;
    return folderAnswer;
  }
  void RunMergeProgress(const std::vector<_stru_ItemData_> &rows,
                        const CFSMSettings &settings) override {
    ++progressRuns;
    if (merge)
      merge(rows, settings);
  }
  bool RunPageRangeDialog(CDlgChangePageRange &dialog) override {
    return pageRange ? pageRange(dialog) : false;
  }
  bool RunPasswordDialog(CDlgSourcePassword &dialog) override {
    passwordPrompt = dialog.GetPrompt()->GetLabel();
    for (const wxString &password : passwords) {
      dialog.GetEntry()->ChangeValue(password);
      dialog.Confirm();
      EXPECT_TRUE(YieldUntil([&] { return !dialog.IsChecking(); }));
      if (dialog.IsAccepted())
        return true;
      passwordProblems.push_back(dialog.GetProblem()->GetLabel());
    }
    return false;
  }
  void ShowUpgradeDialog() override { ++upgradeShown; }
  void ShowAboutDialog() override { ++aboutShown; }
  void ShowUpdateDialog() override { ++updateShown; }
  void OpenAddress(const std::wstring &address) override { addresses.push_back(address); }
  void ShowInFileManagerAt(const std::wstring &path) override {
    shownInFileManager.push_back(path);
  }
  void PopupAt(wxMenu *menu, const wxPoint &) override { popups.push_back(menu); }
};

class MainWindow : public ::testing::Test {
protected:
  void SetUp() override {
    setenv("VANTOREL_CONFIG_FILE", m_home.file("config.ini").c_str(), 1);
    setenv("VANTOREL_DOCUMENTS_DIR", m_home.file("docs").c_str(), 1);
    setenv("VANTOREL_APPDATA_DIR", m_home.file("appdata").c_str(), 1);
    SelectLanguage(L"en");
    Open();
  }
  void TearDown() override {
    Close();
    SelectLanguage(L"en");
  }
  // A new main window over the same settings store.
  void Open() {
    dlg = new TestDlg;
    dlg->Show();
    YieldToWindows();
  }
  // Shut-down as the application does it, then the window goes.
  void Close() {
    if (!dlg)
      return;
    dlg->ShutDown();
    dlg->Destroy();
    dlg = nullptr;
    YieldToWindows();
  }
  std::string Home(const std::string &name) const { return m_home.file(name); }
  // Until every listed PDF has been read (by the probe helper, in the background).
  void WaitForReading() {
    EXPECT_TRUE(YieldUntil([this] { return !dlg->IsReadingFiles(); }));
  }
  // Adds a file and waits for its reading, as a user who looks at the row before going on.
  void AddRead(const std::wstring &path) {
    dlg->AddFile(path);
    WaitForReading();
  }
  // Whether the list tool bar's button for command is enabled.
  bool ListButtonEnabled(int command) const {
    CCoolToolBar *bar = dlg->GetListBar();
    for (int i = 0; i < bar->GetButtonCount(); ++i)
      if (bar->GetButtonCommand(i) == command)
        return bar->IsButtonEnabled(i);
    ADD_FAILURE() << "no button " << command;
    return false;
  }

  TestDlg *dlg = nullptr;

private:
  TempDir m_home;
};
