#include "ReferenceReaders.h"

#include <set>
#include <sstream>

#include "support/ChildProcess.h"

#include <regex>
#include <sstream>

namespace {

constexpr double kToolSeconds = 120;

std::vector<std::string> WithPassword(std::vector<std::string> args, const std::string &password) {
  if (!password.empty())
    args.insert(args.begin() + 1, "--password=" + password);
  return args;
}

std::string Trim(const std::string &text) {
  const size_t first = text.find_first_not_of(" \t\r\n\f");
  if (first == std::string::npos)
    return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n\f") - first + 1);
}

} // namespace

QpdfCheck CheckWithQpdf(const std::string &pdf, const std::string &password) {
  const ChildResult run =
      RunChild(WithPassword({"/usr/bin/qpdf", "--check", pdf}, password), kToolSeconds);
  QpdfCheck check;
  check.status = run.exited ? run.exitCode : -1;
  check.output = run.out + run.err;
  return check;
}

bool QpdfCheck::CleanButPageContent() const {
  if (status == 0 || status == -1)
    return status == 0 && Clean();
  // Content streams qpdf names, then every complaint must be about one of them.
  std::set<std::string> contents;
  for (const std::string &marker : {std::string("content stream object "), std::string("stream ")})
    for (size_t at = output.find(marker); at != std::string::npos;
         at = output.find(marker, at + 1)) {
      const size_t from = at + marker.size(), to = output.find(' ', from);
      if (output.compare(to, 11, " 0 (content") == 0 || marker[0] == 'c')
        contents.insert(output.substr(from, to - from));
    }
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("WARNING", 0) != 0 && line.rfind("ERROR", 0) != 0)
      continue; // what was checked, and qpdf's summary
    const size_t decoding = line.find("error decoding stream data for object ");
    const bool bAboutContent =
        line.find("(content, offset") != std::string::npos ||
        line.find("content stream") != std::string::npos ||
        (decoding != std::string::npos &&
         contents.count(line.substr(decoding + 38, line.find(' ', decoding + 38) - decoding - 38)));
    if (!bAboutContent)
      return false;
  }
  return true;
}

int QpdfPageCount(const std::string &pdf, const std::string &password) {
  const ChildResult run =
      RunChild(WithPassword({"/usr/bin/qpdf", "--show-npages", pdf}, password), kToolSeconds);
  // Exit 3: counted, with warnings about the file.
  if (!run.exited || (run.exitCode != 0 && run.exitCode != 3) || run.out.empty())
    return -1;
  return std::stoi(run.out);
}

int PopplerPageCount(const std::string &pdf) {
  const ChildResult run = RunChild({"/usr/bin/pdfinfo", pdf}, kToolSeconds);
  std::smatch match;
  static const std::regex pages("(^|\n)Pages: +([0-9]+)");
  if (!run.exited || run.exitCode != 0 || !std::regex_search(run.out, match, pages))
    return -1;
  return std::stoi(match[2]);
}

int MutoolPageCount(const std::string &pdf) {
  const ChildResult run = RunChild({"/usr/bin/mutool", "show", pdf, "pages"}, kToolSeconds);
  int pages = 0;
  std::istringstream lines(run.out);
  for (std::string line; std::getline(lines, line);)
    pages += line.rfind("page ", 0) == 0 ? 1 : 0;
  // mutool lists the pages it found also when it ends with an error about the rest.
  return pages == 0 && !(run.exited && run.exitCode == 0) ? -1 : pages;
}

std::string PageText(const std::string &pdf, int page) {
  const std::string n = std::to_string(page);
  return Trim(RunChild({"/usr/bin/pdftotext", "-f", n, "-l", n, pdf, "-"}, kToolSeconds).out);
}

std::string PopplerComplaints(const std::string &pdf) {
  return RunChild({"/usr/bin/pdftotext", pdf, "/dev/null"}, kToolSeconds).err;
}

std::string QpdfXref(const std::string &pdf) {
  const ChildResult run = RunChild({"/usr/bin/qpdf", "--show-xref", pdf}, kToolSeconds);
  return run.out + run.err;
}
