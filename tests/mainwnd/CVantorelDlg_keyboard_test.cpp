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
      if (line.find("WARNING **") != std::string::npos ||
          line.find("CRITICAL **") != std::string::npos)
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

// Where the keyboard is: the focused window and, on a bar, its focused button.
std::pair<wxWindow *, int> KeyboardPlace() {
  auto *bar = dynamic_cast<CCoolBarBase *>(wxWindow::FindFocus());
  return std::make_pair(wxWindow::FindFocus(), bar ? bar->GetFocusIndex() : -1);
}

// Presses Tab until the keyboard is on target, each press after the one before has moved it;
// false when limit presses do not get there. seen, when given, is told of every place on the way.
bool TabTo(
    wxUIActionSimulator &keys, wxWindow *target, int limit,
    const std::function<void()> &seen = [] {}) {
  for (int i = 0; i < limit && wxWindow::FindFocus() != target; ++i) {
    seen();
    const auto before = KeyboardPlace();
    keys.Char(WXK_TAB);
    if (!YieldUntil([&] { return KeyboardPlace() != before; }))
      return false;
  }
  seen();
  return wxWindow::FindFocus() == target;
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
  const auto note = [&] {
    wxWindow *focus = wxWindow::FindFocus();
    if (stops.empty() || stops.back() != focus)
      stops.push_back(focus);
    if (focus == dlg->GetListBar())
      listBarStops.insert(dlg->GetListBar()->GetFocusIndex());
  };
  const auto stopsText = [&] {
    std::string text = "Tab stopped at:";
    for (wxWindow *stop : stops)
      text += stop ? " " + wxString(stop->GetClassInfo()->GetClassName()).ToStdString() + "#" +
                         std::to_string(stop->GetId())
                   : " none";
    return text;
  };
  ASSERT_TRUE(TabTo(keys, dlg->GetAddFolderBar(), 3, note)) << stopsText();
  // Enter opens the picker, whose modal loop a timer types into.
  const std::string folder = Home("in");
  KeyScript picker;
  picker.Add(
      "the picker, ready for a folder",
      [] {
        FolderBrowser *shown = Shown<FolderBrowser>();
        return shown && wxWindow::FindFocus() == shown->GetPathBox();
      },
      [&] { keys.Text(folder.c_str()); });
  picker.Add(
      "the folder typed",
      [&] { return Shown<FolderBrowser>()->GetPathBox()->GetValue() == folder; },
      [&] { keys.Char(WXK_RETURN); });
  picker.Start(30);
  keys.Char(WXK_RETURN);
  const bool read = YieldUntil(
      [&] {
        return picker.Done() && !Shown<FolderBrowser>() &&
               dlg->GetListCtrl()->GetItemCount() == 2 && !dlg->IsReadingFiles();
      },
      std::chrono::seconds(60));
  picker.Stop();
  ASSERT_TRUE(read) << "waiting for: " << picker.Waiting();
  ASSERT_TRUE(TabTo(keys, dlg->GetListCtrl(), 12, note)) << stopsText();
  keys.Char(WXK_HOME); // selects the first row
  ASSERT_TRUE(YieldUntil([&] { return dlg->GetListCtrl()->IsSelected(0); }));
  keys.Char(WXK_DOWN, wxMOD_CONTROL); // moves it down
  ASSERT_TRUE(TabTo(keys, dlg->GetBuildBar(), 40, note)) << stopsText();
  keys.Char(WXK_RETURN);
  ASSERT_TRUE(YieldUntil([&] { return dlg->upgradeShown == 1; }, std::chrono::seconds(60)));

  // The rows were swapped by the keyboard and both merged into one file, shown afterwards.
  EXPECT_EQ("b.pdf", dlg->GetListCtrl()->GetItemText(0, 1));
  ASSERT_EQ(1u, shownFiles.size());
  EXPECT_EQ(5u, ReadBack(WideToUtf8(shownFiles[0])).sheets.size());
  // Tab went through the bars, the list and on to Build.
  const auto at = [&](wxWindow *window) { return std::find(stops.begin(), stops.end(), window); };
  EXPECT_NE(at(dlg->GetAddFolderBar()), stops.end());
  EXPECT_NE(at(dlg->GetListBar()), stops.end());
  EXPECT_GE(listBarStops.size(), 2u); // each enabled button of the bar, one Tab each
  EXPECT_NE(at(dlg->GetOutputFolderEdit()), stops.end());
  EXPECT_LT(at(dlg->GetListCtrl()), at(dlg->GetBuildBar()));
  EXPECT_EQ(std::vector<std::string>(), gtk.Lines());
}

