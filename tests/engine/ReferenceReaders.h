#pragma once
// What other readers make of a PDF: qpdf's check and page count, poppler's text and complaints.
// Produced files are judged by these, not by the library that wrote them.

#include <string>

struct QpdfCheck {
  int status = -1;    // qpdf's exit status: 0 clean, 2 errors, 3 warnings
  std::string output; // what it printed, both streams
  bool Clean() const { return status == 0 && output.find("WARNING") == std::string::npos; }
  // Clean but for what qpdf finds inside pages' content streams (a sheet that shows a damaged
  // source page as it is carries the source's damage; a form of it would hide it from qpdf).
  bool CleanButPageContent() const;
};
QpdfCheck CheckWithQpdf(const std::string &pdf, const std::string &password = "");

// qpdf's page count; -1 when qpdf cannot open the file.
int QpdfPageCount(const std::string &pdf, const std::string &password = "");
// poppler's page count (pdfinfo); -1 when it cannot open the file.
int PopplerPageCount(const std::string &pdf);
// The pages mutool lists (mutool show FILE pages); -1 when it lists none and fails.
int MutoolPageCount(const std::string &pdf);

// The text pdftotext finds on one page (1-based), without surrounding white space.
std::string PageText(const std::string &pdf, int page);
// What pdftotext says on standard error while reading the whole file ("Syntax Error", "Bad
// annotation destination position"...): empty for a file poppler reads without complaint.
std::string PopplerComplaints(const std::string &pdf);

// qpdf --show-xref.
std::string QpdfXref(const std::string &pdf);
