#include "BuildCheck.h"

#include "CFSMSettings.h"
#include "Localization.h"

namespace {
const int IDS_OPEN_PWD_NOT_SET = 189;
const int IDS_PERMISSION_PWD_NOT_SET = 190;
const int IDS_OUTPUT_NAME_EMPTY = 191;
} // namespace

std::wstring CollectBuildErrors(const CFSMSettings &settings) {
  std::wstring message;
  if (settings.bOpenPwd && settings.strOpenPwd.empty())
    message += LoadLangString(IDS_OPEN_PWD_NOT_SET);
  if (settings.bPermissionPwd && settings.strPermissionPwd.empty())
    message += LoadLangString(IDS_PERMISSION_PWD_NOT_SET);
  if (settings.strOutputFileName.empty())
    message += LoadLangString(IDS_OUTPUT_NAME_EMPTY);
  return message;
}
