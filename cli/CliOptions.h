#pragma once
// The command line of vantorel-merge, parsed into one description of the job.

#include <string>
#include <vector>

struct CliInput {
  std::string path;
  bool hasRange = false;
  std::string range; // the engine's syntax: "1, 3, 9-11", "Odd", "Even"
  bool hasPassword = false;
  std::string password; // opens the input when it is encrypted
};

struct CliOptions {
  bool help = false;
  bool info = false;          // --info: page counts only
  bool progress = false;      // progress lines on standard error
  bool bookmarks = true;      // one outline entry per merged file, with its own outline
  bool flattenForms = false;  // form fields drawn flat also at one page per sheet
  bool objectStreams = true;  // objects packed into compressed object streams
  bool skipBad = false; // inputs that cannot be read are left out instead of stopping the merge
  std::string output;
  std::vector<CliInput> inputs;
  int paper = 8; // each sheet sized by its first item (as other PDF tools keep page sizes)
  int nup = 0;   // code: 0 one, 1 two, 2 four per sheet
  int orientation = 0;
  bool hasOpenPassword = false;
  std::string openPassword;
  bool hasPermissionPassword = false;
  std::string permissionPassword;
  bool allowEdit = false, allowCopy = false, allowPrint = false;
  int encryption = 3; // MergeEncryption code; aes-256 unless asked otherwise
};

// Parses argv; on a usage error returns false with a one-line message in error.
bool ParseCliOptions(const std::vector<std::string> &args, CliOptions &options, std::string &error);

extern const char *const kCliUsage;
