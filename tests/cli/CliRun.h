#pragma once
// Running vantorel-merge as a child process and reading what it says, for the hostile-input
// tests: "vantorel-merge: PATH: REASON" lines on standard error, "PATH: N pages" from --info.

#include "support/ChildProcess.h"

#include <string>
#include <vector>

// Runs the program with these arguments; a run still going after timeoutSeconds is killed.
ChildResult RunMerge(const std::vector<std::string> &args, double timeoutSeconds = 240);

// The first line of text that starts with prefix, or "" when there is none.
std::string LineStarting(const std::string &text, const std::string &prefix);

// True when the text contains the phrase and no other of the reasons the program gives ("needs a
// password", "not a PDF", ...): a reason that lists every possible cause names none.
bool IsReason(const std::string &text, const std::string &phrase);

// True when standard error has a line "vantorel-merge: PATH: ..." whose rest IsReason(phrase).
bool Says(const ChildResult &run, const std::string &path, const std::string &phrase);

// True when standard error has a line "vantorel-merge: PATH: warning: ...".
bool Warns(const ChildResult &run, const std::string &path);
// True when standard error has a line "vantorel-merge: PATH: ...".
bool Names(const ChildResult &run, const std::string &path);

// What --info printed for path: the page count, or -1 for an "error:" line or none.
int InfoPages(const ChildResult &run, const std::string &path);
// The reason of an "PATH: error: REASON" line of --info, or "" when there is none.
std::string InfoError(const ChildResult &run, const std::string &path);
