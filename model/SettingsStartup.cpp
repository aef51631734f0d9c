#include "SettingsStartup.h"

#include "CFSMSettings.h"
#include "CSettingsStorageRegistry.h"
#include "SystemFolders.h"

const wchar_t kSettingsKeyPath[] = L"Software\\Orvanel\\RIV Urazod";

void PrepareSettings(CFSMSettings &settings) {
  const std::wstring docs = GetDocumentsFolder();
  CreateFolderPath(docs);
  const std::wstring base = docs + L"/Orvanel/ZOZ Avar Izaded";
  {
    CSettingsStorageRegistry storage(kSettingsKeyPath);
    settings.Load(storage); // the first run has no key: the record keeps its values
  }
  if (settings.TrackFolder.empty())
    settings.TrackFolder = docs;
  if (settings.OutputFolder.empty())
    settings.OutputFolder = base + L"/output/";
  if (settings.TmpFolder.empty())
    settings.TmpFolder = base + L"/tmp/";
  CreateFolderPath(settings.OutputFolder);
  CreateFolderPath(settings.TmpFolder);
  settings.ResetRunOptions();
}

bool SaveSettings(CFSMSettings &settings) {
  CSettingsStorageRegistry storage(kSettingsKeyPath);
  return settings.Save(storage);
}
