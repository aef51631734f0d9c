#include "CFolderDialog.h"
#include "FolderBrowser.h"
#include "ShellWindowFixture.h"

#include <functional>

#include <wx/dirctrl.h>
#include <wx/filename.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>

namespace {

TEST(FolderDialogShortening, LongPathsAreCutAfterThirtyFiveCharacters) {
  const wxString p35 = "/home/user/Documents/Orvanel/abcdef";
  ASSERT_EQ(p35.length(), 35u);
  const wxString p52 = p35 + "/ZOZ Avar Izaded/";
  ASSERT_EQ(p52.length(), 52u);
  EXPECT_EQ(CFolderDialog::ShortenPath(p52), p35 + "...");
  EXPECT_EQ(CFolderDialog::ShortenPath(p35), p35);
  EXPECT_EQ(CFolderDialog::ShortenPath(p35 + "x"), p35 + "...");
  EXPECT_EQ(CFolderDialog::ShortenPath(""), "");
  // Characters, not bytes: a path in another script is cut at the same place.
  const wxString wide = wxString::FromUTF8("/\xc3\xa9\xc3\xa9\xc3\xa9") + wxString('x', 40);
  EXPECT_EQ(CFolderDialog::ShortenPath(wide).length(), 38u);
}

// Runs the browser and lets the test act in it once it is initialised.
class ScriptedFolderDialog : public CFolderDialog {
public:
  using Script = std::function<void(FolderBrowser &)>;
  ScriptedFolderDialog(const wxString &initial, Script script)
      : CFolderDialog(initial), m_script(std::move(script)) {}

