#include "CliRequest.h"

#include "AnsiText.h"

namespace {

// One input as a source; false with the message when its page range does not read.
bool AppendInput(const CliInput &input, const ProbeResult &probe, int32_t nIndex,
                 MergeRequest &request, std::string &error) {
  MergeRequestSource source;
  source.nIndex = nIndex;
  source.strPath = input.path;
  source.nPageCount = probe.pageCount;
  source.bAllPages = !input.hasRange;
  if (input.hasRange) {
    PageRangeReading reading;
    if (!MergerTool::ReadPageRange(input.range.c_str(), probe.pageCount, reading)) {
      // A text of thousands of items is named by its start.
      const bool bLong = input.range.size() > 60;
      error = input.path + ": --pages \"" + input.range.substr(0, bLong ? 50 : 60) +
              (bLong ? "...\"" : "\"") + ": item " + std::to_string(reading.nItem) +
              ", character " + std::to_string(reading.nPosition + 1) + ": " +
              WideToUtf8(reading.strReason);
      return false;
    }
    source.vecPages = std::move(reading.vecPages);
  }
  source.bHasPassword = input.hasPassword;
  source.strPassword = input.password;
  // The engine refuses the file if it is no longer the one probed.
  source.nFileSize = probe.size;
  source.nFileModified = probe.modified;
  request.vecSources.push_back(std::move(source));
  return true;
}

} // namespace

bool MakeCliRequest(const CliOptions &options, const std::vector<ProbeResult> &probes,
                    MergeRequest &request, std::string &error) {
  request.strOutPath = options.output;
  request.SetPaper(options.paper);
  request.nNUp = options.nup;
  request.nOrientation = options.orientation;
  // Passwords stay as they were typed (UTF-8); the engine encodes them for the encryption.
  request.bOpenPwd = options.hasOpenPassword;
  request.strOpenPwd = options.openPassword;
  request.bPermissionPwd = options.hasPermissionPassword;
  request.strPermissionPwd = options.permissionPassword;
  request.nPermissions =
      (options.allowEdit ? 8 : 0) | (options.allowCopy ? 16 : 0) | (options.allowPrint ? 4 : 0);
  request.nEncryption = options.encryption;
  request.bBookmarks = options.bookmarks;
  request.bObjectStreams = options.objectStreams;
  request.bFlattenForms = options.flattenForms;
  // Without --skip-bad a source that fails while it is merged fails the run before it is
  // written, as one that fails the probe does.
  request.bSkipBadSources = options.skipBad;
  int64_t selected = 0;
  for (size_t i = 0; i < options.inputs.size() && i < probes.size(); ++i) {
    if (!probes[i].ok)
      continue;
    if (!AppendInput(options.inputs[i], probes[i], static_cast<int32_t>(request.vecSources.size()),
                     request, error))
      return false;
    const MergeRequestSource &source = request.vecSources.back();
    selected += source.bAllPages ? source.nPageCount : static_cast<int64_t>(source.vecPages.size());
    // Counted as each selection is kept, so that no command line asks for more memory than
    // there is.
    if (selected > kMaxMergePages) {
      error = "too many pages selected (one output holds at most " +
              std::to_string(kMaxMergePages) + ")";
      return false;
    }
  }
  if (selected == 0) {
    error = "no page selected: nothing to merge";
    return false;
  }
  return true;
}
