#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct MergeJob;

// Output paths of a merge job. Existing files and folders are never overwritten: a numbered
// variant of the name is taken instead. A path that would not fit a row's pszOutPath buffer is
// refused, never cut: the functions then return an empty path and add a line for the user to
// the job's notes.

// A row's pszOutPath buffer holds this many UTF-16 units, terminator included.
constexpr size_t kOutPathBufferSize = 260;

// The name of the automatic output name, compared without regard to case.
extern const wchar_t kAutomaticOutputName[];

// The addition to an automatic single-file name: "", "_2IN1" or "_4IN1" for nNUp 0, 1, 2.
std::wstring GetMergedNameAddition(int32_t nNUp);
// The per-row suffix: "_2IN1.pdf" for nNUp 1, "_4IN1.pdf" for 2, "_to.pdf" otherwise.
std::wstring GetRowSuffix(int32_t nNUp);

// True when text ends with ".pdf" in any case.
bool EndsWithPdfExtension(const std::wstring &text);

// The single output file of a job (bMergeOn 1): the output folder, created when missing, and
// the name box's text, or the first and last rows' file titles for the automatic name, with
// ".pdf" unless present and "(n)" before it while the name is taken. Written into row 0's
// pszOutPath. Empty when the path is too long.
std::wstring MakeMergedOutputPath(MergeJob &job);

// The output file of row nRow in per-row mode: the output folder (not created), the row's file
// title and suffix, "(n)" before the suffix while the name is taken. Writes the output folder
// into row 0's pszOutPath first. Empty for an invalid row, a source path without an extension, a
// path that is too long, or when the names up to "(2999)" are all taken.
std::wstring MakeRowOutputPath(MergeJob &job, int nRow, const std::wstring &suffix);
