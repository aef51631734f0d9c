#include "AnsiText.h"
#include "NetworkState.h"
#include "ServicesWindowFixture.h"
#include "StartupUpdateCheck.h"
#include "UpdateCheck.h"

namespace {

class StartupUpdateCheckTest : public UpdateWindowTest {
protected:
  void SetUp() override {
    UpdateWindowTest::SetUp();
    if (!InternetGetConnectedState())
      GTEST_SKIP() << "this machine has no network interface up";
    prompt.ask = [this](wxWindow *parent) {
      asked.push_back(parent);
      return answer;
    };
    prompt.open = [this](const std::wstring &url) { opened.push_back(url); };
  }
  void TearDown() override {
    UnregisterUpdateResultWindow(m_frame);
    UpdateWindowTest::TearDown();
  }
  // Starts the check on the test's frame. The results that reach the frame are recorded; the
  // recorder is bound after the check's own handler, so it sees each result first and passes it
  // on, and both have run once the event is handled.
  bool Start() {
    const bool started = StartStartupUpdateCheck(m_frame, prompt);
    if (!m_recording) {
      for (const auto &type : {WM_UPDATE_NEW_VERSION, WM_UPDATE_UP_TO_DATE, WM_UPDATE_FAILED})
        m_frame->Bind(type, [this](wxThreadEvent &event) {
          results.push_back(event.GetEventType());
          event.Skip();
        });
      m_recording = true;
    }
    return started;
  }
  // Waits until the window has handled count results.
  void WaitForResults(size_t count) {
    EXPECT_TRUE(YieldUntil([&] { return results.size() >= count; }));
  }

  StartupUpdatePrompt prompt;
  std::vector<wxEventType> results;
  bool m_recording = false;
  std::vector<wxWindow *> asked;
  std::vector<std::wstring> opened;
  bool answer = true;
};

} // namespace

TEST_F(StartupUpdateCheckTest, NewerVersionAsksAndYesOpensTheDownloadPage) {
  server.Respond(200, "[Gerneral]\nversion=191\n");
  ASSERT_TRUE(Start());
  EXPECT_EQ(m_frame, GetUpdateResultWindow());
  WaitForResults(1);
  ASSERT_EQ(1u, asked.size());
  EXPECT_EQ(m_frame, asked[0]);
  ASSERT_EQ(1u, opened.size());
  EXPECT_EQ(Utf8ToWide(server.host()) + L"/download.html", opened[0]);
}

TEST_F(StartupUpdateCheckTest, NoOpensNothing) {
  answer = false;
  server.Respond(200, "[Gerneral]\nversion=191\n");
  ASSERT_TRUE(Start());
  WaitForResults(1);
  EXPECT_EQ(1u, asked.size());
  EXPECT_TRUE(opened.empty());
}

TEST_F(StartupUpdateCheckTest, UpToDateAndFailuresShowNothing) {
  server.Respond(200, "[Gerneral]\nversion=190\n");
  ASSERT_TRUE(Start());
  WaitForResults(1);
  server.Respond(404, "");
  ASSERT_TRUE(Start());
  WaitForResults(2);
  EXPECT_EQ(results, (std::vector<wxEventType>{WM_UPDATE_UP_TO_DATE, WM_UPDATE_FAILED}));
  EXPECT_TRUE(asked.empty());
  EXPECT_TRUE(opened.empty());
}

TEST_F(StartupUpdateCheckTest, DestroyedMainWindowStopsBeingTheResultWindow) {
  // A newer version: had its result reached the destroyed window, the question would be asked.
  server.Respond(200, "[Gerneral]\nversion=191\n");
  auto *window = new wxFrame(nullptr, wxID_ANY, "main");
  ASSERT_TRUE(StartStartupUpdateCheck(window, prompt));
  EXPECT_EQ(window, GetUpdateResultWindow());
  delete window;
  EXPECT_EQ(nullptr, GetUpdateResultWindow());
  // The worker posts its result before it ends: once it has ended, the result went nowhere.
  ASSERT_TRUE(YieldUntil([] { return CountRunningUpdateChecks() == 0; }));
  YieldToWindows();
  EXPECT_TRUE(FileExists(appData.file("Orvanel/ZOZ Avar Izaded/version.ini")));
  EXPECT_TRUE(asked.empty());
  EXPECT_TRUE(opened.empty());
}
