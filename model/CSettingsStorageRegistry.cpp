// The registry's keys and values map onto wxConfigBase groups and entries: a key path
// "Software\Orvanel\RIV Urazod" is the group "/Software/Orvanel/RIV Urazod". Numbers are kept
// as decimal entries, binary data in wx's binary form, texts as they are. The configuration is
// read when a root key opens and written, completely or not at all, when it closes after a
// save; sub-keys work on their parent's copy.
#include "CSettingsStorageRegistry.h"

#include "UserConfig.h"

#include <wx/config.h>
#include <wx/log.h>

#include <cstring>

namespace {

std::wstring ToGroupPath(const wchar_t *path) {
  std::wstring group;
  for (const wchar_t *p = path ? path : L""; *p; ++p)
    group += (*p == L'\\') ? L'/' : *p;
  // Empty levels ("a\\b", a leading or trailing separator) are dropped.
  std::wstring clean;
  size_t start = 0;
  while (start <= group.size()) {
    size_t end = group.find(L'/', start);
    if (end == std::wstring::npos)
      end = group.size();
    if (end > start)
      clean += L"/" + group.substr(start, end - start);
    start = end + 1;
  }
  return clean;
}

std::wstring Truncated(const wchar_t *path) {
  std::wstring text = path ? path : L"";
  if (text.size() > CSettingsStorageRegistry::kMaxPath)
    text.resize(CSettingsStorageRegistry::kMaxPath);
  return text;
}

} // namespace

CSettingsStorageRegistry::CSettingsStorageRegistry(const wchar_t *path)
    : m_szKeyPath(Truncated(path)) {}

CSettingsStorageRegistry::CSettingsStorageRegistry(SettingsKeyHandle parent, const wchar_t *path)
    : m_hParentKey(std::move(parent)), m_szKeyPath(Truncated(path)) {}

CSettingsStorageRegistry::CSettingsStorageRegistry(std::shared_ptr<wxConfigBase> config,
                                                   const wchar_t *path)
    : m_ownConfig(std::move(config)), m_szKeyPath(Truncated(path)) {}

CSettingsStorageRegistry::~CSettingsStorageRegistry() {
  // An open key is closed without writing: only EndSave commits.
  m_hKey.reset();
}

std::unique_ptr<CSettingsStorage> CSettingsStorageRegistry::CreateSubStorage(const wchar_t *name) {
  if (!m_hKey)
    return nullptr;
  return std::make_unique<CSettingsStorageRegistry>(m_hKey, name);
}

bool CSettingsStorageRegistry::Open(bool create) {
  m_hKey.reset();
  std::shared_ptr<wxConfigBase> config;
  std::wstring base;
  if (m_hParentKey) {
    config = m_hParentKey->config;
    base = m_hParentKey->path;
  } else {
    config = m_ownConfig ? m_ownConfig : OpenUserConfig();
    m_bOwnsRoot = true;
  }
  if (!config)
    return false;
  // Stored texts are taken as they are: "$HOME" in a folder name is not a variable.
  config->SetExpandEnvVars(false);
  const std::wstring path = base + ToGroupPath(m_szKeyPath.c_str());
  if (!create && !path.empty() && !config->HasGroup(path))
    return false;
  m_hKey = std::make_shared<SettingsKey>(SettingsKey{config, path});
  m_bWriting = create;
  return true;
}

bool CSettingsStorageRegistry::Close() {
  if (!m_hKey)
    return true;
  bool ok = true;
  // The root writes the whole configuration once, when the outermost key closes.
  if (m_bWriting && m_bOwnsRoot) {
    wxLogNull quiet;
    ok = m_ownConfig ? m_ownConfig->Flush() : FlushUserConfig(*m_hKey->config);
  }
  m_hKey.reset();
  m_bOwnsRoot = false;
  m_bWriting = false;
  return ok;
}

bool CSettingsStorageRegistry::BeginSave() { return Open(true); }
bool CSettingsStorageRegistry::BeginLoad() { return Open(false); }
bool CSettingsStorageRegistry::EndSave() { return Close(); }
bool CSettingsStorageRegistry::EndLoad() { return Close(); }

std::wstring CSettingsStorageRegistry::ValuePath(const wchar_t *name) const {
  return m_hKey->path + L"/" + (name ? name : L"");
}

bool CSettingsStorageRegistry::ExchangeFloat(const wchar_t *name, float &value, bool save) {
  return ExchangeBytesOf(name, value, save);
}

bool CSettingsStorageRegistry::ExchangeBinary(const wchar_t *name, void *data, uint32_t size,
                                              bool save) {
  if (!m_hKey || !name)
    return false;
  wxLogNull quiet;
  if (save) {
    wxMemoryBuffer buffer(size);
    buffer.AppendData(data, size);
    return m_hKey->config->Write(ValuePath(name), buffer);
  }
  wxMemoryBuffer buffer;
  if (!m_hKey->config->Read(ValuePath(name), &buffer) || buffer.GetDataLen() > size)
    return false;
  std::memcpy(data, buffer.GetData(), buffer.GetDataLen());
  return true;
}

bool CSettingsStorageRegistry::ExchangeText(const wchar_t *name, wchar_t *buffer, uint32_t &length,
                                            bool save) {
  if (!m_hKey || !name) {
    if (!save)
      length = 0;
    return false;
  }
  wxLogNull quiet;
  if (save) {
    // Exactly length units, no terminating zero.
    const std::wstring text = buffer ? std::wstring(buffer, length) : std::wstring();
    return m_hKey->config->Write(ValuePath(name), wxString(text));
  }
  wxString stored;
  if (!m_hKey->config->Read(ValuePath(name), &stored)) {
    length = 0;
    return false;
  }
  const std::wstring text = stored.ToStdWstring();
  if (text.size() > length) {
    length = static_cast<uint32_t>(text.size()); // the size needed, for a second read
    return false;
  }
  std::copy(text.begin(), text.end(), buffer);
  length = static_cast<uint32_t>(text.size());
  return true;
}

bool CSettingsStorageRegistry::ExchangeDoubleValue(const wchar_t *name, double &value, bool save) {
  return ExchangeBytesOf(name, value, save);
}

bool CSettingsStorageRegistry::ExchangeBool(const wchar_t *name, bool &value, bool save) {
  uint32_t number = value ? 1 : 0;
  if (!ExchangeDWord(name, number, save))
    return false;
  if (!save)
    value = number != 0;
  return true;
}

bool CSettingsStorageRegistry::ExchangeDWord(const wchar_t *name, uint32_t &value, bool save) {
  if (!m_hKey || !name)
    return false;
  wxLogNull quiet;
  if (save)
    return m_hKey->config->Write(ValuePath(name), static_cast<long>(value));
  wxString stored;
  if (!m_hKey->config->Read(ValuePath(name), &stored))
    return false;
  // A 32-bit value, whichever sign it was written with; anything else is not a number.
  long long number = 0;
  if (!stored.ToLongLong(&number) || number < -2147483648LL || number > 4294967295LL)
    return false;
  value = static_cast<uint32_t>(number);
  return true;
}

bool CSettingsStorageRegistry::ExchangeInt(const wchar_t *name, int32_t &value, bool save) {
  uint32_t number = static_cast<uint32_t>(value);
  if (!ExchangeDWord(name, number, save))
    return false;
  if (!save)
    value = static_cast<int32_t>(number);
  return true;
}
