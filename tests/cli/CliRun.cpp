#include "CliRun.h"

#include <sstream>

ChildResult RunMerge(const std::vector<std::string> &args, double timeoutSeconds) {
  std::vector<std::string> argv{VANTOREL_MERGE};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunChild(argv, timeoutSeconds);
}

std::string LineStarting(const std::string &text, const std::string &prefix) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind(prefix, 0) == 0)
      return line;
  return "";
}

bool IsReason(const std::string &text, const std::string &phrase) {
  static const char *const kReasons[] = {
      "needs a password", "wrong password",        "unsupported or damaged encryption",
      "not a PDF",        "damaged beyond repair", "picture too large",
      "no page selected"};
  if (text.find(phrase) == std::string::npos)
    return false;
  for (const char *reason : kReasons)
    if (phrase.find(reason) == std::string::npos && text.find(reason) != std::string::npos)
      return false;
  return true;
}

bool Says(const ChildResult &run, const std::string &path, const std::string &phrase) {
  const std::string prefix = "vantorel-merge: " + path + ": ";
  std::istringstream lines(run.err);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind(prefix, 0) == 0 && IsReason(line.substr(prefix.size()), phrase))
      return true;
  return false;
}

bool Warns(const ChildResult &run, const std::string &path) {
  return !LineStarting(run.err, "vantorel-merge: " + path + ": warning: ").empty();
}

bool Names(const ChildResult &run, const std::string &path) {
  return !LineStarting(run.err, "vantorel-merge: " + path + ": ").empty();
}

int InfoPages(const ChildResult &run, const std::string &path) {
  const std::string prefix = path + ": ";
  const std::string line = LineStarting(run.out, prefix);
  const std::string rest = line.substr(std::min(line.size(), prefix.size()));
  const size_t digits = rest.find_first_not_of("0123456789");
  if (digits == 0 || digits == std::string::npos ||
      rest.compare(digits, std::string::npos, " pages") != 0)
    return -1;
  return std::stoi(rest);
}

std::string InfoError(const ChildResult &run, const std::string &path) {
  const std::string prefix = path + ": error: ";
  const std::string line = LineStarting(run.out, prefix);
  return line.empty() ? "" : line.substr(prefix.size());
}
