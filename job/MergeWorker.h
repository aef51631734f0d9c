#pragma once
#include <string>

#include "CFSMSettings.h"
#include "ItemData.h"

struct MergeJob;
struct MergeRequest;

// The merge worker's body, run on the job's thread (tests may run it on their own). Each run
// ends by posting the job's finished notice, which carries the job's notes.

// A single-file run when settings.bMergeOn is 1, a per-row run otherwise; the thread result.
int RunMergeWorker(MergeJob &job);

// All usable rows into one file. Result 0 when it was written, -1 without rows, -2 on failure
// or cancel; the finished notice says 1 or 0 accordingly.
int RunSingleFile(MergeJob &job);

// One file per usable row, until done or cancelled. The finished notice says 1 even when rows
// failed or the user cancelled (the files that were made are shown); failed rows are listed
// in its notes. Result 0.
int RunPerRow(MergeJob &job);

// A password as the engine takes it from the program (UTF-8; the engine encodes it for the
// encryption). False for text that is no password: a NUL or a code point that is no character.
bool ToEnginePassword(const std::wstring &text, std::string *out);

// The engine's request for a run of the job's settings, without its sources and output: paper,
// pages per sheet and orientation (Auto in a per-row run), the passwords switched on and the
// permissions they guard.
MergeRequest MakeJobRequest(const CFSMSettings &settings, bool perRow);

// Appends a row as a source: its path and password in UTF-8, its pages as a list, and the file
// as it was read for the row. False, with the reason for the user, when its page range text does
// not read for its page count.
bool AppendRowSource(MergeRequest &request, const _stru_ItemData_ &row, std::wstring *why);
