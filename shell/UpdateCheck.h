#pragma once
#include "DownloadFile.h"
#include "ProgramVersion.h"

#include <string>

#include <wx/event.h>

// The update check: downloads the vendor's update file into "version.ini" of the program's
// application data folder and compares its version number with the program's. A worker thread
// does the work and reports exactly one result, as an event queued to the window registered at
// that moment (or to nobody when none is):
// - WM_UPDATE_NEW_VERSION: GetInt() the remote version number, GetExtraLong() the remote build;
// - WM_UPDATE_UP_TO_DATE: the same fields;
// - WM_UPDATE_FAILED: GetString() the error text.
wxDECLARE_EVENT(WM_UPDATE_NEW_VERSION, wxThreadEvent);
wxDECLARE_EVENT(WM_UPDATE_UP_TO_DATE, wxThreadEvent);
wxDECLARE_EVENT(WM_UPDATE_FAILED, wxThreadEvent);

enum class UpdateOutcome { NewVersion, UpToDate, Failed };

struct UpdateResult {
  UpdateOutcome outcome = UpdateOutcome::Failed;
  int version = 0;
  int build = 0;
  std::wstring error;
};

// "<roaming application data>/Orvanel/ZOZ Avar Izaded/version.ini".
std::wstring GetUpdateFilePath();

// The one result window of the process. Registering replaces the previous one; a window must
// unregister itself before it is destroyed. Unregistering a window that is not the registered
// one changes nothing.
void RegisterUpdateResultWindow(wxEvtHandler *window);
void UnregisterUpdateResultWindow(wxEvtHandler *window);
wxEvtHandler *GetUpdateResultWindow();

// The check itself, on the calling thread: download, then read section "Gerneral", keys
// "version" and "build" (0 when missing). statusFormat is string 149 for a status other than 200.
UpdateResult RunUpdateCheck(int programVersionNumber, const std::wstring &statusFormat,
                            const DownloadLimits &limits = {});

// Queues result to the registered window; dropped when none is registered.
void PostUpdateResult(const UpdateResult &result);

// Starts a worker that runs the check for version and posts its result. Nothing waits for it
// while the program runs: it works on its own copies, so the caller may go away at once. String
// 149 is taken here, on the calling thread, because the language may change under a worker.
void StartUpdateCheck(const ProgramVersion &version, const DownloadLimits &limits = {});

// Stops the running workers: their transfers are cancelled, nothing more is posted, and they
// are waited for up to 3 seconds; true when none is left. Runs by itself when the process exits;
// no check can be started afterwards.
bool ShutdownUpdateChecks();

// How many workers are still running.
int CountRunningUpdateChecks();