  wxString statusAtStart;
  std::vector<wxString> changes;

protected:
  void OnInitialized() override {
    CFolderDialog::OnInitialized();
    statusAtStart = GetBrowser()->GetStatusText();
    FolderBrowser *browser = GetBrowser();
    browser->CallAfter([this, browser] { m_script(*browser); });
  }
  void OnSelChanged(const wxString &path) override {
    changes.push_back(path);
    CFolderDialog::OnSelChanged(path);
  }

private:
  Script m_script;
};

class FolderDialogTest : public ShellWindowTest {
protected:
  void SetUp() override {
    ShellWindowTest::SetUp();
    // A folder whose path is longer than the status line shows.
    m_deep = wxString::FromUTF8(m_dir.path()) + "/a folder with a long name for the status";
    m_other = wxString::FromUTF8(m_dir.path()) + "/other";
    wxFileName::Mkdir(m_deep, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    wxFileName::Mkdir(m_other, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
  }
  TempDir m_dir;
  wxString m_deep, m_other;
};

TEST_F(FolderDialogTest, OpensOnTheInitialFolderAndConfirmsTheSelection) {
  wxString statusAfterChange;
  ScriptedFolderDialog dialog(m_deep, [&](FolderBrowser &browser) {
    EXPECT_EQ(browser.GetSelectedPath(), m_deep);
    EXPECT_EQ(browser.GetTitle(), "Browse For Folder");
    browser.SelectFolder(m_other);
    statusAfterChange = browser.GetStatusText();
    browser.EndModal(wxID_OK);
  });
  EXPECT_EQ(dialog.DoModal(), CFolderDialog::kOK);
  EXPECT_EQ(dialog.statusAtStart, CFolderDialog::ShortenPath(m_deep));
  EXPECT_TRUE(dialog.statusAtStart.EndsWith("..."));
  EXPECT_EQ(statusAfterChange, CFolderDialog::ShortenPath(m_other));
  EXPECT_EQ(dialog.GetSelectedFolder(), m_other);
  ASSERT_FALSE(dialog.changes.empty());
  EXPECT_EQ(dialog.changes.back(), m_other);
}

TEST_F(FolderDialogTest, CancelAfterBrowsingChangesNothingForTheCaller) {
  wxString outputFolder = m_deep;
  ScriptedFolderDialog dialog(outputFolder, [&](FolderBrowser &browser) {
    browser.SelectFolder(m_other);
    browser.EndModal(wxID_CANCEL);
  });
  if (dialog.DoModal() == CFolderDialog::kOK)
    outputFolder = dialog.GetSelectedFolder();
  EXPECT_EQ(outputFolder, m_deep);
}

TEST_F(FolderDialogTest, AFolderRemovedWhileOpenIsNoChoice) {
  ScriptedFolderDialog dialog(m_other, [&](FolderBrowser &browser) {
    wxFileName::Rmdir(m_other);
    browser.EndModal(wxID_OK);
  });
  EXPECT_EQ(dialog.DoModal(), CFolderDialog::kCancel);
}

TEST_F(FolderDialogTest, AMissingInitialFolderStillShowsInTheStatusLine) {
  const wxString missing = m_other + "/not there";
  ScriptedFolderDialog dialog(missing,
                              [](FolderBrowser &browser) { browser.EndModal(wxID_CANCEL); });
  EXPECT_EQ(dialog.DoModal(), CFolderDialog::kCancel);
  EXPECT_EQ(dialog.statusAtStart, CFolderDialog::ShortenPath(missing));
}

// A key as the browser's key hook sees it, typed in window.
void KeyIn(wxWindow *window, int key) {
  wxKeyEvent event(wxEVT_CHAR_HOOK);
  event.m_keyCode = key;
  event.SetEventObject(window);
  window->GetEventHandler()->ProcessEvent(event);
}

TEST_F(FolderDialogTest, AFolderTypedInTheBoxIsTheChoice) {
  ScriptedFolderDialog dialog(m_deep, [&](FolderBrowser &browser) {
    EXPECT_EQ(browser.GetPathBox()->GetValue(), m_deep); // the box follows the tree
    // A name that is no folder keeps the window open.
    browser.GetPathBox()->ChangeValue(m_other + "/not there");
    wxCommandEvent enter(wxEVT_TEXT_ENTER, browser.GetPathBox()->GetId());
    enter.SetEventObject(browser.GetPathBox());
    browser.GetPathBox()->GetEventHandler()->ProcessEvent(enter);
    EXPECT_TRUE(browser.IsModal());
    browser.GetPathBox()->ChangeValue(m_other + "/");
    browser.GetPathBox()->GetEventHandler()->ProcessEvent(enter);
  });
  EXPECT_EQ(dialog.DoModal(), CFolderDialog::kOK);
  EXPECT_EQ(dialog.GetSelectedFolder(), m_other);
}

TEST_F(FolderDialogTest, EnterInTheTreeOpensTheFolderAndConfirmsNothing) {
  bool stillOpen = false;
  ScriptedFolderDialog dialog(m_dir.path(), [&](FolderBrowser &browser) {
    wxTreeCtrl *tree = browser.GetTree()->GetTreeCtrl();
    tree->SetFocus();
    const wxTreeItemId item = tree->GetSelection();
    ASSERT_TRUE(item.IsOk());
    const bool expanded = tree->IsExpanded(item);
    KeyIn(tree, WXK_RETURN); // as after a type-ahead search in the tree
    YieldToWindows();
    stillOpen = browser.IsModal();
    EXPECT_NE(expanded, tree->IsExpanded(item));
    browser.EndModal(wxID_CANCEL);
  });
  EXPECT_EQ(dialog.DoModal(), CFolderDialog::kCancel);
  EXPECT_TRUE(stillOpen);
}

TEST_F(FolderDialogTest, TitleAndButtonsSpeakTheLanguage) {
  SelectLanguage(L"de");
  wxString title, ok;
  ScriptedFolderDialog dialog(m_deep, [&](FolderBrowser &browser) {
    title = browser.GetTitle();
    ok = browser.FindWindow(wxID_OK)->GetLabel();
    browser.EndModal(wxID_CANCEL);
  });
  dialog.DoModal();
  SelectLanguage(L"en");
  EXPECT_EQ(title, "Ordner suchen");
  EXPECT_EQ(ok, "OK");
}

} // namespace
