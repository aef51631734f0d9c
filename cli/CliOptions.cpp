#include "CliOptions.h"

#include <algorithm>
#include <cctype>

const char *const kCliUsage =
    "usage: vantorel-merge [options] -o OUTPUT INPUT [--pages RANGE] [INPUT [--pages RANGE]]...\n"
    "       vantorel-merge --info FILE...\n"
    "\n"
    "Merges PDF files and pictures (JPEG, PNG, BMP, TIFF) into one PDF whose sheets carry the\n"
    "selected pages.\n"
    "\n"
    "  -o, --output FILE          the merged PDF (an existing file is replaced only when the\n"
    "                             merge succeeds; it may not be one of the inputs)\n"
    "  --pages RANGE              pages of the input just before it, in that order: \"1, 3,\n"
    "                             9-11\", \"5-\" (5 to the last), \"-3\" (1 to 3), \"9-7\"\n"
    "                             (9 down to 7), \"Odd\", \"Even\" (default: all pages)\n"
    "  --password TEXT            password that opens the encrypted input just before it\n"
    "  --paper NAME               A5, A4, A3, Letter, Legal, JuniorLegal, Ledger, Tabloid, or\n"
    "                             source (default: each sheet sized by its first page, so one\n"
    "                             page per sheet keeps every page's own size)\n"
    "  --nup 1|2|4                source pages per sheet (default 1)\n"
    "  --orientation auto|vertical|horizontal   (default auto)\n"
    "  --open-password TEXT       password needed to open the output\n"
    "  --permission-password TEXT password that lifts the restrictions\n"
    "  --allow LIST               what readers may do: any of edit,copy,print\n"
    "  --encryption NAME          aes-256 (default), aes-128, rc4-128, or rc4-40 (weak,\n"
    "                             broken in minutes; only for very old readers)\n"
    "  --no-bookmarks             no outline (by default each merged file gets a bookmark\n"
    "                             with its own bookmarks below it)\n"
    "  --flatten-forms            form fields drawn flat (by default they stay fillable at\n"
    "                             one page per sheet; at 2 and 4 they are always flat)\n"
    "  --no-object-streams        a classic cross-reference table and every object loose,\n"
    "                             for readers older than PDF 1.5 (by default objects are\n"
    "                             packed into compressed object streams)\n"
    "  --skip-bad                 leave out inputs that cannot be read (listed on standard\n"
    "                             error) instead of stopping; the output is never one of them\n"
    "  --progress                 print \"progress N\" lines on standard error\n"
    "  --info                     print the page count of each FILE\n"
    "  -h, --help                 show this help\n";

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool ParsePaper(const std::string &name, int &code) {
  static const char *const kNames[] = {"a5",    "a4",          "a3",     "letter",
                                       "legal", "juniorlegal", "ledger", "tabloid"};
  const std::string lower = Lower(name);
  for (int i = 0; i < 8; ++i) {
    if (lower == kNames[i]) {
      code = i;
      return true;
    }
  }
  if (lower == "source") {
    code = 8;
    return true;
  }
  return false;
}

bool ParseAllow(const std::string &list, CliOptions &options) {
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(',', start);
    if (end == std::string::npos)
      end = list.size();
    const std::string item = Lower(list.substr(start, end - start));
    start = end + 1;
    if (item == "edit")
      options.allowEdit = true;
    else if (item == "copy")
      options.allowCopy = true;
    else if (item == "print")
      options.allowPrint = true;
    else if (!item.empty())
      return false;
  }
  return true;
}

} // namespace

bool ParseCliOptions(const std::vector<std::string> &args, CliOptions &options,
                     std::string &error) {
  bool endOfOptions = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string &arg = args[i];
    if (endOfOptions || arg.empty() || arg[0] != '-' || arg == "-") {
      options.inputs.push_back({arg, false, {}, false, {}});
      continue;
    }
    if (arg == "--") {
      endOfOptions = true;
      continue;
    }
    if (arg == "-h" || arg == "--help") {
      options.help = true;
      continue;
    }
    if (arg == "--info") {
      options.info = true;
      continue;
    }
    if (arg == "--progress") {
      options.progress = true;
      continue;
    }
    if (arg == "--no-bookmarks") {
      options.bookmarks = false;
      continue;
    }
    if (arg == "--flatten-forms") {
      options.flattenForms = true;
      continue;
    }
    if (arg == "--object-streams" || arg == "--no-object-streams") {
      options.objectStreams = arg == "--object-streams";
      continue;
    }
    if (arg == "--skip-bad") {
      options.skipBad = true;
      continue;
    }
    // Every other option takes a value.
    if (i + 1 >= args.size()) {
      error = "option " + arg + " needs a value";
      return false;
    }
    const std::string &value = args[++i];
    if (arg == "-o" || arg == "--output") {
      options.output = value;
    } else if (arg == "--pages") {
      if (options.inputs.empty() || options.inputs.back().hasRange) {
        error = "--pages must follow the input it applies to";
        return false;
      }
      options.inputs.back().hasRange = true;
      options.inputs.back().range = value;
    } else if (arg == "--password") {
      if (options.inputs.empty() || options.inputs.back().hasPassword) {
        error = "--password must follow the input it applies to";
        return false;
      }
      options.inputs.back().hasPassword = true;
      options.inputs.back().password = value;
    } else if (arg == "--paper") {
      if (!ParsePaper(value, options.paper)) {
        error = "unknown paper '" + value + "'";
        return false;
      }
    } else if (arg == "--nup") {
      if (value == "1" || value == "2" || value == "4") {
        options.nup = value == "1" ? 0 : value == "2" ? 1 : 2;
      } else {
        error = "--nup takes 1, 2 or 4";
        return false;
      }
    } else if (arg == "--orientation") {
      const std::string lower = Lower(value);
      if (lower == "auto")
        options.orientation = 0;
      else if (lower == "vertical")
        options.orientation = 1;
      else if (lower == "horizontal")
        options.orientation = 2;
      else {
        error = "--orientation takes auto, vertical or horizontal";
        return false;
      }
    } else if (arg == "--open-password") {
      options.hasOpenPassword = true;
      options.openPassword = value;
    } else if (arg == "--permission-password") {
      options.hasPermissionPassword = true;
      options.permissionPassword = value;
    } else if (arg == "--allow") {
      if (!ParseAllow(value, options)) {
        error = "--allow takes a list of edit, copy, print";
        return false;
      }
    } else if (arg == "--encryption") {
      const std::string lower = Lower(value);
      static const char *const kNames[] = {"rc4-40", "rc4-128", "aes-128", "aes-256"};
      int code = -1;
      for (int n = 0; n < 4; ++n)
        if (lower == kNames[n])
          code = n;
      if (code < 0) {
        error = "--encryption takes rc4-40, rc4-128, aes-128 or aes-256";
        return false;
      }
      options.encryption = code;
    } else {
      error = "unknown option " + arg;
      return false;
    }
  }
  if (options.help)
    return true;
  if (options.info) {
    if (options.inputs.empty()) {
      error = "--info needs at least one file";
      return false;
    }
    return true;
  }
  if (options.output.empty()) {
    error = "no output file given (-o OUTPUT)";
    return false;
  }
  if (options.inputs.empty()) {
    error = "no input files given";
    return false;
  }
  return true;
}
