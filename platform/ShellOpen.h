#pragma once
#include <string>
#include <vector>

// Opening addresses and files with the desktop's handlers, reported with the result codes of
// Windows' ShellExecute: greater than 32 means success, 32 or less is one of the SE_ERR codes
// (2 file not found, 3 path not found, 5 access denied, 27 association incomplete or invalid,
// 31 no application associated). Addresses with a scheme ("http:", "file:", ...) are opened as
// they are; anything else is a local path.

// Shell code returned on success.
constexpr int kShellOpenSuccess = 42;

// Opens address with the desktop's default handler for its type or scheme.
int ShellOpenAddress(const std::wstring &address);

// The command line of the desktop's default application for HTML pages (its desktop entry's
// Exec line, placeholders included); false when there is none.
bool GetDefaultHtmlCommand(std::wstring *commandLine);

// Starts a command line, split into words as a shell would but never run by a shell, with
// extraArgument added as one more word (so an address with spaces or quotes stays one argument
// and cannot inject anything). Returns a shell code: 2 when the program does not exist, 5 when
// it may not be run, 0 for an empty or unparsable command line.
int StartCommandLine(const std::wstring &commandLine, const std::wstring &extraArgument);
