// The result-window registration is one pointer under a mutex. A worker holds the mutex while it
// queues its event, and windows unregister under the same mutex before they are destroyed, so an
// event is never queued to a window that is already gone; events still pending when a window is
// destroyed are discarded by wx with the window.
#include "UpdateCheck.h"

#include "Localization.h"
#include "PrivateProfile.h"
#include "AnsiText.h"
#include "SystemFolders.h"
#include "VendorSite.h"

#include <mutex>
#include <thread>

wxDEFINE_EVENT(WM_UPDATE_NEW_VERSION, wxThreadEvent);
wxDEFINE_EVENT(WM_UPDATE_UP_TO_DATE, wxThreadEvent);
wxDEFINE_EVENT(WM_UPDATE_FAILED, wxThreadEvent);

namespace {

std::mutex g_resultWindowLock;
wxEvtHandler *g_resultWindow = nullptr;

const int kStatusFormatId = 149;

} // namespace

std::wstring GetUpdateFilePath() {
  return GetRoamingAppDataFolder() + L"/Orvanel/ZOZ Avar Izaded/version.ini";
}

void RegisterUpdateResultWindow(wxEvtHandler *window) {
  std::lock_guard<std::mutex> lock(g_resultWindowLock);
  g_resultWindow = window;
}

void UnregisterUpdateResultWindow(wxEvtHandler *window) {
  std::lock_guard<std::mutex> lock(g_resultWindowLock);
  if (g_resultWindow == window)
    g_resultWindow = nullptr;
}

wxEvtHandler *GetUpdateResultWindow() {
  std::lock_guard<std::mutex> lock(g_resultWindowLock);
  return g_resultWindow;
}

UpdateResult RunUpdateCheck(int programVersionNumber, const std::wstring &statusFormat,
                            const DownloadLimits &limits) {
  UpdateResult result;
  const std::wstring path = GetUpdateFilePath();
  if (!DownloadFile(GetUpdateFileUrl(), path, &result.error, statusFormat, limits)) {
    result.outcome = UpdateOutcome::Failed;
    return result;
  }
  const std::string file = WideToUtf8(path);
  result.version = GetPrivateProfileInt(L"Gerneral", L"version", 0, file);
  result.build = GetPrivateProfileInt(L"Gerneral", L"build", 0, file);
  result.outcome = result.version > programVersionNumber ? UpdateOutcome::NewVersion
                                                         : UpdateOutcome::UpToDate;
  return result;
}

void PostUpdateResult(const UpdateResult &result) {
  wxEventType type = WM_UPDATE_FAILED;
  if (result.outcome == UpdateOutcome::NewVersion)
    type = WM_UPDATE_NEW_VERSION;
  else if (result.outcome == UpdateOutcome::UpToDate)
    type = WM_UPDATE_UP_TO_DATE;
  auto *event = new wxThreadEvent(type);
  if (result.outcome == UpdateOutcome::Failed) {
    event->SetString(result.error);
  } else {
    event->SetInt(result.version);
    event->SetExtraLong(result.build);
  }
  std::lock_guard<std::mutex> lock(g_resultWindowLock);
  if (g_resultWindow)
    wxQueueEvent(g_resultWindow, event);
  else
    delete event;
}

void StartUpdateCheck(const ProgramVersion &version, const DownloadLimits &limits) {
  const int number = VersionNumber(version);
  const std::wstring statusFormat = LoadLangString(kStatusFormatId);
  std::thread([number, statusFormat, limits] {
    PostUpdateResult(RunUpdateCheck(number, statusFormat, limits));
  }).detach();
}
