#include "CFSMSettings.h"

#include "CSettingsStorage.h"

CFSMSettings::CFSMSettings() : languageID(L"auto"), bMergeOn(1) { ResetRunOptions(); }

void CFSMSettings::ResetRunOptions() {
  nPaperSize = 1;
  nNUp = 1;
  nOrientation = 0;
  bOpenPwd = 0;
  strOpenPwd.clear();
  bPermissionPwd = 0;
  strPermissionPwd.clear();
  bEditingAllowed = 0;
  bCopyingAllowed = 0;
  bPrintingAllowed = 0;
}

bool CFSMSettings::Exchange(bool continueOnError, CSettingsStorage &storage, bool save,
                            bool resetToDefaults) {
  if (resetToDefaults) {
    languageID = L"auto";
    bMergeOn = 1;
    return true;
  }
  bool result = true;
  // One step per property; a failure either stops the exchange or is settled and passed over.
  const auto settle = [&](bool ok, void (*onMissing)(CFSMSettings &)) {
    if (ok)
      return true;
    if (!continueOnError)
      return false;
    if (save)
      result = false;
    else if (onMissing)
      onMissing(*this);
    return true;
  };
  if (!settle(storage.ExchangeString(L"OutputFolder", OutputFolder, save), nullptr) ||
      !settle(storage.ExchangeString(L"TrackFolder", TrackFolder, save), nullptr) ||
      !settle(storage.ExchangeString(L"TmpFolder", TmpFolder, save), nullptr) ||
      !settle(storage.ExchangeString(L"languageID", languageID, save),
              [](CFSMSettings &s) { s.languageID = L"auto"; }) ||
      !settle(storage.ExchangeLong(L"Vantorel_Tessary", bMergeOn, save),
              [](CFSMSettings &s) { s.bMergeOn = 1; }))
    return false;
  return result;
}
