#include "CSettingsStorage.h"

#include "CSettings.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// The first read of a text; longer values take a second read of the exact size.
const uint32_t kFirstReadUnits = 128;
const uint32_t kNoCount = 0xFFFFFFFFu;

} // namespace

CSettingsStorage::CSettingsStorage() { m_szItemName[0] = 0; }

CSettingsStorage::~CSettingsStorage() { delete m_pListStorage; }

bool CSettingsStorage::ContinueOnError() { return true; }
bool CSettingsStorage::BeginSave() { return true; }
bool CSettingsStorage::EndSave() { return true; }
bool CSettingsStorage::BeginLoad() { return true; }
bool CSettingsStorage::EndLoad() { return true; }

bool CSettingsStorage::ExchangeString(const wchar_t *name, std::wstring &text, bool save) {
  if (save) {
    uint32_t length = static_cast<uint32_t>(text.size());
    return ExchangeText(name, text.empty() ? nullptr : &text[0], length, true);
  }
  std::vector<wchar_t> buffer(kFirstReadUnits, 0);
  uint32_t length = kFirstReadUnits;
  bool ok = ExchangeText(name, buffer.data(), length, false);
  if (!ok && length != 0) {
    buffer.assign(length, 0);
    ok = ExchangeText(name, buffer.data(), length, false);
  }
  if (!ok)
    return false;
  if (length > buffer.size())
    length = static_cast<uint32_t>(buffer.size());
  size_t end = 0;
  while (end < length && buffer[end] != 0)
    ++end;
  text.assign(buffer.data(), end);
  return true;
}

bool CSettingsStorage::ExchangeSettings(const wchar_t *name, CSettings &settings, bool save) {
  std::unique_ptr<CSettingsStorage> sub(CreateSubStorage(name));
  if (!sub)
    return false;
  return save ? settings.Save(*sub) : settings.Load(*sub);
}

bool CSettingsStorage::ExchangeFloat(const wchar_t *name, float &value, bool save) {
  double wide = value;
  if (!ExchangeDoubleValue(name, wide, save))
    return false;
  if (!save)
    value = static_cast<float>(wide);
  return true;
}

bool CSettingsStorage::ExchangeDouble(const wchar_t *name, double &value, bool save) {
  return ExchangeBytesOf(name, value, save);
}

bool CSettingsStorage::ExchangeLongDouble(const wchar_t *name, long double &value, bool save) {
  // Stored as a double: the value format stays the same on every compiler.
  double narrow = static_cast<double>(value);
  if (!ExchangeDouble(name, narrow, save))
    return false;
  if (!save)
    value = narrow;
  return true;
}

bool CSettingsStorage::ExchangeUChar(const wchar_t *name, unsigned char &value, bool save) {
  uint32_t wide = value;
  if (!ExchangeDWord(name, wide, save))
    return false;
  if (!save)
    value = static_cast<unsigned char>(wide);
  return true;
}

bool CSettingsStorage::ExchangeChar(const wchar_t *name, signed char &value, bool save) {
  int32_t wide = value;
  if (!ExchangeInt(name, wide, save))
    return false;
  if (!save)
    value = static_cast<signed char>(wide);
  return true;
}

bool CSettingsStorage::ExchangeUShort(const wchar_t *name, uint16_t &value, bool save) {
  uint32_t wide = value;
  if (!ExchangeDWord(name, wide, save))
    return false;
  if (!save)
    value = static_cast<uint16_t>(wide);
  return true;
}

bool CSettingsStorage::ExchangeShort(const wchar_t *name, int16_t &value, bool save) {
  int32_t wide = value;
  if (!ExchangeInt(name, wide, save))
    return false;
  if (!save)
    value = static_cast<int16_t>(wide);
  return true;
}

bool CSettingsStorage::ExchangeULong(const wchar_t *name, uint32_t &value, bool save) {
  return ExchangeDWord(name, value, save);
}

bool CSettingsStorage::ExchangeLong(const wchar_t *name, int32_t &value, bool save) {
  return ExchangeInt(name, value, save);
}

bool CSettingsStorage::CloseListStorage(bool save) {
  if (!m_pListStorage)
    return false;
  const bool closed = save ? m_pListStorage->EndSave() : m_pListStorage->EndLoad();
  delete m_pListStorage;
  m_pListStorage = nullptr;
  return closed;
}

bool CSettingsStorage::BeginList(const wchar_t *name, uint32_t &count, bool save) {
  // A list left open before is closed rather than leaked.
  CloseListStorage(save);
  if (count == kNoCount)
    return false;
  m_pListStorage = CreateSubStorage(name);
  if (!m_pListStorage)
    return false;
  if (save)
    m_pListStorage->BeginSave();
  else
    m_pListStorage->BeginLoad();
  return m_pListStorage->ExchangeULong(L"Count", count, save);
}

bool CSettingsStorage::ExchangeListItem(uint32_t index, CSettings &settings, bool save) {
  if (!m_pListStorage)
    return false;
  wchar_t itemName[16];
  std::swprintf(itemName, 16, L"%u", index);
  std::unique_ptr<CSettingsStorage> item(m_pListStorage->CreateSubStorage(itemName));
  if (!item)
    return false;
  return save ? settings.Save(*item) : settings.Load(*item);
}

bool CSettingsStorage::EndList(bool save) {
  if (!m_pListStorage)
    return false;
  CloseListStorage(save);
  return true;
}

bool CSettingsStorage::BeginValueList(const wchar_t *name, uint32_t &count, bool save) {
  CloseListStorage(save);
  m_pListStorage = CreateSubStorage(name);
  if (!m_pListStorage)
    return false;
  const bool opened = save ? m_pListStorage->BeginSave() : m_pListStorage->BeginLoad();
  if (!m_pListStorage->ExchangeULong(L"Count", count, save)) {
    CloseListStorage(save);
    return false;
  }
  return opened;
}

const wchar_t *CSettingsStorage::GetListItemName(uint32_t index) {
  std::swprintf(m_szItemName, 16, L"Item.%u", index);
  return m_szItemName;
}

bool CSettingsStorage::EndValueList(bool save) { return CloseListStorage(save); }
