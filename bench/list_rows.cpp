// Benchmark of the extended list with many rows: inserting them, painting a page, and scrolling
// through all of them page by page, each step painted at once as a user would see it.
//   list_rows_bench [ROWS]   (default 10000)
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>

#include "controls/CXListCtrl.h"

namespace {
using Clock = std::chrono::steady_clock;
double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}
void Flush() {
  for (int i = 0; i < 3; ++i)
    wxTheApp->Yield(true);
}
} // namespace

int main(int argc, char **argv) {
  int rows = argc > 1 ? std::atoi(argv[1]) : 10000;
  wxApp::SetInstance(new wxApp);
  int wxArgc = 1; // the row count is ours, not wx's
  if (!wxEntryStart(wxArgc, argv)) {
    std::fprintf(stderr, "list_rows_bench: no display\n");
    return 1;
  }
  wxTheApp->CallOnInit();
  auto *frame = new wxFrame(nullptr, wxID_ANY, "list rows", wxPoint(0, 0), wxSize(800, 600));
  auto *list = new CXListCtrl(frame, wxID_ANY, wxPoint(0, 0), frame->GetClientSize());
  list->SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  const int widths[] = {40, 300, 60, 80, 260};
  for (int col = 0; col < 5; ++col)
    list->InsertColumn(col, wxString::Format("Column %d", col), HDF_LEFT, widths[col]);
  wxImageList rowHeight(1, 30, false, 0);
  list->SetImageList(&rowHeight);
  frame->Show();
  Flush();

  auto start = Clock::now();
  for (int row = 0; row < rows; ++row) {
    COLORREF back = row % 3 ? RGBColor(245, 205, 223) : RGBColor(200, 251, 221);
    list->InsertItem(row, wxString::Format("%d", row + 1), 0, back);
    list->SetItemText(row, 1, wxString::Format("document number %d.pdf", row).wc_str(), 0, back);
    list->SetItemToolTipText(row, 1, wxString::Format("/home/user/document number %d.pdf", row));
    list->SetItemText(row, 2, L"125KB", 0, back);
    list->SetItemText(row, 3, L"12", 0, back);
    list->SetItemText(row, 4, L"All(Double click to change the page range)", 0, back);
  }
  double insertMs = MsSince(start);
  start = Clock::now();
  Flush();
  double firstPaintMs = MsSince(start);

  int pages = 0;
  start = Clock::now();
  for (int top = 0; top < rows; top += list->GetCountPerPage(), ++pages) {
    list->ScrollToRow(top);
    list->Update();
  }
  double scrollMs = MsSince(start);

  start = Clock::now();
  const int steps = 500;
  list->SetCurSel(0, true);
  for (int i = 0; i < steps; ++i) {
    wxKeyEvent key(wxEVT_KEY_DOWN);
    key.m_keyCode = WXK_DOWN;
    list->GetEventHandler()->ProcessEvent(key);
    list->Update();
  }
  double keyMs = MsSince(start);

  std::printf("rows: %d, visible per page: %d\n", rows, list->GetCountPerPage());
  std::printf("insert %d rows with 5 cells and a tool tip: %.1f ms (%.2f us per row)\n", rows,
              insertMs, insertMs * 1000 / rows);
  std::printf("first paint after inserting: %.1f ms\n", firstPaintMs);
  std::printf("scroll through all rows page by page: %d pages, %.1f ms (%.2f ms per page)\n", pages,
              scrollMs, scrollMs / pages);
  std::printf("arrow down with repaint: %d steps, %.1f ms (%.2f ms per step)\n", steps, keyMs,
              keyMs / steps);
  frame->Destroy();
  Flush();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return 0;
}
