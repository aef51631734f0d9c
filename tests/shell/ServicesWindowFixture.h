#pragma once
#include "LocalHttpServer.h"
#include "ScopedEnv.h"
#include "UpdateCheck.h"
#include "support/TempDir.h"

#include <chrono>
#include <functional>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>

// A shown frame per test as the parent of the service windows.
class ServicesWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_frame = new wxFrame(nullptr, wxID_ANY, "test", wxPoint(0, 0), wxSize(800, 600));
    m_frame->Show();
  }
  void TearDown() override {
    m_frame->Destroy();
    Yield();
  }
  // Lets queued events (worker results, paints, deletions) run.
  static void Yield() {
    wxTheApp->ProcessPendingEvents();
    for (int i = 0; i < 3; ++i)
      wxTheApp->Yield(true);
  }
  // Runs events until done() holds or the time is up; done() at the end.
  static bool YieldUntil(const std::function<bool()> &done,
                         std::chrono::seconds limit = std::chrono::seconds(20)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < end) {
      Yield();
      wxMilliSleep(10);
    }
    return done();
  }
  static void SendMouse(wxWindow *window, wxEventType type, const wxPoint &point) {
    wxMouseEvent event(type);
    event.SetPosition(point);
    event.SetEventObject(window);
    window->GetEventHandler()->ProcessEvent(event);
  }

  wxFrame *m_frame = nullptr;
};

// A vendor site on 127.0.0.1 and an application data folder of the test's own. Workers are
// waited for at the end: the result window is process-wide, so a late result of one test would
// reach the next test's window.
class UpdateWindowTest : public ServicesWindowTest {
protected:
  void TearDown() override {
    EXPECT_TRUE(YieldUntil([] { return CountRunningUpdateChecks() == 0; }));
    ServicesWindowTest::TearDown();
  }

  LocalHttpServer server;
  TempDir appData;
  ScopedEnv site{"VANTOREL_SITE", server.host()};
  ScopedEnv folder{"VANTOREL_APPDATA_DIR", appData.path()};
};
