#pragma once
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

class CSettings;

// Base of a typed store. Each typed exchange reads (save false) or writes (save true) one named
// value and returns true on success; a failed read leaves the caller's variable unchanged.
// Small types are widened and passed on to the few abstract exchanges a concrete store
// provides. Lists are kept in a sub-store: "Count" plus one sub-store per record ("0", "1", …)
// or one value per plain item ("Item.0", "Item.1", …).
class CSettingsStorage {
public:
  CSettingsStorage();
  virtual ~CSettingsStorage();
  CSettingsStorage(const CSettingsStorage &) = delete;
  CSettingsStorage &operator=(const CSettingsStorage &) = delete;

  // A new store for the named sub-section of this one; null on failure.
  virtual std::unique_ptr<CSettingsStorage> CreateSubStorage(const wchar_t *name) = 0;
  virtual bool ContinueOnError();
  virtual bool BeginSave();
  virtual bool EndSave();
  virtual bool BeginLoad();
  virtual bool EndLoad();

  virtual bool ExchangeString(const wchar_t *name, std::wstring &text, bool save);
  virtual bool ExchangeSettings(const wchar_t *name, CSettings &settings, bool save);
  virtual bool ExchangeFloat(const wchar_t *name, float &value, bool save);
  virtual bool ExchangeDouble(const wchar_t *name, double &value, bool save);
  virtual bool ExchangeLongDouble(const wchar_t *name, long double &value, bool save);
  virtual bool ExchangeUChar(const wchar_t *name, unsigned char &value, bool save);
  virtual bool ExchangeChar(const wchar_t *name, signed char &value, bool save);
  virtual bool ExchangeUShort(const wchar_t *name, uint16_t &value, bool save);
  virtual bool ExchangeShort(const wchar_t *name, int16_t &value, bool save);
  virtual bool ExchangeULong(const wchar_t *name, uint32_t &value, bool save);
  virtual bool ExchangeLong(const wchar_t *name, int32_t &value, bool save);

  // size bytes at data; reading fails when the stored value is larger than size.
  virtual bool ExchangeBinary(const wchar_t *name, void *data, uint32_t size, bool save) = 0;
  // length UTF-16 units at buffer. Reading: length is the buffer's size on entry and the
  // number of units read on success; on failure it holds the size needed when the value is
  // longer than the buffer, else 0.
  virtual bool ExchangeText(const wchar_t *name, wchar_t *buffer, uint32_t &length, bool save) = 0;
  virtual bool ExchangeDoubleValue(const wchar_t *name, double &value, bool save) = 0;
  virtual bool ExchangeBool(const wchar_t *name, bool &value, bool save) = 0;
  virtual bool ExchangeDWord(const wchar_t *name, uint32_t &value, bool save) = 0;
  virtual bool ExchangeInt(const wchar_t *name, int32_t &value, bool save) = 0;

  // Opens the list sub-store name and exchanges its "Count"; count -1 is refused. False, with
  // no list open, when the sub-store cannot be made or opened.
  virtual bool BeginList(const wchar_t *name, uint32_t &count, bool save);
  // Exchanges record number index of the open list.
  virtual bool ExchangeListItem(uint32_t index, CSettings &settings, bool save);
  // Closes the open list; the close's result, false when no list is open.
  virtual bool EndList(bool save);
  // Opens the value list sub-store name and exchanges its "Count".
  virtual bool BeginValueList(const wchar_t *name, uint32_t &count, bool save);
  // "Item.<index>": the name under which item index of a value list is exchanged on the list
  // store (ListStorage()). Valid until the next call.
  virtual const wchar_t *GetListItemName(uint32_t index);
  // Closes the open value list; the close's result, false when no list is open.
  virtual bool EndValueList(bool save);

  // The store of the open list, null when none.
  CSettingsStorage *ListStorage() const { return m_pListStorage.get(); }

protected:
  // A value stored as its own bytes through ExchangeBinary; on load it changes only when the
  // stored bytes were read.
  template <typename T> bool ExchangeBytesOf(const wchar_t *name, T &value, bool save) {
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof bytes);
    if (!ExchangeBinary(name, bytes, sizeof bytes, save))
      return false;
    if (!save)
      std::memcpy(&value, bytes, sizeof bytes);
    return true;
  }

  // Makes and opens the list store name; false, with none kept, when either fails.
  bool OpenListStorage(const wchar_t *name, bool save);
  // Closes (EndSave or EndLoad), deletes and forgets the list store; the close's result.
  bool CloseListStorage(bool save);

  std::unique_ptr<CSettingsStorage> m_pListStorage;
  wchar_t m_szItemName[16];
};
