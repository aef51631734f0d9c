#pragma once
#include <string>

// The program's own version, major.minor.patch (1.9.0), fixed by the build.
struct ProgramVersion {
  int major = 0;
  int minor = 0;
  int patch = 0;
};

// Reads the program's version into major, minor and patch; 0 on success, -1 (all three 0) when
// the build carried no version.
int ReadProgramVersion(int *major, int *minor, int *patch);

// The version number the update file uses: major * 100 + minor * 10 + patch (1.9.0 gives 190).
int VersionNumber(int major, int minor, int patch);
inline int VersionNumber(const ProgramVersion &v) {
  return VersionNumber(v.major, v.minor, v.patch);
}

// A version number shown as two parts, "Version:%d.%02d" style: 190 gives "1.90", 205 "2.05".
std::wstring FormatVersionNumber(int number);

// The about box's text, "Version:%d.%d%d": 1.9.0 gives "Version:1.90", 2.10.3 "Version:2.103".
std::wstring FormatAboutVersion(int major, int minor, int patch);
