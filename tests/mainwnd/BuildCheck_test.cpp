#include "BuildCheck.h"

#include "CFSMSettings.h"

#include <gtest/gtest.h>

TEST(BuildCheck, EveryFailedCheckInOrderInOneMessage) {
  const std::wstring open = L"Open Password is Enalbed but Not Set value \n";
  const std::wstring permission = L"Permission Password is Enalbed but Not Set value \n";
  const std::wstring name = L"Output File Name is Empty,please input...";
  struct Case {
    int bOpen;
    const wchar_t *openPwd;
    int bPermission;
    const wchar_t *permissionPwd;
    const wchar_t *outputName;
    std::wstring expected;
  } cases[] = {
      {0, L"", 0, L"", L"FirstFileName_LastFileName", L""},
      {1, L"a", 1, L"b", L"out", L""},
      {0, L"", 0, L"", L" ", L""},
      {1, L"", 0, L"", L"out", open},
      {0, L"", 1, L"", L"out", permission},
      {0, L"", 0, L"", L"", name},
      {1, L"", 1, L"", L"", open + permission + name},
      {1, L"x", 1, L"", L"", permission + name},
  };
  for (const Case &c : cases) {
    CFSMSettings settings;
    settings.bOpenPwd = c.bOpen;
    settings.strOpenPwd = c.openPwd;
    settings.bPermissionPwd = c.bPermission;
    settings.strPermissionPwd = c.permissionPwd;
    settings.strOutputFileName = c.outputName;
    EXPECT_EQ(c.expected, CollectBuildErrors(settings)) << std::wstring(c.outputName);
  }
}
