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

std::vector<std::string> Paths(const CliOptions &options) {
  std::vector<std::string> paths;
  for (const CliInput &input : options.inputs)
    paths.push_back(input.path);
  return paths;
}

int PrintInfo(const CliOptions &options) {
  int status = 0;
  const std::vector<ProbeResult> probes = ProbeInputs(Paths(options));
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
  // Passwords reach the engine as Windows-1252 text, as the window program gives them; AES-256
  // defines its passwords as UTF-8, so they stay as they were typed.
  auto password = [&options](const std::string &typed) {
    return options.encryption == ENCRYPT_AES_256 ? typed : WideToAnsi(Utf8ToWide(typed));
  };
  const std::string openPassword = password(options.openPassword);
  const std::string permissionPassword = password(options.permissionPassword);
  if (options.hasOpenPassword)
    tool.SetOpenPwd(openPassword.c_str());
  if (options.hasOpenPassword || options.hasPermissionPassword)
    tool.SetPemissionPwd(options.hasPermissionPassword ? permissionPassword.c_str() : nullptr,
                         options.allowEdit, options.allowCopy, options.allowPrint);
  tool.SetEncryption(options.encryption);
  tool.SetBookmarks(options.bookmarks);
  tool.SetLayout(options.paper, options.nup, options.orientation);
  tool.SetOutPDFPath(Utf8ToWide(options.output).c_str());

  // Every input is checked before anything is written.
  const std::vector<ProbeResult> probes = ProbeInputs(Paths(options));
  int index = 0;
  for (const CliInput &input : options.inputs) {
    const ProbeResult &probe = probes[static_cast<size_t>(index)];
    if (!probe.ok) {
      std::cerr << "vantorel-merge: " << input.path << ": " << probe.reason << "\n";
      return 1;
    }
    if (SameFile(input.path, options.output)) {
      std::cerr << "vantorel-merge: " << input.path << ": is also the output file\n";
      return 1;
    }
    const std::string range = WideToAnsi(Utf8ToWide(input.range));
    tool.AppendMergeSrc(index++, Utf8ToWide(input.path).c_str(), probe.pageCount,
                        input.hasRange ? range.c_str() : nullptr, nullptr);
  }

  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
  const bool done = tool.StartMerge(0);
  if (g_interrupted) {
    std::cerr << "vantorel-merge: cancelled, no output written\n";
    return 130;
  }
  if (!done) {
    std::cerr << "vantorel-merge: " << options.output
              << ": the merge failed (a selected page is missing from its file, or the output "
                 "cannot be written)\n";
    return 1;
  }
  return 0;
}

} // namespace

int main(int argc, char **argv) {
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
