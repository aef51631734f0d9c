#include "LanguageChanged.h"

#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/panel.h>
#include <wx/stattext.h>

#include <map>

namespace {

TEST(LanguageChangedTest, EveryDescendantHearsItOnce) {
  auto *main = new wxDialog(nullptr, wxID_ANY, wxT("main"));
  auto *panel = new wxPanel(main, 168);
  auto *label = new wxStaticText(panel, 1, wxT("x"));
  auto *sibling = new wxPanel(main, 2);
  auto *owned = new wxDialog(main, wxID_ANY, wxT("owned"));
  std::map<wxWindow *, int> heard;
  for (wxWindow *w : std::initializer_list<wxWindow *>{main, panel, label, sibling, owned})
    w->Bind(WM_LANGUAGE_CHANGED, [&heard, w](wxCommandEvent &event) {
      ++heard[w];
      EXPECT_EQ(event.GetInt(), 0);
      event.Skip(); // even a skipped event does not climb to the parents
    });
  SendLanguageChanged(main);
  EXPECT_EQ(heard[main], 0);
  EXPECT_EQ(heard[panel], 1);
  EXPECT_EQ(heard[label], 1);
  EXPECT_EQ(heard[sibling], 1);
  EXPECT_EQ(heard[owned], 0);
  main->Destroy();
}

} // namespace
