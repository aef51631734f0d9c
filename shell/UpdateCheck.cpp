// The result-window registration is one pointer under a mutex. A worker holds the mutex while it
// queues its event, and windows unregister under the same mutex before they are destroyed, so an
// event is never queued to a window that is already gone; events still pending when a window is
// destroyed are discarded by wx with the window.
//
// Workers are not waited for while the program runs, but they must not outlive it: when the
// process exits, the libraries they use are torn down under them. So running workers are
// counted, and at exit (or at ShutdownUpdateChecks) their transfers are cancelled and they are
// given a short time to end, without posting anything.
#include "UpdateCheck.h"

#include "AnsiText.h"
#include "Localization.h"
#include "PrivateProfile.h"
#include "SystemFolders.h"
#include "VendorSite.h"

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

wxDEFINE_EVENT(WM_UPDATE_NEW_VERSION, wxThreadEvent);
wxDEFINE_EVENT(WM_UPDATE_UP_TO_DATE, wxThreadEvent);
wxDEFINE_EVENT(WM_UPDATE_FAILED, wxThreadEvent);

namespace {

std::mutex g_resultWindowLock;
wxEvtHandler *g_resultWindow = nullptr;

const int kStatusFormatId = 149;

std::mutex g_workersLock;
std::condition_variable g_workersDone;
int g_workers = 0;
std::atomic<bool> g_cancel{false};

// How long the exit waits for workers; their transfers stop within about a second.
const auto kExitWait = std::chrono::seconds(3);

void WaitForWorkersAtExit() { ShutdownUpdateChecks(); }

// Registers the exit wait once, after the HTTP library set itself up, so that the wait runs
// before the library's own exit handlers.
void PrepareWorkers() {
  static std::once_flag once;
  std::call_once(once, [] {
    InitDownloadLibrary();
    std::atexit(WaitForWorkersAtExit);
  });
}

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
  result.outcome =
      result.version > programVersionNumber ? UpdateOutcome::NewVersion : UpdateOutcome::UpToDate;
  return result;
}

void PostUpdateResult(const UpdateResult &result) {
  wxEventType type = WM_UPDATE_FAILED;
  if (result.outcome == UpdateOutcome::NewVersion)
    type = WM_UPDATE_NEW_VERSION;
  else if (result.outcome == UpdateOutcome::UpToDate)
    type = WM_UPDATE_UP_TO_DATE;
  std::lock_guard<std::mutex> lock(g_resultWindowLock);
  // Nobody to tell (or the program is ending): no event is made at all.
  if (!g_resultWindow || g_cancel)
    return;
  auto *event = new wxThreadEvent(type);
  if (result.outcome == UpdateOutcome::Failed) {
    event->SetString(result.error);
  } else {
    event->SetInt(result.version);
    event->SetExtraLong(result.build);
  }
  wxQueueEvent(g_resultWindow, event);
}

void StartUpdateCheck(const ProgramVersion &version, const DownloadLimits &limits) {
  PrepareWorkers();
  const int number = VersionNumber(version);
  const std::wstring statusFormat = LoadLangString(kStatusFormatId);
  DownloadLimits workerLimits = limits;
  if (!workerLimits.cancel)
    workerLimits.cancel = &g_cancel;
  {
    std::lock_guard<std::mutex> lock(g_workersLock);
    ++g_workers;
  }
  std::thread([number, statusFormat, workerLimits] {
    PostUpdateResult(RunUpdateCheck(number, statusFormat, workerLimits));
    std::lock_guard<std::mutex> lock(g_workersLock);
    --g_workers;
    g_workersDone.notify_all();
  }).detach();
}

bool ShutdownUpdateChecks() {
  g_cancel = true;
  std::unique_lock<std::mutex> lock(g_workersLock);
  return g_workersDone.wait_for(lock, kExitWait, [] { return g_workers == 0; });
}

int CountRunningUpdateChecks() {
  std::lock_guard<std::mutex> lock(g_workersLock);
  return g_workers;
}