// GTK's own windows, which wx does not list. GTK is loaded by wx; the few functions needed here
// are looked up there.
template <typename F> F GtkFunction(const char *name) {
  return reinterpret_cast<F>(dlsym(RTLD_DEFAULT, name));
}

bool IsA(gpointer object, const char *typeName) {
  const GType type = g_type_from_name(typeName);
  return object && type && G_TYPE_CHECK_INSTANCE_TYPE(object, type);
}

// The visible GTK dialogs (the file chooser and any message box over it), newest first.
std::vector<GObject *> DesktopDialogs() {
  static auto list = GtkFunction<GList *(*)()>("gtk_window_list_toplevels");
  std::vector<GObject *> found;
  GList *windows = list ? list() : nullptr;
  for (GList *it = windows; it; it = it->next) {
    gboolean visible = FALSE;
    g_object_get(it->data, "visible", &visible, nullptr);
    if (visible && IsA(it->data, "GtkDialog"))
      found.insert(found.begin(), G_OBJECT(it->data));
  }
  g_list_free(windows);
  return found;
}

GObject *FileChooserWindow() {
  for (GObject *dialog : DesktopDialogs())
    if (IsA(dialog, "GtkFileChooserDialog"))
      return dialog;
  return nullptr;
}

// Answers every desktop dialog as its close box does, message boxes first: a dialog the keys did
// not close would hold the test in its modal loop for ever.
void CloseDesktopDialogs() {
  static auto respond = GtkFunction<void (*)(gpointer, int)>("gtk_dialog_response");
  const int kDeleteEvent = -4; // GTK_RESPONSE_DELETE_EVENT
  std::vector<GObject *> dialogs = DesktopDialogs();
  std::stable_partition(dialogs.begin(), dialogs.end(),
                        [](GObject *dialog) { return !IsA(dialog, "GtkFileChooserDialog"); });
  for (GObject *dialog : dialogs)
    if (respond)
      respond(dialog, kDeleteEvent);
}

// Gives the file chooser the keyboard as a window manager would, and keeps the pointer off it:
// on a display without one nothing does (the main window's tests took the focus for
// themselves), and with the keyboard following the pointer, keys would go to whatever list pops
// up under it.
void GiveFileChooserTheKeyboard(wxUIActionSimulator &mouse) {
  static auto getWindow = GtkFunction<gpointer (*)(gpointer)>("gtk_widget_get_window");
  static auto xid = GtkFunction<unsigned long (*)(gpointer)>("gdk_x11_window_get_xid");
  static auto display = GtkFunction<void *(*)()>("gdk_x11_get_default_xdisplay");
  static auto setFocus =
      GtkFunction<int (*)(void *, unsigned long, int, unsigned long)>("XSetInputFocus");
  const int kRevertToParent = 2;
  const unsigned long kCurrentTime = 0;
  GObject *chooser = FileChooserWindow();
  gpointer window = chooser && getWindow ? getWindow(chooser) : nullptr;
  if (!window || !xid || !display || !setFocus)
    return;
  mouse.MouseMove(wxGetDisplaySize().x - 1, wxGetDisplaySize().y - 1);
  setFocus(display(), xid(window), kRevertToParent, kCurrentTime);
}

// The chooser's location bar while it has the keyboard, else null.
gpointer LocationBar() {
  static auto focusOf = GtkFunction<gpointer (*)(gpointer)>("gtk_window_get_focus");
  GObject *chooser = FileChooserWindow();
  gpointer entry = chooser && focusOf ? focusOf(chooser) : nullptr;
  return IsA(entry, "GtkFileChooserEntry") ? entry : nullptr;
}

// Counts the key presses that reach widget, before anything acts on them (a list of
// completions popped up under the location bar hands its keys on to the bar).
void CountKeyPresses(gpointer widget, int *count) {
  using Handler = gboolean (*)(gpointer, gpointer, gpointer);
  const Handler counter = [](gpointer, gpointer event, gpointer data) -> gboolean {
    static auto typeOf = GtkFunction<int (*)(gpointer)>("gdk_event_get_event_type");
    const int kKeyPress = 8; // GDK_KEY_PRESS
    if (typeOf && typeOf(event) == kKeyPress)
      ++*static_cast<int *>(data);
    return FALSE;
  };
  if (widget)
    g_signal_connect(widget, "event", G_CALLBACK(counter), count);
}

