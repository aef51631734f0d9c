#pragma once
#include "DownloadFile.h"

#include <functional>
#include <string>

class wxWindow;

// The silent update check of the program's start. The main window calls
// StartStartupUpdateCheck(this) once while it initialises. When the machine looks online
// (a local test, no network request), the window becomes the result window and a worker checks
// for a newer version; only a newer version is shown, as the question "New Version Detected"
// whose Yes opens the download page. The window stops being the result window when it is
// destroyed.
struct StartupUpdatePrompt {
  // Asks whether to upgrade now (Yes/No box); true for Yes. Empty: the standard box.
  std::function<bool(wxWindow *parent)> ask;
  // Opens the download page. Empty: the desktop's default handler.
  std::function<void(const std::wstring &url)> open;
};

// True when the worker was started (false when offline or without a window).
bool StartStartupUpdateCheck(wxWindow *mainWindow, const StartupUpdatePrompt &prompt = {},
                             const DownloadLimits &limits = {});

// The standard question: string 150 in a Yes/No box captioned by string 151, question icon.
bool AskForUpgrade(wxWindow *parent);
