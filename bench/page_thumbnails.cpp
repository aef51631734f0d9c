// Benchmark of the Choose Pages window on long documents (bench/page_thumbnails.sh runs it under
// a virtual display): the time until the first screen of thumbnails is drawn, the longest gap
// between two timer ticks of the window's event loop while the grid is scrolled from the first
// page to the last, and the process's peak memory after both documents were scrolled through.
//   page_thumbnails_bench SHORT.pdf LONG.pdf
#include "CDlgChoosePages.h"
#include "CThumbnailGrid.h"
#include "PageRenderer.h"
#include "ThumbnailQueue.h"

#include <chrono>
#include <cstdio>
#include <string>

#include <sys/resource.h>
#include <wx/app.h>
#include <wx/timer.h>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

int PagesOf(const std::string &path) {
  PageRenderer renderer;
  return renderer.Open(std::wstring(path.begin(), path.end()), "") ? renderer.PageCount() : 0;
}

bool ScreenReady(CDlgChoosePages *dialog) {
  int first = 0, last = -1;
  if (!dialog->GetQueue() || !dialog->GetGrid()->GetVisibleRange(&first, &last))
    return false;
  for (int page = first; page <= last; ++page)
    if (!dialog->GetQueue()->Cache().Contains(page))
      return false;
  return true;
}

class BenchApp : public wxApp {
public:
  bool OnInit() override {
    if (argc < 3) {
      std::fprintf(stderr, "usage: page_thumbnails_bench SHORT.pdf LONG.pdf\n");
      return false;
    }
    m_files = {argv[1].ToStdString(), argv[2].ToStdString()};
    Bind(wxEVT_TIMER, &BenchApp::OnTick, this);
    m_timer.SetOwner(this);
    OpenNext();
    m_timer.Start(5);
    return true;
  }

private:
  void OpenNext() {
    const std::string &path = m_files[m_nFile];
    m_nPages = PagesOf(path);
    m_start = Clock::now();
    m_dialog = new CDlgChoosePages(nullptr, std::wstring(path.begin(), path.end()), "", m_nPages,
                                   std::wstring());
    m_dialog->Show();
    m_bReady = false;
    m_lastTick = Clock::now();
  }

  void OnTick(wxTimerEvent &) {
    const Clock::time_point now = Clock::now();
    if (m_bReady) // the gaps while scrolling; the first screen is measured on its own
      m_maxGap = std::max(m_maxGap, Ms(now - m_lastTick));
    m_lastTick = now;
    CThumbnailGrid *grid = m_dialog->GetGrid();
    if (!m_bReady) {
      if (!ScreenReady(m_dialog))
        return;
      m_bReady = true;
      std::printf("%s: %d pages, first screen of thumbnails in %.0f ms\n",
                  m_files[m_nFile].c_str(), m_nPages, Ms(now - m_start));
      return;
    }
    // Scrolls a screen's height every tick (a fast drag of the scroll bar), to the end.
    int x = 0, y = 0;
    grid->GetViewStart(&x, &y);
    const int step = grid->GetClientSize().y / 20;
    grid->Scroll(0, y + step);
    grid->Update();
    int first = 0, last = -1;
    grid->GetVisibleRange(&first, &last);
    if (last < m_nPages - 1)
      return;
    if (!ScreenReady(m_dialog))
      return; // the last screen drawn
    std::printf("  scrolled to page %d; cache %.1f MB in %zu thumbnails\n", m_nPages,
                m_dialog->GetQueue()->Cache().Bytes() / 1048576.0,
                m_dialog->GetQueue()->Cache().Count());
    m_dialog->Destroy();
    if (++m_nFile < m_files.size()) {
      OpenNext();
      return;
    }
    m_timer.Stop();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("longest gap between event loop ticks while scrolling: %.0f ms\n", m_maxGap);
    std::printf("peak memory: %.0f MB\n", usage.ru_maxrss / 1024.0);
    ExitMainLoop();
  }

  std::vector<std::string> m_files;
  size_t m_nFile = 0;
  int m_nPages = 0;
  CDlgChoosePages *m_dialog = nullptr;
  wxTimer m_timer;
  Clock::time_point m_start, m_lastTick;
  bool m_bReady = false;
  double m_maxGap = 0;
};

} // namespace

wxIMPLEMENT_APP(BenchApp);
