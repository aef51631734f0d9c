// Benchmark of the skinned bars and the cover: how long one paint takes, which is what every
// hover change and every press costs. Prints the figures; not a test.
//   bar_paint [PAINTS]
#include "CCoolToolBar.h"
#include "CLvCover.h"
#include "CoolBarTables.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/init.h>

namespace {

double MillisecondsPer(int count, const std::function<void()> &work) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i)
    work();
  const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / count;
}

} // namespace

int main(int argc, char **argv) {
  const int paints = argc > 1 ? std::atoi(argv[1]) : 500;
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "bar_paint needs a display (run it under xvfb-run)\n");
    return 1;
  }
  auto *frame = new wxFrame(nullptr, wxID_ANY, "bench", wxPoint(0, 0), wxSize(1000, 600));
  auto *list = new CCoolToolBar(frame, wxID_ANY, wxPoint(0, 0), wxSize(600, 19));
  list->SetButtonsWithPictures(kListToolBarCount, ListToolBarTable(true));
  list->SetFontSize(kListToolBarFontSize);
  auto *build = new CCoolToolBar(frame, wxID_ANY, wxPoint(0, 40), wxSize(200, 66));
  build->SetButtonsWithPictures(1, kBuildBar);
  build->SetFontSize(kBuildBarFontSize);
  frame->Show();
  auto *cover = new CLvCover;
  cover->Create(frame, 165, wxPoint(0, 120));

  auto paint = [](wxWindow *window, const std::function<void(wxDC &)> &draw) {
    return [window, draw] {
      wxBitmap bitmap(window->GetClientSize());
      wxMemoryDC dc(bitmap);
      draw(dc);
    };
  };
  std::printf("paints: %d\n", paints);
  std::printf("list tool bar (7 buttons) paint: %.3f ms\n",
              MillisecondsPer(paints, paint(list, [list](wxDC &dc) { list->DrawBar(dc); })));
  std::printf("list tool bar GetBarWidth: %.3f ms\n",
              MillisecondsPer(paints, [list] { list->GetBarWidth(); }));
  std::printf("build bar paint: %.3f ms\n",
              MillisecondsPer(paints, paint(build, [build](wxDC &dc) { build->DrawBar(dc); })));
  std::printf("cover paint (877 x 280): %.3f ms\n",
              MillisecondsPer(paints / 5 + 1, paint(cover, [cover](wxDC &dc) {
                                cover->DrawCover(dc, cover->GetClientSize());
                              })));
  frame->Destroy();
  wxEntryCleanup();
  return 0;
}
