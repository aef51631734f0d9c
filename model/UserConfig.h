#pragma once
#include <memory>
#include <string>

class wxConfigBase;

// The per-user store that stands for the Windows registry's HKEY_CURRENT_USER: a wxConfigBase
// read afresh for every load or save. On this system it is a file under the XDG configuration
// folder; VANTOREL_CONFIG_FILE, when set, names another file (tests use this).

// Path of the file that holds the per-user store.
std::wstring UserConfigPath();

// The store, read from its file now; an unreadable or corrupt file gives what could be read
// (possibly nothing), without any message.
std::shared_ptr<wxConfigBase> OpenUserConfig();

// Writes the store's changes completely (temporary file, then rename) or not at all.
bool FlushUserConfig(wxConfigBase &config);
