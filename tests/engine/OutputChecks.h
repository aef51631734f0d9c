#pragma once
// Checks of a merged file made from hostile sources, read back with other readers. Each returns
// an empty text when all is well, else what is wrong, for the test's failure message.

#include <string>
#include <vector>

class TempDir;

// Two good PDFs to merge around a damaged one: before.pdf, two pages in PageColour(0) and (1);
// after.pdf, two pages in PageColour(2) and (3).
struct Neighbours {
  std::string before, after;
};
Neighbours MakeNeighbours(const TempDir &dir);

// Sheets first and first + 1 (1-based) show the two pages of before.pdf (firstColour 0) or
// after.pdf (firstColour 2), rendered.
std::string NeighbourProblem(const std::string &out, int first, int firstColour);

// The page of the marked source each sheet shows, from `first` for `count` sheets: 0 for a
// sheet whose text is not one of label's markers.
std::vector<int> MarkedPages(const std::string &out, int first, int count,
                             const std::string &label);

// The sheets from `first` show label's pages 1..pages in order (with `distinct` marked pages
// repeating, when not 0). Long runs are sampled: the first, middle and last ten sheets.
std::string MarkedProblem(const std::string &out, int first, int pages, const std::string &label,
                          int distinct = 0);

// qpdf --check finds nothing and pdftotext reads the whole file without a complaint.
std::string OutputProblem(const std::string &out);
