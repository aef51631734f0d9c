// A whole merge driven by the keyboard alone, through the display as a user types: Tab to Add
// Folder, Enter, a folder typed in the picker, Tab to the list, a row moved with Ctrl+Down, Tab to
// Build, Enter; the real progress dialog merges. A path typed key by key into the desktop's file
// dialog, the Menu key on a row, the cover reached by Tab. GTK and GLib say nothing on the way.
#include "MainWindowFixture.h"

#include "AnsiText.h"
#include "CCoolButtonBar.h"
#include "CDlgMergeProgress.h"
#include "CLvCover.h"
#include "COutputSetting.h"
#include "FocusRing.h"
#include "FolderBrowser.h"
#include "PdfMaker.h"
#include "PdfReadBack.h"
#include "controls/CXListCtrl.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include <dlfcn.h>
#include <fcntl.h>
#include <glib-object.h>
#include <unistd.h>
#include <wx/dcmemory.h>
#include <wx/evtloop.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

namespace {

// The real progress dialog; the file manager it would open is only recorded.
class QuietProgress : public CDlgMergeProgress {
public:
  using CDlgMergeProgress::CDlgMergeProgress;
  std::vector<std::wstring> shown;

protected:
  void ShowResult(const std::wstring &path) override { shown.push_back(path); }
};

// Collects every warning and critical that GTK, GDK, GLib, GdkPixbuf or any other library prints
// while it lives: the standard error stream goes to a file meanwhile (some of them print through
// handlers of their own, past GLib's log writer) and is passed on afterwards.
class GtkComplaints {
public:
  GtkComplaints() {
    // Without a session bus (a test's display has none) GSettings' dconf store warns at every
    // change the file dialog saves; a desktop has one.
    setenv("GSETTINGS_BACKEND", "memory", 0);
    std::fflush(stderr);
    m_saved = dup(STDERR_FILENO);
    const int file = open(m_file.file("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(file, STDERR_FILENO);
    close(file);
  }
  ~GtkComplaints() { Restore(); }
  // The lines printed as GLib's warnings and criticals ("Gtk-CRITICAL **: ..."), once the
  // stream is back.
  std::vector<std::string> Lines() {
    Restore();
    std::vector<std::string> lines;
    std::ifstream in(m_file.file("stderr"));
    for (std::string line; std::getline(in, line);) {
      std::fprintf(stderr, "%s\n", line.c_str());
      if (line.find("-WARNING **") != std::string::npos ||
          line.find("-CRITICAL **") != std::string::npos ||
          line.find("WARNING **:") != std::string::npos ||
          line.find("CRITICAL **:") != std::string::npos)
        lines.push_back(line);
    }
    return lines;
  }

private:
  void Restore() {
    if (m_saved < 0)
      return;
    std::fflush(stderr);
    dup2(m_saved, STDERR_FILENO);
    close(m_saved);
    m_saved = -1;
  }
  TempDir m_file;
  int m_saved = -1;
};

// Steps run one after the other from a timer, so that they go on inside the modal dialogs the
// keys open: each waits for its condition, then types.
class KeyScript : public wxTimer {
public:
  struct Step {
    std::string name;
    std::function<bool()> ready;
    std::function<void()> type;
  };
  void Add(const std::string &name, std::function<bool()> ready, std::function<void()> type) {
    m_steps.push_back({name, std::move(ready), std::move(type)});
  }
  bool Done() const { return m_next >= m_steps.size(); }
  std::string Waiting() const { return Done() ? "" : m_steps[m_next].name; }
  void Notify() override {
    if (Done() || !m_steps[m_next].ready())
      return;
    m_steps[m_next++].type();
  }

private:
  std::vector<Step> m_steps;
  size_t m_next = 0;
};

template <typename T> T *Shown() {
  for (wxWindow *window : wxTopLevelWindows)
    if (auto *found = dynamic_cast<T *>(window); found && found->IsShown())
      return found;
  return nullptr;
}

class Keyboard : public MainWindow {
protected:
  void SetUp() override {
    // Each test makes the window itself, once it counts what GTK and GLib print.
  }
};

TEST_F(Keyboard, AWholeMergeByKeyboardAlone) {
  GtkComplaints gtk; // from the first window on: GTK loads its theme's pictures then
  MainWindow::SetUp();
  std::filesystem::create_directories(Home("in"));
  MakeNumberedPdf(Home("in/a.pdf"), 2);
  MakeNumberedPdf(Home("in/b.pdf"), 3);
  dlg->realFolderPicker = true;
  dlg->GetOutputFolderEdit()->ChangeValue(Home("out"));
  // One page per sheet, so that the output's sheets count the pages.
  static_cast<wxRadioButton *>(dlg->FindWindow(COutputSetting::IDC_1IN1))->SetValue(true);
  std::vector<std::wstring> shownFiles;
  dlg->merge = [&](const std::vector<_stru_ItemData_> &rows, const CFSMSettings &settings) {
    QuietProgress progress(dlg, rows, settings);
    progress.ShowModal();
    shownFiles = progress.shown;
  };
  // Away from where other window tests put their frames; the keys go where the pointer is.
  dlg->Move(wxPoint(40, 20));
  dlg->Raise();
  YieldToWindows();
  wxUIActionSimulator keys;
  keys.MouseMove(dlg->GetScreenPosition() + wxPoint(450, 300));
  ASSERT_TRUE(YieldUntil([&] { return wxWindow::FindFocus() == dlg->GetAddFilesBar(); }));

  std::vector<wxWindow *> stops; // every control the Tab key stopped at, in order
  std::set<int> listBarStops;    // the list tool bar's buttons it stopped at
  const auto tab = [&] { keys.Char(WXK_TAB); };
  const auto note = [&] {
    wxWindow *focus = wxWindow::FindFocus();
    if (stops.empty() || stops.back() != focus)
      stops.push_back(focus);
    if (focus == dlg->GetListBar())
      listBarStops.insert(dlg->GetListBar()->GetFocusIndex());
  };
  // Where the keyboard is: the focused window and, on a bar, its focused button.
  using Place = std::pair<wxWindow *, int>;
  const auto place = [] {
    wxWindow *focus = wxWindow::FindFocus();
    auto *bar = dynamic_cast<CCoolBarBase *>(focus);
    return Place(focus, bar ? bar->GetFocusIndex() : -1);
  };
  Place pressedAt(nullptr, -2);
  // Tabs until the focus is on target (at most limit presses; the step then stays waiting).
  // Each Tab waits for the one before it to have moved the keyboard.
  const auto tabTo = [&](KeyScript &script, const std::string &name, wxWindow *target, int limit) {
    for (int i = 0; i < limit; ++i)
      script.Add(
          name, [&, target] { return wxWindow::FindFocus() == target || place() != pressedAt; },
          [&, target] {
            note();
            if (wxWindow::FindFocus() != target) {
              pressedAt = place();
              tab();
            }
          });
    script.Add(
        name, [target] { return wxWindow::FindFocus() == target; }, [&] { note(); });
  };

  KeyScript script;
  const std::string folder = Home("in");
  tabTo(script, "Tab to Add Folder", dlg->GetAddFolderBar(), 3);
  script.Add(
      "Enter on Add Folder", [] { return true; }, [&] { keys.Char(WXK_RETURN); });
  script.Add(
      "the picker, ready for a folder",
      [] {
        FolderBrowser *picker = Shown<FolderBrowser>();
        return picker && wxWindow::FindFocus() == picker->GetPathBox();
      },
      [&] { keys.Text(folder.c_str()); });
  script.Add(
      "the folder typed",
      [&] { return Shown<FolderBrowser>()->GetPathBox()->GetValue() == folder; },
      [&] { keys.Char(WXK_RETURN); });
  script.Add(
      "both files read",
      [&] {
        return !Shown<FolderBrowser>() && dlg->GetListCtrl()->GetItemCount() == 2 &&
               !dlg->IsReadingFiles();
      },
      [] {});
  tabTo(script, "Tab to the list", dlg->GetListCtrl(), 12);
  script.Add(
      "select the first row", [] { return true; }, [&] { keys.Char(WXK_HOME); });
  script.Add(
      "move it down", [&] { return dlg->GetListCtrl()->IsSelected(0); },
      [&] { keys.Char(WXK_DOWN, wxMOD_CONTROL); });
  tabTo(script, "Tab to Build", dlg->GetBuildBar(), 40);
  script.Add(
      "Enter on Build", [] { return true; }, [&] { keys.Char(WXK_RETURN); });
  script.Start(30);
  const bool done =
      YieldUntil([&] { return script.Done() && dlg->upgradeShown == 1; }, std::chrono::seconds(60));
  script.Stop();
  std::string path;
  for (wxWindow *stop : stops)
    path += (stop ? wxString(stop->GetClassInfo()->GetClassName()).ToStdString() + "#" +
                        std::to_string(stop->GetId())
                  : std::string("none")) +
            " ";
  ASSERT_TRUE(done) << "waiting for: " << script.Waiting() << "; Tab stopped at: " << path;

  // The rows were swapped by the keyboard and both merged into one file, shown afterwards.
  EXPECT_EQ("b.pdf", dlg->GetListCtrl()->GetItemText(0, 1));
  ASSERT_EQ(1u, shownFiles.size());
  EXPECT_EQ(5u, ReadBack(WideToUtf8(shownFiles[0])).sheets.size());
  // Tab went through the bars, the list and on to Build.
  const auto stopped = [&](wxWindow *window) {
    return std::find(stops.begin(), stops.end(), window) != stops.end();
  };
  EXPECT_TRUE(stopped(dlg->GetAddFolderBar()));
  EXPECT_TRUE(stopped(dlg->GetListBar()));
  EXPECT_GE(listBarStops.size(), 2u); // each enabled button of the bar, one Tab each
  EXPECT_TRUE(stopped(dlg->GetOutputFolderEdit()));
  EXPECT_LT(std::find(stops.begin(), stops.end(), dlg->GetListCtrl()) - stops.begin(),
            std::find(stops.begin(), stops.end(), dlg->GetBuildBar()) - stops.begin());
  EXPECT_EQ(std::vector<std::string>(), gtk.Lines());
}

// GTK's file chooser window while it is shown (wx does not list it), else null. GTK is loaded
// by wx; its functions needed here are looked up there.
GObject *FileChooserWindow() {
  using ListToplevels = GList *(*)();
  static auto list =
      reinterpret_cast<ListToplevels>(dlsym(RTLD_DEFAULT, "gtk_window_list_toplevels"));
  GObject *found = nullptr;
  GList *windows = list ? list() : nullptr;
  for (GList *it = windows; it; it = it->next) {
    gboolean visible = FALSE;
    g_object_get(it->data, "visible", &visible, nullptr);
    if (visible && std::string(G_OBJECT_TYPE_NAME(it->data)) == "GtkFileChooserDialog")
      found = G_OBJECT(it->data);
  }
  g_list_free(windows);
  return found;
}

// Lets the keyboard follow the pointer, as on a display without a window manager where nothing
// took the focus for itself (the main window's tests take it): the file dialog then gets the
// keys while the pointer is over it.
void KeyboardFollowsPointer() {
  using XDisplay = void *(*)();
  using SetInputFocus = int (*)(void *, unsigned long, int, unsigned long);
  static auto display =
      reinterpret_cast<XDisplay>(dlsym(RTLD_DEFAULT, "gdk_x11_get_default_xdisplay"));
  static auto setFocus = reinterpret_cast<SetInputFocus>(dlsym(RTLD_DEFAULT, "XSetInputFocus"));
  const unsigned long kPointerRoot = 1;
  const int kRevertToPointerRoot = 1;
  if (display && setFocus)
    setFocus(display(), kPointerRoot, kRevertToPointerRoot, 0);
}

// Cancels the chooser as its Cancel button does.
void CancelFileChooser() {
  using Respond = void (*)(void *, int);
  static auto respond = reinterpret_cast<Respond>(dlsym(RTLD_DEFAULT, "gtk_dialog_response"));
  const int kCancel = -6; // GTK_RESPONSE_CANCEL
  if (GObject *window = FileChooserWindow(); window && respond)
    respond(window, kCancel);
}

bool FileChooserHasKeyboard() {
  gboolean focused = FALSE;
  if (GObject *window = FileChooserWindow())
    g_object_get(window, "has-toplevel-focus", &focused, nullptr);
  return focused;
}

// Presses Tab until the keyboard is on target, each press after the one before has moved it;
// false when limit presses do not get there.
bool TabTo(wxUIActionSimulator &keys, wxWindow *target, int limit) {
  const auto place = [] {
    auto *bar = dynamic_cast<CCoolBarBase *>(wxWindow::FindFocus());
    return std::make_pair(wxWindow::FindFocus(), bar ? bar->GetFocusIndex() : -1);
  };
  for (int i = 0; i < limit && wxWindow::FindFocus() != target; ++i) {
    const auto before = place();
    keys.Char(WXK_TAB);
    if (!YieldUntil([&] { return place() != before; }))
      return false;
  }
  return wxWindow::FindFocus() == target;
}

// The Menu key (GTK's WXK_MENU) and Shift+F10 on the list open the selected row's menu.
TEST_F(Keyboard, TheMenuKeyAndShiftF10OpenTheRowsMenu) {
  MainWindow::SetUp();
  for (const char *name : {"a.pdf", "b.pdf"}) {
    MakeNumberedPdf(Home(name), 1);
    AddRead(Wide(Home(name)));
  }
  dlg->Raise();
  dlg->GetListCtrl()->SetFocus();
  ASSERT_TRUE(YieldUntil([&] { return wxWindow::FindFocus() == dlg->GetListCtrl(); }));
  dlg->GetListCtrl()->Select(1, true);
  wxUIActionSimulator keys;
  const std::pair<int, int> presses[] = {{WXK_MENU, wxMOD_NONE}, {WXK_F10, wxMOD_SHIFT}};
  for (const auto &[key, modifiers] : presses) {
    const size_t before = dlg->popups.size();
    keys.Char(key, modifiers);
    ASSERT_TRUE(YieldUntil([&] { return dlg->popups.size() > before; })) << key;
    EXPECT_EQ(before + 1, dlg->popups.size()) << key; // once, not once per path
    EXPECT_EQ(dlg->GetListMenu(), dlg->popups.back());
    EXPECT_EQ(1, dlg->GetClickedRow());
  }
}

// Tab reaches the cover in the list's place; it shows the focus ring round its Add files tile,
// and Enter or Space there adds files.
TEST_F(Keyboard, TheCoverIsReachedByTabAndActsOnEnterAndSpace) {
  MainWindow::SetUp();
  dlg->Raise();
  wxUIActionSimulator keys;
  ASSERT_TRUE(YieldUntil([&] { return wxWindow::FindFocus() == dlg->GetAddFilesBar(); }));
  ASSERT_TRUE(TabTo(keys, dlg->GetCover(), 8));
  wxBitmap drawn(dlg->GetCover()->GetClientSize());
  {
    wxMemoryDC dc(drawn);
    dlg->GetCover()->DrawCover(dc, drawn.GetSize());
  }
  const wxPoint corner = CLvCover::GetFocusRingRect().GetTopLeft() + wxPoint(1, 1);
  wxColour ring;
  wxMemoryDC(drawn).GetPixel(corner, &ring);
  EXPECT_EQ(FocusRingColour().GetRGB(), ring.GetRGB()) << ring.GetAsString();
  for (int key : {WXK_RETURN, WXK_SPACE}) {
    const int before = dlg->filesAsked;
    keys.Char(key);
    EXPECT_TRUE(YieldUntil([&] { return dlg->filesAsked == before + 1; })) << key;
  }
}

// A path typed key by key into the location bar of the desktop's file dialog, then Enter: the
// file is added, and neither GTK nor GLib complains.
TEST_F(Keyboard, APathTypedIntoTheFileDialogAddsTheFileQuietly) {
  GtkComplaints gtk;
  MainWindow::SetUp();
  // A manual the set-up installs: GTK's completion faulted only in folders of the system, not in
  // a fresh temporary one.
  const std::string path = "/usr/share/doc/glpk-doc/glpk.pdf";
  ASSERT_TRUE(std::filesystem::exists(path)) << "scripts/setup.sh installs glpk-doc";
  dlg->realFilePicker = true;
  dlg->Raise();
  wxUIActionSimulator keys;
  ASSERT_TRUE(YieldUntil([&] { return wxWindow::FindFocus() == dlg->GetAddFilesBar(); }));
  KeyScript script;
  script.Add(
      "the file dialog", [] { return FileChooserWindow() != nullptr; },
      [&] {
        KeyboardFollowsPointer();
        keys.MouseMove(wxGetDisplaySize().x / 2, wxGetDisplaySize().y / 2);
      });
  script.Add(
      "the keyboard in the dialog", [] { return FileChooserHasKeyboard(); }, [] {});
  for (char c : path)
    script.Add(
        "typing", [] { return true; }, [&keys, c] { keys.Text(std::string(1, c).c_str()); });
  script.Add(
      "Enter", [] { return true; }, [&] { keys.Char(WXK_RETURN); });
  // A dialog the keys did not close would hold the test in its modal loop: it is cancelled.
  wxTimer guard;
  guard.Bind(wxEVT_TIMER, [](wxTimerEvent &) { CancelFileChooser(); });
  guard.StartOnce(45000);
  script.Start(30);
  // The dialog runs in an event loop of its own, as in the program, not inside a Yield: GTK's
  // idle callbacks, where its completion faults, run then as they do for a user.
  wxGUIEventLoop loop;
  const auto finished = [&] {
    return script.Done() && !dlg->inFilePicker && dlg->GetListCtrl()->GetItemCount() > 0;
  };
  wxTimer end;
  end.Bind(wxEVT_TIMER, [&](wxTimerEvent &) {
    if (finished() && loop.IsRunning())
      loop.ScheduleExit();
  });
  end.Start(50);
  guard.Bind(wxEVT_TIMER, [&](wxTimerEvent &event) {
    event.Skip(); // the chooser is cancelled too
    loop.ScheduleExit();
  });
  keys.Char(WXK_RETURN); // on the Add Files bar
  loop.Run();
  const bool done = finished();
  end.Stop();
  script.Stop();
  guard.Stop();
  ASSERT_TRUE(done) << "waiting for: " << script.Waiting();
  EXPECT_EQ("glpk.pdf", dlg->GetListCtrl()->GetItemText(0, 1));
  EXPECT_EQ(std::vector<std::string>(), gtk.Lines());
}

} // namespace
