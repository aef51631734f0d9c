#include "StartupUpdateCheck.h"

#include "LangMessageBox.h"
#include "Localization.h"
#include "NetworkState.h"
#include "ProgramVersion.h"
#include "ShellOpen.h"
#include "UpdateCheck.h"
#include "VendorSite.h"

#include <wx/msgdlg.h>
#include <wx/window.h>

namespace {

const int kQuestionText = 150;
const int kQuestionCaption = 151;

} // namespace

bool AskForUpgrade(wxWindow *parent) {
  return ShowMessageBox(parent, LoadLangString(kQuestionText), LoadLangString(kQuestionCaption),
                        wxYES_NO | wxICON_QUESTION) == wxYES;
}

bool StartStartupUpdateCheck(wxWindow *mainWindow, const StartupUpdatePrompt &prompt,
                             const DownloadLimits &limits) {
  if (!mainWindow)
    return false;
  ProgramVersion version;
  ReadProgramVersion(&version.major, &version.minor, &version.patch);
  if (!InternetGetConnectedState())
    return false;

  StartupUpdatePrompt actions = prompt;
  if (!actions.ask)
    actions.ask = AskForUpgrade;
  if (!actions.open)
    actions.open = [](const std::wstring &url) { ShellOpenAddress(url); };
  // Only a newer version is shown; the other results reach the window and are dropped.
  mainWindow->Bind(WM_UPDATE_NEW_VERSION, [mainWindow, actions](wxThreadEvent &) {
    if (actions.ask(mainWindow))
      actions.open(GetDownloadPageUrl());
  });
  mainWindow->Bind(wxEVT_DESTROY, [mainWindow](wxWindowDestroyEvent &event) {
    event.Skip();
    if (event.GetEventObject() == mainWindow)
      UnregisterUpdateResultWindow(mainWindow);
  });
  RegisterUpdateResultWindow(mainWindow);
  StartUpdateCheck(version, limits);
  return true;
}
