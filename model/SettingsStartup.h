#pragma once
#include <string>

class CFSMSettings;

// The key under the current user's root that holds the program's settings.
extern const wchar_t kSettingsKeyPath[];

// The main window's start-up preparation: loads the stored settings (a missing or unreadable
// store is not reported), fills in the folders that are still empty (documents folder, and
// "Orvanel/ZOZ Avar Izaded/output/" and ".../tmp/" in it), creates the output and temporary
// folders and puts the output options at their start values.
void PrepareSettings(CFSMSettings &settings);

// Saves the settings to the current user's store; false when that failed, which the main
// window reports as "Save project settings error!".
bool SaveSettings(CFSMSettings &settings);
