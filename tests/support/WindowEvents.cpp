#include "support/WindowEvents.h"

#include <thread>

#include <wx/app.h>

void YieldToWindows() {
  wxTheApp->ProcessPendingEvents();
  // A round may queue more (a size event paints, a deletion notifies): a few rounds settle it.
  for (int i = 0; i < 5; ++i)
    wxTheApp->Yield(true);
}

bool YieldUntil(const std::function<bool()> &done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end)
      return done();
    YieldToWindows();
    // Nothing to wake on across threads and the display here: look again shortly.
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}
