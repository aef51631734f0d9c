#include "ProgramVersion.h"

#include <cstdio>
#include <cstdlib>

int ReadProgramVersion(int *major, int *minor, int *patch) {
  int values[3] = {0, 0, 0};
  int result = -1;
#if defined(VANTOREL_VERSION_MAJOR) && defined(VANTOREL_VERSION_MINOR) &&                          \
    defined(VANTOREL_VERSION_PATCH)
  values[0] = VANTOREL_VERSION_MAJOR;
  values[1] = VANTOREL_VERSION_MINOR;
  values[2] = VANTOREL_VERSION_PATCH;
  result = 0;
#endif
  if (major)
    *major = values[0];
  if (minor)
    *minor = values[1];
  if (patch)
    *patch = values[2];
  return result;
}

int VersionNumber(int major, int minor, int patch) { return major * 100 + minor * 10 + patch; }

std::wstring FormatVersionNumber(int number) {
  wchar_t text[64];
  std::swprintf(text, 64, L"%d.%02d", number / 100, std::abs(number % 100));
  return text;
}

std::wstring FormatAboutVersion(int major, int minor, int patch) {
  wchar_t text[96];
  std::swprintf(text, 96, L"Version:%d.%d%d", major, minor, patch);
  return text;
}
