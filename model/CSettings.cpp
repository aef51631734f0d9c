#include "CSettings.h"

#include "CSettingsStorage.h"

void CSettings::OnBeforeSave(bool) {}
void CSettings::OnAfterSave(bool) {}
void CSettings::OnBeforeLoad(bool) {}
void CSettings::OnAfterLoad(bool) {}

bool CSettings::Load(CSettingsStorage &storage) {
  const bool opened = storage.BeginLoad();
  OnBeforeLoad(opened);
  bool ok = opened;
  if (opened)
    ok = Exchange(storage.ContinueOnError(), storage, false, false);
  // The store is closed even when the exchange failed.
  const bool closed = storage.EndLoad();
  ok = ok && closed;
  OnAfterLoad(ok);
  return ok;
}

bool CSettings::Save(CSettingsStorage &storage) {
  const bool opened = storage.BeginSave();
  OnBeforeSave(opened);
  bool ok = opened;
  if (opened)
    ok = Exchange(storage.ContinueOnError(), storage, true, false);
  const bool closed = storage.EndSave();
  ok = ok && closed;
  OnAfterSave(ok);
  return ok;
}
