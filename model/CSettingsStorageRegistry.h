#pragma once
#include "CSettingsStorage.h"

#include <memory>
#include <string>

class wxConfigBase;

// An open key: a group of a wxConfigBase (the registry itself on Windows, a per-user file
// here). Sub-keys share their parent's configuration.
struct SettingsKey {
  std::shared_ptr<wxConfigBase> config;
  std::wstring path; // absolute group path, "/a/b"; "" for the root
};
using SettingsKeyHandle = std::shared_ptr<SettingsKey>;

// A store on one key. The parent is a predefined root or another store's open key; the key
// itself is opened by BeginSave or BeginLoad and closed by EndSave or EndLoad. Values are kept
// with the registry's types: text, 32-bit number, binary.
class CSettingsStorageRegistry : public CSettingsStorage {
public:
  static const size_t kMaxPath = 260;

  // A key under the current user's root (HKEY_CURRENT_USER): the per-user configuration,
  // read when the key is opened and written when it is closed after saving. "\" separates the
  // levels of path, e.g. "Software\Orvanel\RIV Urazod".
  explicit CSettingsStorageRegistry(const wchar_t *path);
  // A key under parent, an open key; null stands for the current user's root.
  CSettingsStorageRegistry(SettingsKeyHandle parent, const wchar_t *path);
  // A root of its own over config (tests, other stores): path is relative to the config's root.
  CSettingsStorageRegistry(std::shared_ptr<wxConfigBase> config, const wchar_t *path);
  ~CSettingsStorageRegistry() override;

  std::unique_ptr<CSettingsStorage> CreateSubStorage(const wchar_t *name) override;
  bool BeginSave() override;
  bool EndSave() override;
  bool BeginLoad() override;
  bool EndLoad() override;
  bool ExchangeFloat(const wchar_t *name, float &value, bool save) override;
  bool ExchangeBinary(const wchar_t *name, void *data, uint32_t size, bool save) override;
  bool ExchangeText(const wchar_t *name, wchar_t *buffer, uint32_t &length, bool save) override;
  bool ExchangeDoubleValue(const wchar_t *name, double &value, bool save) override;
  bool ExchangeBool(const wchar_t *name, bool &value, bool save) override;
  bool ExchangeDWord(const wchar_t *name, uint32_t &value, bool save) override;
  bool ExchangeInt(const wchar_t *name, int32_t &value, bool save) override;

  // The open key, null while closed.
  SettingsKeyHandle OpenKey() const { return m_hKey; }

private:
  bool Open(bool create);
  bool Close();
  std::wstring ValuePath(const wchar_t *name) const;

  SettingsKeyHandle m_hKey;
  SettingsKeyHandle m_hParentKey;
  std::shared_ptr<wxConfigBase> m_ownConfig; // a root over a given configuration
  std::wstring m_szKeyPath;
  bool m_bOwnsRoot = false; // the open key's configuration was read by this store
  bool m_bWriting = false;
};
