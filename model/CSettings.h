#pragma once

class CSettingsStorage;

// Base of a settings record: the record describes its properties once, in Exchange, which runs
// in either direction; Load and Save wrap it between a store's begin and end operations.
class CSettings {
public:
  virtual ~CSettings() = default;

  virtual void OnBeforeSave(bool opened);
  virtual void OnAfterSave(bool ok);
  virtual void OnBeforeLoad(bool opened);
  virtual void OnAfterLoad(bool ok);

  // Moves every property between the record and storage (to storage when save is set); with
  // resetToDefaults the record takes its default values instead. True on success.
  virtual bool Exchange(bool continueOnError, CSettingsStorage &storage, bool save,
                        bool resetToDefaults) = 0;

  // Reads the record from storage; true when the store opened and every exchange succeeded.
  virtual bool Load(CSettingsStorage &storage);
  // Writes the record to storage; true when the store opened, took every value and closed.
  virtual bool Save(CSettingsStorage &storage);
};
