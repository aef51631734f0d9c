// Shows the shell windows in a frame, to look at them (screenshots), not a test:
//   shell_windows_demo [all|bars|panel|cover|picker]
// "all" places the bars, the cover and the panel where the main window puts them.
#include "CCoolButtonBar.h"
#include "CCoolToolBar.h"
#include "CFSMSettings.h"
#include "CFolderDialog.h"
#include "CLvCover.h"
#include "COutputSetting.h"
#include "CoolBarTables.h"

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/panel.h>
#include <wx/timer.h>

namespace {

class DemoApp : public wxApp {
public:
  bool OnInit() override {
    wxInitAllImageHandlers();
    const wxString mode = argc > 1 ? wxString(argv[1]) : wxString("all");
    if (mode == "picker") {
      CallAfter([] {
        CFolderDialog picker("/usr/share/fonts/truetype/liberation2/and/a/long/tail");
        picker.DoModal();
        wxTheApp->ExitMainLoop();
      });
      return true;
    }
    auto *frame = new wxFrame(nullptr, wxID_ANY, "Shell windows", wxPoint(0, 0), wxSize(900, 608));
    auto *root = new wxPanel(frame);
    root->SetBackgroundColour(wxColour(233, 233, 233));
    const int W = 900, H = 608;
    if (mode == "all" || mode == "bars") {
      auto *title = new CCoolButtonBar(root, 1011);
      title->SetButtons(kTitleBarBitmap, kTitleBarStates, 3, kTitleBarButtons);
      title->SetSize(W - title->GetStripSize().x - 7, 2, title->GetStripSize().x,
                     title->GetStripSize().y);
      title->EnableButton(kCmdMinimise, false, false);
      auto *add = new CCoolToolBar(root, 1010);
      add->SetButtonsWithPictures(1, kAddFilesBar);
      add->SetSize(10, 39, add->GetBarWidth(), add->GetBarHeight());
      auto *folder = new CCoolToolBar(root, 1013);
      folder->SetButtonsWithPictures(1, kAddFolderBar);
      folder->SetSize(add->GetRect().GetRight() + 11, 39, folder->GetBarWidth(),
                      folder->GetBarHeight());
      auto *list = new CCoolToolBar(root, 1008);
      list->SetButtonsWithPictures(kListToolBarCount, ListToolBarTable(true));
      list->SetFontSize(kListToolBarFontSize);
      list->EnableButton(kCmdMoveUp, true, false);
      list->EnableButton(kCmdRemove, true, false);
      list->SetSize(W - list->GetBarWidth() - kBarRightMargin, kListBarTop, list->GetBarWidth(),
                    list->GetBarHeight());
      auto *build = new CCoolToolBar(root, 1009);
      build->SetButtonsWithPictures(1, kBuildBar);
      build->SetFontSize(kBuildBarFontSize);
      build->EnableButton(kCmdBuild, mode == "bars", false);
      build->SetSize(W - build->GetBarWidth() - kBarRightMargin, H - kBuildBarBottomOffset,
                     build->GetBarWidth(), build->GetBarHeight());
      if (mode == "bars") {
        // A second Add Files bar held in the hover state, to see the caption's glow.
        auto *hovered = new CCoolToolBar(root, wxID_ANY);
        hovered->SetButtonsWithPictures(1, kAddFilesBar);
        hovered->SetSize(10, 120, hovered->GetBarWidth(), hovered->GetBarHeight());
        hovered->CallAfter([hovered] {
          wxMouseEvent move(wxEVT_MOTION);
          move.SetPosition(wxPoint(5, 5));
          hovered->GetEventHandler()->ProcessEvent(move);
        });
      }
    }
    if (mode == "all" || mode == "cover") {
      auto *cover = new CLvCover;
      cover->Create(root, 165, wxPoint(11, 81));
    }
    if (mode == "all" || mode == "panel") {
      m_settings.bPermissionPwd = 1;
      m_settings.strPermissionPwd = L"secret";
      m_settings.bCopyingAllowed = 1;
      auto *panel = new COutputSetting(&m_settings);
      panel->Create(root, 168, wxPoint(5, 0));
      panel->SetSize(5, 507 - panel->GetSize().y, W - 12, panel->GetSize().y);
    }
    frame->Show();
    return true;
  }

private:
  CFSMSettings m_settings;
};

} // namespace

wxIMPLEMENT_APP(DemoApp);
