// The main window's bars in every language: none covers another, however long the captions.
#include "MainWindowFixture.h"

#include "CCoolButtonBar.h"
#include "support/LangTestFolder.h"

#include <utility>

namespace {

class Layout : public MainWindow {
protected:
  // Every pair of bars that share pixels, by name.
  std::vector<std::string> Overlaps() {
    const std::pair<const char *, wxWindow *> bars[] = {{"title", dlg->GetTitleBar()},
                                                        {"add files", dlg->GetAddFilesBar()},
                                                        {"add folder", dlg->GetAddFolderBar()},
                                                        {"list", dlg->GetListBar()},
                                                        {"build", dlg->GetBuildBar()}};
    std::vector<std::string> found;
    for (size_t i = 0; i < std::size(bars); ++i)
      for (size_t j = i + 1; j < std::size(bars); ++j)
        if (bars[i].second->GetRect().Intersects(bars[j].second->GetRect()))
          found.push_back(std::string(bars[i].first) + " / " + bars[j].first);
    return found;
  }
  // Whether every bar is wholly inside the window.
  bool BarsInside() {
    const wxRect window(wxPoint(0, 0), dlg->GetSize());
    for (wxWindow *bar : {(wxWindow *)dlg->GetTitleBar(), (wxWindow *)dlg->GetAddFilesBar(),
                          (wxWindow *)dlg->GetAddFolderBar(), (wxWindow *)dlg->GetListBar(),
                          (wxWindow *)dlg->GetBuildBar()})
      if (!window.Contains(bar->GetRect()))
        return false;
    return true;
  }
};

TEST_F(Layout, NoBarCoversAnotherInAnyShippedLanguage) {
  // The language entries are in name order: de, en, fr, jp; then back to "auto".
  for (int command : {32779, 32780, 32781, 32782}) {
    dlg->OnMenuCommand(command);
    YieldToWindows();
    EXPECT_EQ(std::vector<std::string>(), Overlaps()) << GetCurrentLanguage();
    EXPECT_TRUE(BarsInside()) << GetCurrentLanguage();
    // The shipped captions fit without being shortened.
    for (int i = 0; i < dlg->GetListBar()->GetButtonCount(); ++i)
      EXPECT_EQ(dlg->GetListBar()->GetButtonCaption(i), dlg->GetListBar()->GetShownCaption(i));
  }
}

TEST_F(Layout, LongCaptionsShrinkAndShortenInsteadOfCovering) {
  Close();
  LangTestFolder lang;
  std::string strings = "[General]\nlanguage=Long\n[STRING]\n";
  for (int id : {138, 222, 141, 180, 181, 182, 183, 194, 216, 220})
    strings += std::to_string(id) + "=" + std::string(40, 'W') + "\n";
  lang.Write("lang_zz.ini", strings);
  SelectLanguage(L"zz");
  Open();
  dlg->OnMenuCommand(32779); // the only file: zz
  YieldToWindows();
  ASSERT_EQ(L"zz", GetCurrentLanguage());
  EXPECT_EQ(std::vector<std::string>(), Overlaps());
  EXPECT_TRUE(BarsInside());
  CCoolToolBar *list = dlg->GetListBar();
  EXPECT_LT(list->GetFontScale(), 1.0);
  EXPECT_TRUE(list->GetShownCaption(1).EndsWith(wxString::FromUTF8("\xe2\x80\xa6")));
  EXPECT_EQ(list->GetBarWidth(), list->GetSize().x);
  // The merge switch lays the bar out again, with the same care.
  dlg->OnBarCommand(kCmdMergeSwitch);
  EXPECT_EQ(std::vector<std::string>(), Overlaps());
  Close();
}

} // namespace