bool FileChooserHasKeyboard() {
  gboolean focused = FALSE;
  if (GObject *window = FileChooserWindow())
    g_object_get(window, "has-toplevel-focus", &focused, nullptr);
  return focused;
}

// What the user has typed into the chooser's location bar: its text up to the cursor, without
// what the bar offers to complete it with (selected after the cursor). Empty without the bar.
std::string LocationTyped() {
  gpointer entry = LocationBar();
  if (!entry)
    return std::string();
  gchar *text = nullptr;
  int cursor = 0, bound = 0;
  g_object_get(entry, "text", &text, "cursor-position", &cursor, "selection-bound", &bound,
               nullptr);
  std::string typed = text ? text : "";
  g_free(text);
  // A path of ASCII: characters are bytes.
  return typed.substr(0, std::min<size_t>(typed.size(), std::min(cursor, bound)));
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
// file is added, and neither GTK nor GLib complains. Each key waits for the one before it to
// show in the bar.
TEST_F(Keyboard, APathTypedIntoTheFileDialogAddsTheFileQuietly) {
  GtkComplaints gtk;
  MainWindow::SetUp();
  // A manual the set-up installs, through folders of the system that are large enough for the
  // list of completions to pop up under the bar while the path is typed.
  const std::string path = "/usr/share/doc/glpk-doc/glpk.pdf";
  ASSERT_TRUE(std::filesystem::exists(path)) << "scripts/setup.sh installs glpk-doc";
  dlg->realFilePicker = true;
  dlg->Raise();
  wxUIActionSimulator keys;
  ASSERT_TRUE(YieldUntil([&] { return wxWindow::FindFocus() == dlg->GetAddFilesBar(); }));
  // Key presses that reached the location bar, counted from the first Enter on; at the last Enter.
  int keysSeen = 0, enterAt = -1;
  KeyScript script;
  script.Add(
      "the file dialog", [] { return FileChooserWindow() != nullptr; },
      [&] { GiveFileChooserTheKeyboard(keys); });
  script.Add(
      "the keyboard in the dialog", [] { return FileChooserHasKeyboard(); }, [] {});
  for (size_t i = 0; i < path.size(); ++i)
    script.Add(
        "typing after \"" + path.substr(0, i) + "\"",
        [&path, i] { return i == 0 || LocationTyped() == path.substr(0, i); },
        [&keys, c = path[i]] { keys.Text(std::string(1, c).c_str()); });
  // Enter while the list of completions under the bar is up only closes the list, as for a
  // user, who then presses it again. Each press waits for the one before to have arrived.
  for (int i = 0; i < 3; ++i)
    script.Add(
        "Enter accepted",
        [&] {
          return !FileChooserWindow() ||
                 (LocationTyped() == path && (enterAt < 0 || keysSeen > enterAt));
        },
        [&] {
          if (FileChooserWindow()) {
            if (enterAt < 0)
              CountKeyPresses(LocationBar(), &keysSeen);
            enterAt = keysSeen;
            keys.Char(WXK_RETURN);
          }
        });
  // The dialog runs in an event loop of its own, as in the program, not inside a Yield: GTK's
  // idle callbacks, where its completion works, run then as they do for a user.
  wxGUIEventLoop loop;
  std::string stuck; // what the script waited for when the guard came
  const auto finished = [&] {
    return script.Done() && !dlg->inFilePicker && dlg->GetListCtrl()->GetItemCount() > 0;
  };
  wxTimer end;
  end.Bind(wxEVT_TIMER, [&](wxTimerEvent &) {
    // After the guard, once the dialog has gone.
    if ((finished() || (!stuck.empty() && !dlg->inFilePicker)) && loop.IsRunning())
      loop.ScheduleExit();
  });
  end.Start(50);
  // Whatever the keys did, the dialogs are closed in the end and the test goes on.
  wxTimer guard;
  guard.Bind(wxEVT_TIMER, [&](wxTimerEvent &) {
    if (stuck.empty())
      stuck = script.Waiting() + "; the bar holds \"" + LocationTyped() + "\"";
    script.Stop();
    CloseDesktopDialogs();
  });
  guard.Start(30000);
  script.Start(20);
  keys.Char(WXK_RETURN); // on the Add Files bar
  loop.Run();
  end.Stop();
  script.Stop();
  guard.Stop();
  ASSERT_TRUE(stuck.empty()) << "waiting for: " << stuck;
  EXPECT_EQ("glpk.pdf", dlg->GetListCtrl()->GetItemText(0, 1));
  EXPECT_EQ(std::vector<std::string>(), gtk.Lines());
}

} // namespace
