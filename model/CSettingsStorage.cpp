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

CSettingsStorage::~CSettingsStorage() = default;

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
  const std::unique_ptr<CSettingsStorage> sub = CreateSubStorage(name);
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

bool CSettingsStorage::OpenListStorage(const wchar_t *name, bool save) {
  // A list left open before is closed rather than leaked.
  CloseListStorage(save);
  std::unique_ptr<CSettingsStorage> list = CreateSubStorage(name);
  if (!list || !(save ? list->BeginSave() : list->BeginLoad()))
    return false;
  m_pListStorage = std::move(list);
  return true;
}

bool CSettingsStorage::CloseListStorage(bool save) {
  if (!m_pListStorage)
    return false;
  const bool closed = save ? m_pListStorage->EndSave() : m_pListStorage->EndLoad();
  m_pListStorage.reset();
  return closed;
}

bool CSettingsStorage::BeginList(const wchar_t *name, uint32_t &count, bool save) {
  if (count == kNoCount) {
    CloseListStorage(save);
    return false;
  }
  return OpenListStorage(name, save) && m_pListStorage->ExchangeULong(L"Count", count, save);
}

bool CSettingsStorage::ExchangeListItem(uint32_t index, CSettings &settings, bool save) {
  if (!m_pListStorage)
    return false;
  wchar_t itemName[16];
  std::swprintf(itemName, 16, L"%u", index);
  const std::unique_ptr<CSettingsStorage> item = m_pListStorage->CreateSubStorage(itemName);
  if (!item)
    return false;
  return save ? settings.Save(*item) : settings.Load(*item);
}

bool CSettingsStorage::EndList(bool save) { return CloseListStorage(save); }

bool CSettingsStorage::BeginValueList(const wchar_t *name, uint32_t &count, bool save) {
  if (!OpenListStorage(name, save))
    return false;
  if (!m_pListStorage->ExchangeULong(L"Count", count, save)) {
    CloseListStorage(save);
    return false;
  }
  return true;
}

const wchar_t *CSettingsStorage::GetListItemName(uint32_t index) {
  std::swprintf(m_szItemName, 16, L"Item.%u", index);
  return m_szItemName;
}

bool CSettingsStorage::EndValueList(bool save) { return CloseListStorage(save); }
