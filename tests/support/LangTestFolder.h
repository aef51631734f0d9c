#pragma once
#include "Localization.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <string>

// A language folder of the test's own, found through VANTOREL_LANG_FOLDER.
class LangTestFolder {
public:
  LangTestFolder() { setenv("VANTOREL_LANG_FOLDER", dir.path().c_str(), 1); }
  ~LangTestFolder() {
    unsetenv("VANTOREL_LANG_FOLDER");
    SelectLanguage(L"en");
  }
  void Write(const std::string &name, const std::string &text) {
    WriteFileBytes(dir.file(name), text);
  }
  TempDir dir;
};
