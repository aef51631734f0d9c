// vantorel-merge: the merge engine from the command line. Builds one MergerTool from the
// arguments, runs it, and turns the outcome into messages and exit codes
// (0 done, 1 a file or the merge failed, 2 usage, 130 cancelled by Ctrl-C).

#include "AnsiText.h"
#include "CliOptions.h"
#include "InputProbe.h"
#include "MergerTool.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <iostream>

namespace {

std::atomic<bool> g_interrupted{false};

void OnInterrupt(int) { g_interrupted = true; }

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
  MergerTool tool;
  RunState state{options.progress};
  tool.SetCallBack(&state, OnProgress, OnCancel);
  // Passwords stay as they were typed (UTF-8); the engine encodes them for the encryption.
  tool.SetPasswordsUtf8(true);
  const std::string &openPassword = options.openPassword;
  const std::string &permissionPassword = options.permissionPassword;
  if (options.hasOpenPassword)
    tool.SetOpenPwd(openPassword.c_str());
  if (options.hasOpenPassword || options.hasPermissionPassword)
    tool.SetPemissionPwd(options.hasPermissionPassword ? permissionPassword.c_str() : nullptr,
                         options.allowEdit, options.allowCopy, options.allowPrint);
  tool.SetEncryption(options.encryption);
  tool.SetBookmarks(options.bookmarks);
  tool.SetObjectStreams(options.objectStreams);
  tool.SetFlattenForms(options.flattenForms);
  tool.SetLayout(options.paper, options.nup, options.orientation);
  tool.SetOutPDFPath(Utf8ToWide(options.output).c_str());

  // Every input is checked before anything is written.
  const std::vector<ProbeResult> probes = ProbeInputs(Requests(options), &g_interrupted);
  if (g_interrupted)
    return Cancelled();
  std::vector<std::string> ranges;
  ranges.reserve(options.inputs.size());
  int index = 0;
  bool anyPage = false;
  for (size_t i = 0; i < options.inputs.size(); ++i) {
    const CliInput &input = options.inputs[i];
    const ProbeResult &probe = probes[i];
    if (!probe.ok) {
      if (!options.skipBad) {
        std::cerr << "vantorel-merge: " << input.path << ": " << probe.reason << "\n";
        return 1;
      }
      std::cerr << "vantorel-merge: " << input.path << ": skipped: " << probe.reason << "\n";
      continue;
    }
    if (SameFile(input.path, options.output)) {
      std::cerr << "vantorel-merge: " << input.path << ": is also the output file\n";
      return 1;
    }
    ranges.push_back(WideToAnsi(Utf8ToWide(input.range)));
    std::vector<int32_t> pages;
    if (input.hasRange)
      MergerTool::GetSelectPage(ranges.back().c_str(), pages, probe.pageCount);
    anyPage = anyPage || (input.hasRange ? !pages.empty() : probe.pageCount > 0);
    tool.AppendMergeSrc(index++, Utf8ToWide(input.path).c_str(), probe.pageCount,
                        input.hasRange ? ranges.back().c_str() : nullptr,
                        input.hasPassword ? input.password.c_str() : nullptr);
  }
  if (!anyPage) {
    std::cerr << "vantorel-merge: no page selected: nothing to merge\n";
    return 1;
  }

  const bool done = tool.StartMerge(0);
  if (g_interrupted || tool.GetFailureCode() == MERGE_FAILURE_CANCELLED)
    return Cancelled();
  bool skipped = false;
  for (const MergeSourceNote &notice : tool.GetNotices()) {
    std::cerr << "vantorel-merge: " << WideToUtf8(notice.strPath) << ": ";
    if (notice.bSkipped) {
      skipped = true;
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
  return skipped && !options.skipBad ? 1 : 0;
}

} // namespace

int main(int argc, char **argv) {
  // Ctrl-C is honoured from the start: while inputs are probed as well as while merging.
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
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
