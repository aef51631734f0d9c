// A whole merge driven by the keyboard alone, through the display as a user types: Tab to Add
// Folder, Enter, a folder typed in the picker, Tab to the list, a row moved with Ctrl+Down, Tab to
// Build, Enter; the real progress dialog merges. GTK says nothing on the way.
#include "MainWindowFixture.h"

#include "AnsiText.h"
#include "CCoolButtonBar.h"
#include "CDlgMergeProgress.h"
#include "COutputSetting.h"
#include "FolderBrowser.h"
#include "PdfMaker.h"
#include "PdfReadBack.h"
#include "controls/CXListCtrl.h"

#include <filesystem>
#include <functional>
#include <set>

#include <glib.h>
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

// Collects the warnings and criticals GTK, GDK and GObject log while it lives (they log through
// GLib's structured writer, which a process sets once: it stays, and passes everything on).
class GtkComplaints {
public:
  GtkComplaints() {
    static bool installed = false;
    if (!installed) {
      g_log_set_writer_func(&Write, nullptr, nullptr);
      installed = true;
    }
    s_active = this;
  }
  ~GtkComplaints() { s_active = nullptr; }
  std::vector<std::string> lines;

private:
  static GLogWriterOutput Write(GLogLevelFlags level, const GLogField *fields, gsize count,
                                gpointer data) {
    if (s_active && (level & (G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL))) {
      std::string domain, message;
      for (gsize i = 0; i < count; ++i) {
        const std::string key = fields[i].key;
        const char *value = static_cast<const char *>(fields[i].value);
        if (key == "GLIB_DOMAIN" && value)
          domain = value;
        else if (key == "MESSAGE" && value)
          message = value;
      }
      if (domain == "Gtk" || domain == "Gdk" || domain == "GLib-GObject")
        s_active->lines.push_back(domain + ": " + message);
    }
    return g_log_writer_default(level, fields, count, data);
  }
  static inline GtkComplaints *s_active = nullptr;
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
    // The window is made again below, with GTK's complaints counted from its start.
  }
};

TEST_F(Keyboard, AWholeMergeByKeyboardAlone) {
  MainWindow::SetUp();
  Close();
  std::filesystem::create_directories(Home("in"));
  MakeNumberedPdf(Home("in/a.pdf"), 2);
  MakeNumberedPdf(Home("in/b.pdf"), 3);
  GtkComplaints gtk;
  Open();
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
  EXPECT_EQ(std::vector<std::string>(), gtk.lines);
}

} // namespace
