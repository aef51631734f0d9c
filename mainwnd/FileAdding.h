#pragma once
#include <functional>
#include <string>
#include <vector>

// The rules of the three ways of adding files that need no window: the drop acceptance test,
// the folder scan and the Add Files dialog's remembered folder.

// True when path ends, in any case, with one of the seven supported extensions. A dropped
// folder is judged by its name alone, like a file.
bool EndsWithSupportedExtension(const std::wstring &path);

// True when a drop of paths would add anything: the copy cursor, otherwise the no-drop one.
bool IsDropAcceptable(const std::vector<std::wstring> &paths);

// Walks folder depth first, in the order the file system lists the entries, and calls addFile
// with the full path of every file whose extension (the text after the last ".") is exactly
// "pdf" or "PDF". Subfolders are entered before the listing goes on; links to folders are not
// followed, so a link back up the tree cannot make the scan endless. An unreadable folder adds
// nothing.
void ScanFolder(const std::wstring &folder,
                const std::function<void(const std::wstring &)> &addFile);

// The Add Files dialog's filter text, as the program defines it.
extern const wchar_t kAddFilesFilter[];

// The filter for the desktop's file dialog: the same choices, with the padding before the
// descriptions and the blanks between the patterns removed (the desktop's dialog takes every
// character of a pattern literally).
std::wstring DesktopFileFilter(const std::wstring &filter);
