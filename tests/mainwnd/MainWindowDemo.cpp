// Shows the main window in a given state, to look at it (screenshots), not a test:
//   mainwnd_demo [empty|rows|merge|german|upsell|addfiles] FILE...
// "rows" adds the files and selects the second row, "merge" also presses Build, "german"
// switches the language to German after adding them, "upsell" and "addfiles" open those
// dialogs. (On a virtual screen a second window over the main one may stay unpainted.)
#include "BarCommand.h"
#include "CFileList.h"
#include "CVantorelDlg.h"
#include "MenuCommandId.h"
#include "controls/CXListCtrl.h"

#include <wx/app.h>
#include <wx/image.h>
#include <wx/timer.h>

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
    const wxString mode = argc > 1 ? wxString(argv[1]) : wxString("empty");
    CVantorelDlg dialog(nullptr, false);
    dialog.Move(0, 0);
    for (const std::wstring &file : m_files)
      dialog.AddFile(file);
    if (dialog.GetListCtrl()->GetItemCount() > 1)
      dialog.GetListCtrl()->Select(1, true);
    if (mode == "german") {
      // The language entries are in name order: de is the first.
      wxCommandEvent choose(wxEVT_MENU, MenuItemIdFromCommand(32779));
      dialog.GetEventHandler()->ProcessEvent(choose);
    }
    if (mode == "merge")
      RunLater([&dialog] { dialog.Build(); });
    if (mode == "upsell")
      RunLater([&dialog] { dialog.OnBarCommand(kCmdUpgrade); });
    if (mode == "addfiles")
      RunLater([&dialog] { dialog.OnAddFiles(); });
    dialog.ShowModal();
    dialog.ShutDown();
    return 0;
  }

private:
  std::vector<std::wstring> m_files;
};

} // namespace

wxIMPLEMENT_APP(DemoApp);
