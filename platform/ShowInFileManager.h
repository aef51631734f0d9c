#pragma once
#include <string>

// Shows a file or folder selected in the desktop's file manager, as Windows' "explorer /select"
// does. Asks the file manager through the org.freedesktop.FileManager1 interface on the
// session bus first; when there is no bus or nobody answers, opens the folder that holds the
// path with the desktop's default handler instead. Nothing is reported to the user.

// True when the file manager was asked or the folder was opened.
bool ShowInFileManager(const std::wstring &path);
