#pragma once
#include <string>

// Opening a link's address with the desktop's handlers, and the texts for the shell's failure
// codes. No windows here: the hyperlink control shows the message.

// Show command of a normal window (SW_SHOWNORMAL). Desktops here choose how the handler's window
// appears, so the value is accepted and not otherwise used.
constexpr int kShowNormal = 1;

// Opens address with its default handler; when that fails, with the default HTML browser's
// command line (its placeholder cut off, the address added). Returns the shell code: greater
// than 32 for success, otherwise the failure code of the direct attempt or of the browser start.
int OpenLinkTarget(const std::wstring &address, int showCommand = kShowNormal);

// A browser command line cut at its first placeholder: a quoted one ("%1", "%u" or "%U" in
// double quotes) is looked for first, then a bare one; the whole line when there is none.
std::wstring CutCommandPlaceholder(const std::wstring &commandLine);

// The message for a shell failure code, "Unknown Error (%d) occurred." for codes without one.
std::wstring LinkErrorMessage(int code);

// The whole text of the error box: "Unable to open hyperlink:\n\n" and the message.
std::wstring LinkErrorText(int code);
