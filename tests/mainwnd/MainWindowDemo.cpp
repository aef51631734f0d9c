// Shows the main window in a given state, to look at it (screenshots), not a test:
//   mainwnd_demo [empty|cover|rows|merge|german|upsell|addfiles|addfolder|password|reading|
//                tooltip|panel][,de|fr|jp]
//                FILE...
// "rows" adds the files and selects the second row, "merge" also presses Build once they are
// read, "tooltip" then rests the pointer on the second row's page range, "german"
// switches the language to German after adding them, "upsell", "addfiles" and "addfolder" open
// those dialogs, "password" asks for the password of the first locked row, "reading" presses
// Build before the files are read, "cover" gives the cover the keyboard focus, "panel" the
// output settings' A4 button. A language code
// after a comma switches to that language first. (On a virtual screen a second window over the main
// one may stay unpainted in a picture of the whole screen; a picture of that window alone, xwd -id,
// shows it.)
#include "BarCommand.h"
#include "CFileList.h"
#include "CLvCover.h"
#include "COutputSetting.h"
#include "CVantorelDlg.h"
#include "MenuCommandId.h"
#include "controls/CXListCtrl.h"

#include <wx/app.h>
#include <wx/image.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

#include <functional>

namespace {

// Runs action from a timer, as a click would come from the desktop (not from idle time, where
// modal dialogs opened in it are not painted).
void RunLater(std::function<void()> action) {
  auto *timer = new wxTimer;
  timer->Bind(wxEVT_TIMER, [timer, action](wxTimerEvent &) {
    action();
    timer->CallAfter([timer] { delete timer; });
  });
  timer->StartOnce(300);
}

// Runs action once every listed file has been read.
void RunWhenRead(CVantorelDlg &dialog, std::function<void()> action) {
  RunLater([&dialog, action] {
    if (dialog.IsReadingFiles())
      RunWhenRead(dialog, action);
    else
      action();
  });
}

class DemoApp : public wxApp {
public:
  bool OnInit() override {
    wxInitAllImageHandlers();
    const wxString mode = argc > 1 ? wxString(argv[1]) : wxString("empty");
    for (int i = 2; i < argc; ++i)
      m_files.push_back(argv[i].ToStdWstring());
    return true;
  }
  int OnRun() override {
    const wxString mode = argc > 1 ? wxString(argv[1]).BeforeFirst(',') : wxString("empty");
    const wxString language = argc > 1 ? wxString(argv[1]).AfterFirst(',') : wxString();
    CVantorelDlg dialog(nullptr, false);
    dialog.Move(0, 0);
    // The language entries are in name order: de, en, fr, jp.
    const wxString codes[] = {"de", "en", "fr", "jp"};
    for (int i = 0; i < 4; ++i)
      if (language == codes[i]) {
        wxCommandEvent choose(wxEVT_MENU, MenuItemIdFromCommand(32779 + i));
        dialog.GetEventHandler()->ProcessEvent(choose);
      }
    dialog.AddFiles(m_files);
    if (dialog.GetListCtrl()->GetItemCount() > 1)
      dialog.GetListCtrl()->Select(1, true);
    if (mode == "german") {
      // The language entries are in name order: de is the first.
      wxCommandEvent choose(wxEVT_MENU, MenuItemIdFromCommand(32779));
      dialog.GetEventHandler()->ProcessEvent(choose);
    }
    if (mode == "cover")
      dialog.CallAfter([&dialog] { dialog.GetCover()->SetFocus(); });
    if (mode == "panel")
      RunLater([&dialog] {
        // From the A3 button back to A4 by the keyboard, which makes the desktop show focus.
        dialog.FindWindow(COutputSetting::IDC_A3)->SetFocus();
        wxUIActionSimulator().Char(WXK_LEFT);
      });
    if (mode == "merge")
      RunWhenRead(dialog, [&dialog] { dialog.Build(); });
    if (mode == "tooltip")
      RunWhenRead(dialog, [&dialog] {
        // The pointer rests on the second row's page range cell.
        CXListCtrl *list = dialog.GetListCtrl();
        const wxRect cell = list->GetCellRect(1, 4);
        wxUIActionSimulator().MouseMove(list->ClientToScreen(cell.GetPosition() + wxPoint(20, 8)));
      });
    if (mode == "upsell")
      RunLater([&dialog] { dialog.OnBarCommand(kCmdUpgrade); });
    if (mode == "addfiles")
      RunLater([&dialog] { dialog.OnAddFiles(); });
    if (mode == "addfolder")
      RunLater([&dialog] { dialog.OnAddFolder(); });
    if (mode == "reading")
      dialog.CallAfter([&dialog] { dialog.Build(); });
    if (mode == "password")
      RunLater([&dialog] {
        for (int row = 0; row < dialog.GetFileList()->GetCount(); ++row)
          if (dialog.GetFileList()->GetItemData(row)->nReadState == READ_NEEDS_PASSWORD) {
            dialog.AskSourcePassword(row);
            break;
          }
      });
    dialog.ShowModal();
    dialog.ShutDown();
    return 0;
  }

private:
  std::vector<std::wstring> m_files;
};

} // namespace

wxIMPLEMENT_APP(DemoApp);
