// Shows the in-cell editors and the advanced combo box, to look at (not a test):
//   editors_demo combo|above|suggest|edit
// combo: a list cell's combo with its drop-down open; above: a box near the screen's bottom
// whose drop-down opens above it; suggest: a drop-down box showing the choices matching typed
// text; edit: a list cell's edit box.
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/timer.h>

#include "controls/CAdvComboBox.h"
#include "controls/CAdvComboEdit.h"
#include "controls/CXCombo.h"
#include "controls/CXEdit.h"
#include "controls/CXListCtrl.h"

namespace {
std::vector<std::wstring> g_choices = {L"A4",    L"A5",           L"A3",     L"Letter",
                                       L"Legal", L"Junior Legal", L"Ledger", L"Tabloid"};

class DemoApp : public wxApp {
public:
  bool OnInit() override {
    std::string what = argc > 1 ? std::string(argv[1].utf8_str()) : "combo";
    wxRect screen = wxDisplay(0u).GetGeometry();
    wxPoint at = what == "above" || what == "fewlow" ? wxPoint(40, screen.GetBottom() - 110)
                                                     : wxPoint(40, 40);
    auto *frame = new wxFrame(nullptr, wxID_ANY, "Editors", at, wxSize(520, 180));
    auto *panel = new wxPanel(frame);
    if (what == "combo" || what == "edit") {
      auto *list = new CXListCtrl(panel, wxID_ANY, wxPoint(5, 5), wxSize(500, 160));
      list->SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
      list->InsertColumn(0, "Item", HDF_LEFT, 60);
      list->InsertColumn(1, "Paper", HDF_LEFT, 160);
      list->InsertColumn(2, "Note", HDF_LEFT, 200);
      for (int r = 0; r < 5; ++r) {
        list->InsertItem(r, wxString::Format("%d", r + 1));
        list->SetItemText(r, 1, g_choices[r]);
        list->SetItemText(r, 2, wxString::Format("note %d", r + 1));
        list->GetCellData(r, 1)->bCombo = true;
        list->GetCellData(r, 1)->psaComboList = &g_choices;
        list->GetCellData(r, 2)->bEdit = true;
      }
      frame->Show();
      CallAfter([list, what] {
        if (what == "edit") {
          list->StartEdit(2, 2);
        } else if (CXCombo *combo = list->StartComboEdit(1, 1)) {
          combo->SetItemDisabled(2, true);
          combo->CallAfter([combo] { combo->ToggleDropDown(); });
        }
      });
      return true;
    }
    auto *box = new CAdvComboBox;
    box->Create(panel, wxID_ANY, wxRect(20, 40, 200, 22),
                what == "suggest" ? CBS_DROPDOWN : CBS_DROPDOWNLIST);
    for (const std::wstring &c : g_choices)
      if ((what != "few" && what != "fewlow") || c.size() > 5)
        box->AddString(c);
    box->SetCurSel(3);
    frame->Show();
    // Once the frame is on the screen.
    m_timer.Bind(wxEVT_TIMER, [box, what](wxTimerEvent &) {
      if (what == "suggest") {
        box->SetBehaviour(ADVCOMBO_INSETEDIT | ADVCOMBO_AUTOSUGGEST);
        box->GetEditCtrl()->SetValue("L");
      } else {
        box->ToggleDropDown();
      }
    });
    m_timer.StartOnce(700);
    return true;
  }

private:
  wxTimer m_timer;
};
} // namespace

wxIMPLEMENT_APP(DemoApp);
