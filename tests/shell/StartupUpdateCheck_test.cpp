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
  // Waits for the worker to end: the local copy appears, then its result is handled.
  void WaitForWorker() {
    const std::string copy = appData.file("Orvanel/ZOZ Avar Izaded/version.ini");
    EXPECT_TRUE(YieldUntil([&] { return FileExists(copy); }));
    wxMilliSleep(300);
    YieldToWindows();
  }

  StartupUpdatePrompt prompt;
  std::vector<wxWindow *> asked;
  std::vector<std::wstring> opened;
  bool answer = true;
};

} // namespace

TEST_F(StartupUpdateCheckTest, NewerVersionAsksAndYesOpensTheDownloadPage) {
  server.Respond(200, "[Gerneral]\nversion=191\n");
  ASSERT_TRUE(StartStartupUpdateCheck(m_frame, prompt));
  EXPECT_EQ(m_frame, GetUpdateResultWindow());
  WaitForWorker();
  ASSERT_EQ(1u, asked.size());
  EXPECT_EQ(m_frame, asked[0]);
  ASSERT_EQ(1u, opened.size());
  EXPECT_EQ(Utf8ToWide(server.host()) + L"/download.html", opened[0]);
}

TEST_F(StartupUpdateCheckTest, NoOpensNothing) {
  answer = false;
  server.Respond(200, "[Gerneral]\nversion=191\n");
  ASSERT_TRUE(StartStartupUpdateCheck(m_frame, prompt));
  WaitForWorker();
  EXPECT_EQ(1u, asked.size());
  EXPECT_TRUE(opened.empty());
}

TEST_F(StartupUpdateCheckTest, UpToDateAndFailuresShowNothing) {
  server.Respond(200, "[Gerneral]\nversion=190\n");
  ASSERT_TRUE(StartStartupUpdateCheck(m_frame, prompt));
  WaitForWorker();
  server.Respond(404, "");
  ASSERT_TRUE(StartStartupUpdateCheck(m_frame, prompt));
  wxSleep(1);
  YieldToWindows();
  EXPECT_TRUE(asked.empty());
}

TEST_F(StartupUpdateCheckTest, DestroyedMainWindowStopsBeingTheResultWindow) {
  server.Respond(200, "[Gerneral]\nversion=190\n");
  auto *window = new wxFrame(nullptr, wxID_ANY, "main");
  ASSERT_TRUE(StartStartupUpdateCheck(window, prompt));
  EXPECT_EQ(window, GetUpdateResultWindow());
  delete window;
  EXPECT_EQ(nullptr, GetUpdateResultWindow());
  wxMilliSleep(500);
  YieldToWindows();
}
