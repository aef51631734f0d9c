#include "AnsiText.h"
#include "CHyperLink.h"
#include "CNewVersionDlg.h"
#include "ServicesWindowFixture.h"
#include "UpdateCheck.h"

namespace {

const wxString kChecking = "\n\nChecking new version of ZOZ Avar Izaded online, please waiting...";

class CNewVersionDlgTest : public UpdateWindowTest {
protected:
  // Opens the dialog (not modally) and waits until the check has shown its outcome.
  CNewVersionDlg *OpenAndWait(const DownloadLimits &limits = {}) {
    auto *dialog = new CNewVersionDlg(m_frame, limits);
    dialog->Show();
    EXPECT_TRUE(YieldUntil([dialog] { return dialog->GetStatusText() != kChecking; }));
    return dialog;
  }
};

} // namespace

TEST_F(CNewVersionDlgTest, OpensCheckingWithItsLinkAndCaption) {
  server.SetMode(LocalHttpServer::Mode::Stall);
  DownloadLimits limits;
  limits.transferTimeoutSeconds = 1;
  auto *dialog = new CNewVersionDlg(m_frame, limits);
  EXPECT_EQ(kChecking, dialog->GetStatusText());
  EXPECT_EQ("Check new version online...", dialog->GetTitle());
  EXPECT_EQ(dialog, GetUpdateResultWindow());
  CHyperLink *link = dialog->GetLink();
  const wxString home = server.host() + "/free-pdf-merger.html";
  EXPECT_EQ(home, link->GetLabel());
  EXPECT_EQ(home, wxString(link->GetLinkTarget()));
  EXPECT_EQ(wxColour(100, 0, 0), link->GetDrawColour());
  EXPECT_TRUE(link->IsShown());
  EXPECT_TRUE(dialog->FindWindow(CNewVersionDlg::IDC_WEBSITE_LABEL)->IsShown());
  delete dialog;
  EXPECT_EQ(nullptr, GetUpdateResultWindow());
}

TEST_F(CNewVersionDlgTest, NewerVersionShowsVersionAndBuild) {
  server.Respond(200, "[Gerneral]\nversion=205\nbuild=1234\n");
  CNewVersionDlg *dialog = OpenAndWait();
  EXPECT_EQ("A new version is available.\nVersion:2.05\nBuild:1234\nPlease download it by "
            "clicking the following link and upgrade.",
            dialog->GetStatusText());
  delete dialog;
}

TEST_F(CNewVersionDlgTest, NextVersionIsShownAsTwoDigits) {
  server.Respond(200, "[Gerneral]\nversion=191\nbuild=5\n");
  CNewVersionDlg *dialog = OpenAndWait();
  EXPECT_NE(wxString::npos, dialog->GetStatusText().find("Version:1.91\nBuild:5\n"));
  delete dialog;
}

TEST_F(CNewVersionDlgTest, SameVersionIsUpToDate) {
  server.Respond(200, "[Gerneral]\nversion=190\nbuild=5\n");
  CNewVersionDlg *dialog = OpenAndWait();
  EXPECT_EQ("\n\nCongratulations! You are currently running the latest version.",
            dialog->GetStatusText());
  delete dialog;
}

TEST_F(CNewVersionDlgTest, NotFoundShowsTheFullUrl) {
  server.Respond(404, "gone");
  CNewVersionDlg *dialog = OpenAndWait();
  EXPECT_EQ("Download remote file " + server.host() +
                "/vantorel_free.ini failed, error code: HTTP 404!",
            dialog->GetStatusText());
  EXPECT_EQ("gone", ReadFileBytes(appData.file("Orvanel/ZOZ Avar Izaded/version.ini")));
  delete dialog;
}

TEST_F(CNewVersionDlgTest, CloseButtonUnregistersAndALateResultReachesNobody) {
  server.SetMode(LocalHttpServer::Mode::Stall);
  DownloadLimits limits;
  limits.transferTimeoutSeconds = 1;
  auto *dialog = new CNewVersionDlg(m_frame, limits);
  dialog->Show();
  wxCommandEvent click(wxEVT_BUTTON, CNewVersionDlg::IDC_CLOSE);
  click.SetEventObject(dialog->FindWindow(CNewVersionDlg::IDC_CLOSE));
  dialog->GetEventHandler()->ProcessEvent(click);
  EXPECT_FALSE(dialog->IsShown());
  EXPECT_EQ(nullptr, GetUpdateResultWindow());
  // The worker ends after its time-out, its failure posted before it ends; it must not land in
  // the closed dialog.
  ASSERT_TRUE(YieldUntil([] { return CountRunningUpdateChecks() == 0; }));
  YieldToWindows();
  EXPECT_EQ(kChecking, dialog->GetStatusText());
  delete dialog;
}
