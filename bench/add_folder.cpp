// Benchmark of the window while a folder of PDFs is added: how long the window goes without
// handling a paint or an input event. A second X connection moves the pointer over the window
// every few milliseconds, as a restless user would; every motion and paint the window handles is
// timed, from the Add Folder command until the last row has its page count. Prints the figures;
// not a test.
//   add_folder_bench FOLDER
#include "CFileList.h"
#include "CVantorelDlg.h"

#include <X11/Xlib.h>
#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/timer.h>

namespace {

using Clock = std::chrono::steady_clock;

// The window with Add Folder's picker answered by the benchmark.
class BenchDlg : public CVantorelDlg {
public:
  explicit BenchDlg(std::wstring folder) : CVantorelDlg(nullptr, false), m_folder(folder) {}

protected:
  bool AskFolder(const std::wstring &, std::wstring *folder) override {
    *folder = m_folder;
    return true;
  }
  void ShowMessage(const wxString &text) override {
    std::fprintf(stderr, "%s\n", text.utf8_str().data());
  }

private:
  std::wstring m_folder;
};

// Notes the time of every paint and pointer motion handled while it is on.
class EventClock : public wxEventFilter {
public:
  int FilterEvent(wxEvent &event) override {
    const wxEventType type = event.GetEventType();
    if (on && (type == wxEVT_PAINT || type == wxEVT_MOTION)) {
      times.push_back(Clock::now());
      (type == wxEVT_PAINT ? paints : motions)++;
    }
    return Event_Skip;
  }
  bool on = false;
  std::vector<Clock::time_point> times;
  int paints = 0, motions = 0;
};

// Moves the display's pointer back and forth over an area, from a connection of its own.
class RestlessPointer {
public:
  RestlessPointer(const wxRect &area) : m_area(area) {
    void *xtst = dlopen("libXtst.so.6", RTLD_NOW);
    m_move = xtst ? reinterpret_cast<Move>(dlsym(xtst, "XTestFakeMotionEvent")) : nullptr;
    m_display = XOpenDisplay(nullptr);
    if (m_move && m_display)
      m_thread = std::thread([this] { Run(); });
  }
  ~RestlessPointer() {
    m_stop = true;
    if (m_thread.joinable())
      m_thread.join();
    if (m_display)
      XCloseDisplay(m_display);
  }
  bool Works() const { return m_thread.joinable(); }

private:
  using Move = int (*)(Display *, int, int, int, unsigned long);
  void Run() {
    for (int step = 0; !m_stop; ++step) {
      const int x = m_area.x + 20 + (step * 7) % std::max(1, m_area.width - 40);
      m_move(m_display, -1, x, m_area.y + m_area.height / 2 + (step % 2), 0);
      XFlush(m_display);
      std::this_thread::sleep_for(std::chrono::milliseconds(4));
    }
  }
  wxRect m_area;
  Move m_move = nullptr;
  Display *m_display = nullptr;
  std::thread m_thread;
  std::atomic<bool> m_stop{false};
};

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Runs the window's events until done() holds (checked every few milliseconds).
void RunUntil(const std::function<bool()> &done) {
  wxGUIEventLoop loop;
  wxTimer check;
  check.Bind(wxEVT_TIMER, [&](wxTimerEvent &) {
    if (done())
      loop.Exit();
  });
  check.Start(5);
  loop.Run();
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: add_folder_bench FOLDER\n");
    return 2;
  }
  // The benchmark's own settings, never the user's.
  const std::string home = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                           "/add_folder_bench." + std::to_string(getpid());
  setenv("VANTOREL_CONFIG_FILE", (home + "/config.ini").c_str(), 1);
  setenv("VANTOREL_DOCUMENTS_DIR", (home + "/docs").c_str(), 1);
  setenv("VANTOREL_APPDATA_DIR", (home + "/appdata").c_str(), 1);
  const wxString folder = wxString::FromUTF8(argv[1]);
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "add_folder_bench needs a display (run it under xvfb-run)\n");
    return 1;
  }
  auto *dlg = new BenchDlg(folder.ToStdWstring());
  dlg->Move(0, 0);
  dlg->Show();
  RunUntil([&] { return dlg->IsShownOnScreen(); });
  RunUntil([] { return true; });

  EventClock clock;
  wxEvtHandler::AddFilter(&clock);
  RestlessPointer pointer(dlg->GetScreenRect());
  if (!pointer.Works())
    std::fprintf(stderr, "no XTest: only paints are timed\n");
  std::this_thread::sleep_for(std::chrono::milliseconds(50));

  clock.on = true;
  const Clock::time_point start = Clock::now();
  Clock::duration adding{};
  dlg->CallAfter([dlg, &adding] {
    const Clock::time_point t = Clock::now();
    dlg->OnAddFolder();
    adding = Clock::now() - t;
  });
  Clock::time_point listed{};
  RunUntil([&] {
    if (listed == Clock::time_point() && dlg->GetFileList()->GetCount() > 0)
      listed = Clock::now();
    return listed != Clock::time_point() && !dlg->IsReadingFiles();
  });
  const Clock::time_point end = Clock::now();
  clock.on = false;
  wxEvtHandler::RemoveFilter(&clock);

  std::vector<Clock::time_point> marks = {start};
  marks.insert(marks.end(), clock.times.begin(), clock.times.end());
  marks.push_back(end);
  double longest = 0;
  for (size_t i = 1; i < marks.size(); ++i)
    longest = std::max(longest, Ms(marks[i] - marks[i - 1]));
  long pages = 0;
  for (int row = 0; row < dlg->GetFileList()->GetCount(); ++row)
    pages += std::max(0, dlg->GetFileList()->GetItemData(row)->nTotalPage);

  std::printf("files added                 %d (%ld pages)\n", dlg->GetFileList()->GetCount(),
              pages);
  std::printf("Add Folder command took     %.1f ms (scan and rows)\n", Ms(adding));
  std::printf("rows listed after           %.1f ms\n", Ms(listed - start));
  std::printf("all read after              %.1f ms\n", Ms(end - start));
  std::printf("events handled meanwhile    %d motions, %d paints\n", clock.motions, clock.paints);
  std::printf("longest gap between events  %.1f ms\n", longest);

  dlg->ShutDown();
  dlg->Destroy();
  RunUntil([] { return true; });
  wxEntryCleanup();
  std::string cleanup = "rm -rf '" + home + "'";
  return std::system(cleanup.c_str()) == 0 ? 0 : 0;
}
