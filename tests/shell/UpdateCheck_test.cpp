#include "AnsiText.h"
#include "LocalHttpServer.h"
#include "UpdateCheck.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <wx/app.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

const std::wstring kStatusFormat = L"Download remote file %s failed, error code: HTTP %d!";

// A vendor site on 127.0.0.1 and an application data folder of the test's own.
class UpdateCheckTest : public ::testing::Test {
protected:
  LocalHttpServer server;
  TempDir appData;
  ScopedEnv site{"VANTOREL_SITE", server.host()};
  ScopedEnv folder{"VANTOREL_APPDATA_DIR", appData.path()};

  // A late result of one test must not reach the next test's window.
  void TearDown() override { EXPECT_TRUE(WaitForWorkers()); }

  // Waits until every worker has ended; a worker posts its result before it ends, so what it
  // posted is queued by then.
  static bool WaitForWorkers() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (CountRunningUpdateChecks() > 0 && std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return CountRunningUpdateChecks() == 0;
  }

  std::string LocalCopy() const { return appData.file("Orvanel/ZOZ Avar Izaded/version.ini"); }
};

// Records the update events queued to it.
struct ResultWindow : wxEvtHandler {
  struct Seen {
    wxEventType type;
    int version;
    long build;
    std::wstring text;
  };
  std::vector<Seen> seen;
  ResultWindow() {
    auto record = [this](wxThreadEvent &e) {
      seen.push_back(
          {e.GetEventType(), e.GetInt(), e.GetExtraLong(), e.GetString().ToStdWstring()});
    };
    Bind(WM_UPDATE_NEW_VERSION, record);
    Bind(WM_UPDATE_UP_TO_DATE, record);
    Bind(WM_UPDATE_FAILED, record);
  }
  // Processes queued events until one came or the time is up.
  bool WaitForResult(std::chrono::seconds limit = std::chrono::seconds(20)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (seen.empty() && std::chrono::steady_clock::now() < end) {
      wxTheApp->ProcessPendingEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return !seen.empty();
  }
};

} // namespace

TEST_F(UpdateCheckTest, VersionComparisonTable) {
  const struct {
    const char *body;
    UpdateOutcome outcome;
    int version, build;
  } cases[] = {
      {"[Gerneral]\nversion=191\nbuild=77\n", UpdateOutcome::NewVersion, 191, 77},
      {"[Gerneral]\nversion=190\nbuild=12\n", UpdateOutcome::UpToDate, 190, 12},
      {"[Gerneral]\nversion=189\n", UpdateOutcome::UpToDate, 189, 0},
      {"[gerneral]\r\nVERSION = 205\r\nbuild=1234\r\n", UpdateOutcome::NewVersion, 205, 1234},
      // Without the keys (or with the section spelt right) the version reads 0: up to date.
      {"[General]\nversion=999\n", UpdateOutcome::UpToDate, 0, 0},
      {"not an ini file at all", UpdateOutcome::UpToDate, 0, 0},
      {"", UpdateOutcome::UpToDate, 0, 0},
  };
  for (const auto &c : cases) {
    server.Respond(200, c.body);
    const UpdateResult result = RunUpdateCheck(190, kStatusFormat);
    EXPECT_EQ(c.outcome, result.outcome) << c.body;
    EXPECT_EQ(c.version, result.version) << c.body;
    EXPECT_EQ(c.build, result.build) << c.body;
    EXPECT_EQ(c.body, ReadFileBytes(LocalCopy()));
  }
}

TEST_F(UpdateCheckTest, NotFoundNamesTheFullUrlAndStillWritesTheBody) {
  server.Respond(404, "missing");
  const UpdateResult result = RunUpdateCheck(190, kStatusFormat);
  EXPECT_EQ(UpdateOutcome::Failed, result.outcome);
  EXPECT_EQ(L"Download remote file " + Utf8ToWide(server.host()) +
                L"/vantorel_free.ini failed, error code: HTTP 404!",
            result.error);
  EXPECT_EQ("missing", ReadFileBytes(LocalCopy()));
}

TEST_F(UpdateCheckTest, WorkerPostsExactlyOneResultToTheRegisteredWindow) {
  server.Respond(200, "[Gerneral]\nversion=205\nbuild=1234\n");
  ResultWindow window;
  RegisterUpdateResultWindow(&window);
  StartUpdateCheck(ProgramVersion{1, 9, 0});
  ASSERT_TRUE(window.WaitForResult());
  ASSERT_TRUE(WaitForWorkers());
  wxTheApp->ProcessPendingEvents();
  UnregisterUpdateResultWindow(&window);
  ASSERT_EQ(1u, window.seen.size());
  EXPECT_EQ(WM_UPDATE_NEW_VERSION, window.seen[0].type);
  EXPECT_EQ(205, window.seen[0].version);
  EXPECT_EQ(1234, window.seen[0].build);
}

TEST_F(UpdateCheckTest, FailureCarriesItsText) {
  server.Respond(500, "oops");
  ResultWindow window;
  RegisterUpdateResultWindow(&window);
  StartUpdateCheck(ProgramVersion{1, 9, 0});
  ASSERT_TRUE(window.WaitForResult());
  UnregisterUpdateResultWindow(&window);
  EXPECT_EQ(WM_UPDATE_FAILED, window.seen[0].type);
  EXPECT_NE(std::wstring::npos, window.seen[0].text.find(L"HTTP 500!"));
}

TEST_F(UpdateCheckTest, StalledServerEndsTheWorkerWithAFailure) {
  server.SetMode(LocalHttpServer::Mode::Stall);
  ResultWindow window;
  RegisterUpdateResultWindow(&window);
  DownloadLimits limits;
  limits.transferTimeoutSeconds = 1;
  StartUpdateCheck(ProgramVersion{1, 9, 0}, limits);
  ASSERT_TRUE(window.WaitForResult());
  UnregisterUpdateResultWindow(&window);
  EXPECT_EQ(WM_UPDATE_FAILED, window.seen[0].type);
}

TEST_F(UpdateCheckTest, ResultIsDroppedWhenNoWindowIsRegistered) {
  server.Respond(200, "[Gerneral]\nversion=300\n");
  ResultWindow window;
  RegisterUpdateResultWindow(&window);
  UnregisterUpdateResultWindow(&window);
  StartUpdateCheck(ProgramVersion{1, 9, 0});
  // The download happens (the local copy appears), and nothing arrives.
  ASSERT_TRUE(WaitForWorkers());
  EXPECT_TRUE(FileExists(LocalCopy()));
  wxTheApp->ProcessPendingEvents();
  EXPECT_TRUE(window.seen.empty());
}

TEST(UpdateRegistration, OnlyTheRegisteredWindowCanUnregisterItself) {
  wxEvtHandler first, second;
  RegisterUpdateResultWindow(&first);
  RegisterUpdateResultWindow(&second);
  UnregisterUpdateResultWindow(&first);
  EXPECT_EQ(&second, GetUpdateResultWindow());
  UnregisterUpdateResultWindow(&second);
  EXPECT_EQ(nullptr, GetUpdateResultWindow());
}

TEST_F(UpdateCheckTest, ProgramExitWhileAWorkerWaitsForASilentServerEndsCleanly) {
  server.SetMode(LocalHttpServer::Mode::Stall);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EXIT(
      {
        ResultWindow window;
        RegisterUpdateResultWindow(&window);
        StartUpdateCheck(ProgramVersion{1, 9, 0}); // the standard 60 s transfer time-out
        // Exits once the worker's request has reached the server, which never answers it.
        while (server.requestCount() == 0)
          std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  // The exit cancelled the transfer instead of waiting for its time-out.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}
