#pragma once
#include "LocalHttpServer.h"
#include "UpdateCheck.h"
#include "support/FrameTest.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

#include <chrono>
#include <functional>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>

// A shown frame per test as the parent of the service windows.
class ServicesWindowTest : public FrameTest {
protected:
  ServicesWindowTest() : FrameTest(wxSize(800, 600)) {}
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
