#include "OutputChecks.h"

#include "HostilePdf.h"
#include "PdfMaker.h"
#include "ReferenceReaders.h"
#include "support/TempDir.h"

#include <set>
#include <stdexcept>

Neighbours MakeNeighbours(const TempDir &dir) {
  Neighbours n{dir.file("before.pdf"), dir.file("after.pdf")};
  MakeTestPdf(n.before, {TestPage{595, 842, 0, 0, 0, PageColour(0)},
                         TestPage{595, 842, 0, 0, 0, PageColour(1)}});
  MakeTestPdf(n.after, {TestPage{595, 842, 0, 0, 0, PageColour(2)},
                        TestPage{595, 842, 0, 0, 0, PageColour(3)}});
  return n;
}

std::string NeighbourProblem(const std::string &out, int first, int firstColour) {
  std::string problem;
  for (int k = 0; k < 2; ++k) {
    try {
      const RenderedPage sheet = RenderPage(out, first + k, 20);
      const Rgb centre = sheet.At(0.5, 0.5);
      if (!Near(centre, PageColour(firstColour + k)))
        problem += "sheet " + std::to_string(first + k) + " is not the good file's page " +
                   std::to_string(k + 1) + " (centre " + std::to_string(centre.r) + "," +
                   std::to_string(centre.g) + "," + std::to_string(centre.b) + "); ";
    } catch (const std::exception &e) {
      problem += "sheet " + std::to_string(first + k) + ": " + e.what() + "; ";
    }
  }
  return problem;
}

std::vector<int> MarkedPages(const std::string &out, int first, int count,
                             const std::string &label) {
  std::vector<int> pages;
  const std::string prefix = label + " page ";
  for (int k = 0; k < count; ++k) {
    const std::string text = PageText(out, first + k);
    int page = 0;
    if (text.rfind(prefix, 0) == 0 && text.size() > prefix.size() &&
        text.find_first_not_of("0123456789", prefix.size()) == std::string::npos)
      page = std::stoi(text.substr(prefix.size()));
    pages.push_back(page);
  }
  return pages;
}

std::string MarkedProblem(const std::string &out, int first, int pages, const std::string &label,
                          int distinct) {
  std::set<int> sample;
  for (int k = 1; k <= pages; ++k)
    if (pages <= 30 || k <= 10 || k > pages - 10 || (k > pages / 2 - 5 && k <= pages / 2 + 5))
      sample.insert(k);
  std::string problem;
  for (int k : sample) {
    const int page = distinct ? (k - 1) % distinct + 1 : k;
    const std::string text = PageText(out, first + k - 1);
    if (text != PageMarker(label, page))
      problem += "sheet " + std::to_string(first + k - 1) + " shows \"" + text.substr(0, 80) +
                 "\" instead of \"" + PageMarker(label, page) + "\"; ";
  }
  return problem;
}

std::string OutputProblem(const std::string &out) {
  std::string problem;
  const QpdfCheck check = CheckWithQpdf(out);
  if (!check.Clean())
    problem += "qpdf --check: " + check.output.substr(0, 1500) + "\n";
  const std::string complaints = PopplerComplaints(out);
  if (!complaints.empty())
    problem += "pdftotext: " + complaints.substr(0, 1500) + "\n";
  return problem;
}
