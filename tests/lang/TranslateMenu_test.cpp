#include "TranslateMenu.h"

#include "support/LangTestFolder.h"

#include "MenuCommandId.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/menu.h>

namespace {

constexpr int M(int command) { return MenuItemIdFromCommand(command); }

// The main menu's first submenu as the program's template holds it.
wxMenu *MakeMainMenu() {
  auto *menu = new wxMenu;
  menu->Append(M(32771), wxT("Help"));
  menu->AppendSeparator();
  menu->Append(M(32772), wxT("Check For Update..."));
  menu->Append(M(32773), wxT("Homepage"));
  menu->AppendSeparator();
  auto *language = new wxMenu;
  language->AppendCheckItem(M(32778), wxT("auto"));
  language->AppendSeparator();
  language->AppendCheckItem(M(32779), wxT("Deutsch"));
  menu->AppendSubMenu(language, wxT("Language"));
  menu->Append(M(32776), wxT("About"));
  return menu;
}

class TranslateMenuTest : public ::testing::Test {
protected:
  void UseLanguage(const std::string &text) {
    folder.Write("lang_de.ini", text);
    SelectLanguage(L"de");
  }
  LangTestFolder folder;
};

TEST_F(TranslateMenuTest, CommandsTakeTheirTextsAtEveryDepth) {
  UseLanguage("[MENU]\n32771=Hilfe\n32772=Nach Updates suchen...\n32776=\xC3\x9C"
              "ber\n"
              "32778=automatisch\n32773=\n");
  std::unique_ptr<wxMenu> menu(MakeMainMenu());
  TranslateMenu(menu.get());
  EXPECT_EQ(menu->GetLabelText(M(32771)), wxT("Hilfe"));
  EXPECT_EQ(menu->GetLabelText(M(32772)), wxT("Nach Updates suchen..."));
  EXPECT_EQ(menu->GetLabelText(M(32773)), wxT("Homepage")); // empty value: unchanged
  EXPECT_EQ(menu->GetLabelText(M(32776)), wxString(L"\u00DCber"));
  EXPECT_EQ(menu->GetLabelText(M(32778)), wxT("automatisch")); // inside the submenu
  EXPECT_EQ(menu->FindItemByPosition(5)->GetItemLabelText(), wxT("Language"));
}

TEST_F(TranslateMenuTest, CheckedAndDisabledEntriesStaySo) {
  UseLanguage("[MENU]\n32778=automatisch\n32888=L\xC3\xB6schen\n32889=Leeren\n");
  auto *language = new wxMenu;
  language->AppendCheckItem(M(32778), wxT("auto"));
  wxMenu context;
  context.Append(M(32888), wxT("Delete"));
  context.Append(M(32889), wxT("Empty"));
  context.AppendSeparator();
  context.AppendSubMenu(language, wxT("Language"));
  language->Check(M(32778), true);
  context.Enable(M(32888), false);
  TranslateMenu(&context);
  EXPECT_TRUE(language->IsChecked(M(32778)));
  EXPECT_FALSE(context.IsEnabled(M(32888)));
  EXPECT_TRUE(context.IsEnabled(M(32889)));
  EXPECT_EQ(context.GetLabelText(M(32888)), wxString(L"L\u00F6schen"));
  EXPECT_TRUE(context.FindItemByPosition(2)->IsSeparator());
}

TEST_F(TranslateMenuTest, ItemKeysApplyToTheMainWindowsMenuBarOnly) {
  UseLanguage("[MENU]\nitem_1=Datei\nitem_2=Extras\n32771=Hilfe\n");
  auto *frame = new wxFrame(nullptr, wxID_ANY, wxT("main"));
  auto *bar = new wxMenuBar;
  bar->Append(MakeMainMenu(), wxT("File"));
  bar->Append(new wxMenu, wxT("Tools"));
  frame->SetMenuBar(bar);
  wxWindow *previous = wxTheApp->GetTopWindow();
  wxTheApp->SetTopWindow(frame);
  TranslateMenu(bar);
  EXPECT_EQ(bar->GetMenuLabelText(0), wxT("Datei"));
  EXPECT_EQ(bar->GetMenuLabelText(1), wxT("Extras"));
  EXPECT_EQ(bar->GetMenu(0)->GetLabelText(M(32771)), wxT("Hilfe"));

  auto *other = new wxFrame(nullptr, wxID_ANY, wxT("other"));
  auto *otherBar = new wxMenuBar;
  otherBar->Append(MakeMainMenu(), wxT("File"));
  other->SetMenuBar(otherBar);
  TranslateMenu(otherBar);
  EXPECT_EQ(otherBar->GetMenuLabelText(0), wxT("File"));
  EXPECT_EQ(otherBar->GetMenu(0)->GetLabelText(M(32771)), wxT("Hilfe"));
  wxTheApp->SetTopWindow(previous);
  other->Destroy();
  frame->Destroy();
}

TEST_F(TranslateMenuTest, MenuEscapesBecomeLineBreaksAndTabs) {
  UseLanguage("[MENU]\n32771=Hilfe\\tF1\n");
  std::unique_ptr<wxMenu> menu(MakeMainMenu());
  TranslateMenu(menu.get());
  EXPECT_EQ(menu->FindItem(M(32771))->GetItemLabel(), wxT("Hilfe\tF1"));
  TranslateMenu(static_cast<wxMenu *>(nullptr));
}

} // namespace
