#pragma once
#include "CSettings.h"

#include <cstdint>
#include <string>

// The application's settings record. The folders, the language and the merge switch are kept
// between runs; the output options of the run (layout, protection, output name) are not.
class CFSMSettings : public CSettings {
public:
  // Every text empty except languageID "auto"; bMergeOn 1; the output options at their start
  // values.
  CFSMSettings();

  // Stored fields go in the order "OutputFolder", "TrackFolder", "TmpFolder", "languageID",
  // "Vantorel_Tessary". Loading treats a missing value as no error: a missing language becomes
  // "auto", a missing merge switch 1, a missing folder keeps the field.
  bool Exchange(bool continueOnError, CSettingsStorage &storage, bool save,
                bool resetToDefaults) override;

  // Puts the output options back to their start values (A4, two per sheet, Auto, no
  // protection), as at every start-up.
  void ResetRunOptions();

  std::wstring OutputFolder;
  std::wstring TrackFolder;
  std::wstring languageID;
  int32_t nPaperSize;
  int32_t nNUp;
  int32_t nOrientation;
  int32_t bOpenPwd;
  std::wstring strOpenPwd;
  int32_t bPermissionPwd;
  std::wstring strPermissionPwd;
  int32_t bEditingAllowed;
  int32_t bCopyingAllowed;
  int32_t bPrintingAllowed;
  std::wstring strOutputFileName;
  std::wstring TmpFolder;
  // 1: merge every source into one output; any other value: one output per source.
  int32_t bMergeOn;
};
