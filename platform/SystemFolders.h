#pragma once
#include <string>

// Folders the program works with. Paths are wide strings with '/' as separator; they become
// UTF-8 at the file system.

// Folder of the running executable, without a trailing separator; "." when it is unknown.
std::wstring GetProgramFolder();

// Creates a folder and any missing parents. One trailing separator is ignored; failures are
// ignored too (the caller finds out when it uses the folder).
void CreateFolderPath(const std::wstring &path);

// The user's documents folder: the XDG documents folder of user-dirs.dirs when it exists, else
// the home folder. The variable
// VANTOREL_DOCUMENTS_DIR, when set, names it instead (tests use this).
std::wstring GetDocumentsFolder();

// The user's per-user application data folder ($XDG_CONFIG_HOME or ~/.config), where the
// program keeps "Orvanel/ZOZ Avar Izaded/version.ini". VANTOREL_APPDATA_DIR overrides it.
std::wstring GetRoamingAppDataFolder();

// True when something (file or folder) exists at path.
bool PathExists(const std::wstring &path);
