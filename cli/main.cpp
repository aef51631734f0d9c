// vantorel-merge: the merge engine from the command line. Builds one MergeRequest from the
// arguments, runs it, and turns the outcome into messages and exit codes
// (0 done, 1 a file or the merge failed, 2 usage, 130 cancelled by Ctrl-C or by a signal that
// ends the program: TERM, HUP, PIPE). A signal cancels the run, which then removes what it
// staged; one that comes after the output was moved into place changes nothing.

#include "AnsiText.h"
#include "CliOptions.h"
#include "CliRequest.h"
#include "FileIdentity.h"
#include "InputProbe.h"
#include "MergerTool.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <iostream>

namespace {

std::atomic<bool> g_interrupted{false};

void OnInterrupt(int) { g_interrupted = true; }

// Handled rather than fatal: a closed pipe on standard error (--progress | head) would otherwise
// kill the program between two steps and leave its temporary file behind.
void CatchEndingSignals() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
    sigaction(signal, &action, nullptr);
}

struct RunState {
  bool progress = false;
};

void OnProgress(void *pUserData, int32_t, uint32_t, int32_t nPercent) {
  if (static_cast<RunState *>(pUserData)->progress)
    std::fprintf(stderr, "progress %d\n", nPercent);
}

bool OnCancel(void *) { return g_interrupted; }

int Usage(const std::string &message) {
  std::cerr << "vantorel-merge: " << message << "\n" << kCliUsage;
  return 2;
}

int Cancelled() {
  std::cerr << "vantorel-merge: cancelled, no output written\n";
  return 130;
}

std::vector<ProbeRequest> Requests(const CliOptions &options) {
  std::vector<ProbeRequest> requests;
  for (const CliInput &input : options.inputs)
    requests.push_back({input.path, input.hasPassword ? input.password.c_str() : nullptr});
  return requests;
}

int PrintInfo(const CliOptions &options) {
  int status = 0;
  const std::vector<ProbeResult> probes = ProbeInputs(Requests(options), &g_interrupted);
  if (g_interrupted)
    return Cancelled();
  for (size_t i = 0; i < options.inputs.size(); ++i) {
    const CliInput &input = options.inputs[i];
    const ProbeResult &probe = probes[i];
    if (probe.ok) {
      std::cout << input.path << ": " << probe.pageCount << " pages\n";
    } else {
      std::cout << input.path << ": error: " << probe.reason << "\n";
      status = 1;
    }
  }
  return status;
}

int Merge(const CliOptions &options) {
  // The output never replaces an input, not even one that --skip-bad would leave out: checked
  // before anything is read.
  const std::wstring output = Utf8ToWide(options.output);
  for (const CliInput &input : options.inputs) {
    if (IsSameFile(Utf8ToWide(input.path), output)) {
      std::cerr << "vantorel-merge: " << input.path << ": is also the output file\n";
      return 1;
    }
  }
  // Every input is checked before anything is written.
  const std::vector<ProbeResult> probes = ProbeInputs(Requests(options), &g_interrupted);
  if (g_interrupted)
    return Cancelled();
  for (size_t i = 0; i < options.inputs.size(); ++i) {
    if (probes[i].ok)
      continue;
    std::cerr << "vantorel-merge: " << options.inputs[i].path << ": "
              << (options.skipBad ? "skipped: " : "") << probes[i].reason << "\n";
    if (!options.skipBad)
      return 1;
  }
  MergeRequest request;
  std::string error;
  if (!MakeCliRequest(options, probes, request, error)) {
    std::cerr << "vantorel-merge: " << error << "\n";
    return 1;
  }
  MergerTool tool;
  RunState state{options.progress};
  tool.SetCallBack(&state, OnProgress, OnCancel);
  const bool done = tool.StartMerge(request, 0);
  if (!done && (g_interrupted || tool.GetFailureCode() == MERGE_FAILURE_CANCELLED))
    return Cancelled();
  for (const MergeSourceNote &notice : tool.GetNotices()) {
    std::cerr << "vantorel-merge: " << WideToUtf8(notice.strPath) << ": ";
    if (notice.bSkipped) {
      std::cerr << "skipped: ";
    } else {
      std::cerr << "warning: ";
    }
    if (notice.nPage > 0)
      std::cerr << "page " << notice.nPage << ": ";
    std::cerr << WideToUtf8(notice.strText) << "\n";
  }
  if (!done) {
    std::cerr << "vantorel-merge: the merge failed: " << WideToUtf8(tool.GetFailureText()) << "\n";
    return 1;
  }
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  // Ctrl-C is honoured from the start: while inputs are probed as well as while merging.
  CatchEndingSignals();
  const std::vector<std::string> args(argv + 1, argv + argc);
  CliOptions options;
  std::string error;
  if (!ParseCliOptions(args, options, error))
    return Usage(error);
  if (options.help) {
    std::cout << kCliUsage;
    return 0;
  }
  return options.info ? PrintInfo(options) : Merge(options);
}
