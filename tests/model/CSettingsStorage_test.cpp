#include "CSettings.h"
#include "CSettingsStorage.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

namespace {

// What the sub-stores of a memory store fail to do.
struct SubStoreFaults {
  bool open = false;
  bool close = false;
};

// A store in memory: every value is raw bytes under its full name; sub-stores share the map.
class MemoryStorage : public CSettingsStorage {
public:
  explicit MemoryStorage(
      std::shared_ptr<std::map<std::wstring, std::vector<unsigned char>>> values,
      std::wstring prefix = L"",
      std::shared_ptr<SubStoreFaults> faults = std::make_shared<SubStoreFaults>())
      : m_values(std::move(values)), m_prefix(std::move(prefix)), m_faults(std::move(faults)) {}

  std::unique_ptr<CSettingsStorage> CreateSubStorage(const wchar_t *name) override {
    return std::make_unique<MemoryStorage>(m_values, m_prefix + name + L"\\", m_faults);
  }
  bool ExchangeBinary(const wchar_t *name, void *data, uint32_t size, bool save) override {
    auto *bytes = static_cast<unsigned char *>(data);
    if (save) {
      (*m_values)[m_prefix + name].assign(bytes, bytes + size);
      return true;
    }
    const auto found = m_values->find(m_prefix + name);
    if (found == m_values->end() || found->second.size() > size)
      return false;
    std::copy(found->second.begin(), found->second.end(), bytes);
    return true;
  }
  bool ExchangeText(const wchar_t *name, wchar_t *buffer, uint32_t &length, bool save) override {
    ++textCalls;
    if (save)
      return ExchangeBinary(name, buffer, length * sizeof(wchar_t), true);
    const auto found = m_values->find(m_prefix + name);
    if (found == m_values->end()) {
      length = 0;
      return false;
    }
    const uint32_t units = static_cast<uint32_t>(found->second.size() / sizeof(wchar_t));
    if (units > length) {
      length = units;
      return false;
    }
    std::copy(found->second.begin(), found->second.end(),
              reinterpret_cast<unsigned char *>(buffer));
    length = units;
    return true;
  }
  bool ExchangeDoubleValue(const wchar_t *name, double &value, bool save) override {
    return ExchangeBinary(name, &value, sizeof value, save);
  }
  bool ExchangeBool(const wchar_t *name, bool &value, bool save) override {
    return ExchangeBinary(name, &value, sizeof value, save);
  }
  bool ExchangeDWord(const wchar_t *name, uint32_t &value, bool save) override {
    return ExchangeBinary(name, &value, sizeof value, save);
  }
  bool ExchangeInt(const wchar_t *name, int32_t &value, bool save) override {
    return ExchangeBinary(name, &value, sizeof value, save);
  }
  bool BeginLoad() override { return Open(); }
  bool BeginSave() override { return Open(); }
  bool EndLoad() override { return Close(); }
  bool EndSave() override { return Close(); }

  int textCalls = 0;
  int m_opens = 0;
  std::shared_ptr<std::map<std::wstring, std::vector<unsigned char>>> m_values;
  std::wstring m_prefix;
  std::shared_ptr<SubStoreFaults> m_faults;

private:
  bool IsSubStore() const { return !m_prefix.empty(); }
  bool Open() {
    if (IsSubStore() && m_faults->open)
      return false;
    ++m_opens;
    return true;
  }
  bool Close() {
    --m_opens;
    return !(IsSubStore() && m_faults->close);
  }
};

struct Point : CSettings {
  int32_t x = 0, y = 0;
  bool Exchange(bool, CSettingsStorage &s, bool save, bool) override {
    return s.ExchangeInt(L"x", x, save) && s.ExchangeInt(L"y", y, save);
  }
};

class SettingsStorageTest : public ::testing::Test {
protected:
  std::shared_ptr<std::map<std::wstring, std::vector<unsigned char>>> values =
      std::make_shared<std::map<std::wstring, std::vector<unsigned char>>>();
  MemoryStorage storage{values};
};

TEST_F(SettingsStorageTest, ShortTextsNeedOneReadLongTextsTwo) {
  std::wstring shortText = L"short", longText(300, L'L'), exact(128, L'E');
  ASSERT_TRUE(storage.ExchangeString(L"s", shortText, true));
  ASSERT_TRUE(storage.ExchangeString(L"l", longText, true));
  ASSERT_TRUE(storage.ExchangeString(L"e", exact, true));
  storage.textCalls = 0;
  std::wstring read;
  EXPECT_TRUE(storage.ExchangeString(L"s", read, false));
  EXPECT_EQ(read, L"short");
  EXPECT_EQ(storage.textCalls, 1);
  EXPECT_TRUE(storage.ExchangeString(L"e", read, false));
  EXPECT_EQ(read, exact);
  EXPECT_EQ(storage.textCalls, 2);
  EXPECT_TRUE(storage.ExchangeString(L"l", read, false));
  EXPECT_EQ(read, longText);
  EXPECT_EQ(storage.textCalls, 4);
}

TEST_F(SettingsStorageTest, TextStopsAtTheFirstZeroAndMissingTextsChangeNothing) {
  std::wstring withZero(L"ab\0cd", 5);
  storage.ExchangeString(L"z", withZero, true);
  std::wstring read = L"old";
  EXPECT_TRUE(storage.ExchangeString(L"z", read, false));
  EXPECT_EQ(read, L"ab");
  read = L"old";
  EXPECT_FALSE(storage.ExchangeString(L"missing", read, false));
  EXPECT_EQ(read, L"old");
  std::wstring empty;
  EXPECT_TRUE(storage.ExchangeString(L"empty", empty, true));
  read = L"old";
  EXPECT_TRUE(storage.ExchangeString(L"empty", read, false));
  EXPECT_EQ(read, L"");
}

TEST_F(SettingsStorageTest, SmallTypesAreWidenedAndComeBackTheSame) {
  unsigned char uc = 200;
  signed char c = -100;
  uint16_t us = 65000;
  int16_t s = -32000;
  uint32_t ul = 4000000000u;
  int32_t l = -2000000000;
  float f = 1.5f;
  double d = -2.25;
  long double ld = 3.125L;
  ASSERT_TRUE(storage.ExchangeUChar(L"uc", uc, true) && storage.ExchangeChar(L"c", c, true) &&
              storage.ExchangeUShort(L"us", us, true) && storage.ExchangeShort(L"s", s, true) &&
              storage.ExchangeULong(L"ul", ul, true) && storage.ExchangeLong(L"l", l, true) &&
              storage.ExchangeFloat(L"f", f, true) && storage.ExchangeDouble(L"d", d, true) &&
              storage.ExchangeLongDouble(L"ld", ld, true));
  // Widening is visible in what was stored: a char becomes a sign-extended 32-bit number.
  int32_t asInt = 0;
  ASSERT_TRUE(storage.ExchangeInt(L"c", asInt, false));
  EXPECT_EQ(asInt, -100);
  EXPECT_EQ((*values)[L"ld"].size(), sizeof(double));
  uc = 0, c = 0, us = 0, s = 0, ul = 0, l = 0, f = 0, d = 0, ld = 0;
  EXPECT_TRUE(storage.ExchangeUChar(L"uc", uc, false) && storage.ExchangeChar(L"c", c, false) &&
              storage.ExchangeUShort(L"us", us, false) && storage.ExchangeShort(L"s", s, false) &&
              storage.ExchangeULong(L"ul", ul, false) && storage.ExchangeLong(L"l", l, false) &&
              storage.ExchangeFloat(L"f", f, false) && storage.ExchangeDouble(L"d", d, false) &&
              storage.ExchangeLongDouble(L"ld", ld, false));
  EXPECT_EQ(uc, 200);
  EXPECT_EQ(c, -100);
  EXPECT_EQ(us, 65000);
  EXPECT_EQ(s, -32000);
  EXPECT_EQ(ul, 4000000000u);
  EXPECT_EQ(l, -2000000000);
  EXPECT_EQ(f, 1.5f);
  EXPECT_EQ(d, -2.25);
  EXPECT_EQ(ld, 3.125L);
  int32_t untouched = 7;
  EXPECT_FALSE(storage.ExchangeLong(L"absent", untouched, false));
  EXPECT_EQ(untouched, 7);
}

TEST_F(SettingsStorageTest, ListsOfRecordsUseCountAndNumberedSubStores) {
  Point points[3];
  for (int i = 0; i < 3; ++i)
    points[i].x = i * 10, points[i].y = -i;
  uint32_t count = 3;
  ASSERT_TRUE(storage.BeginList(L"L", count, true));
  for (uint32_t i = 0; i < count; ++i)
    EXPECT_TRUE(storage.ExchangeListItem(i, points[i], true));
  EXPECT_TRUE(storage.EndList(true));
  EXPECT_EQ(values->count(L"L\\Count"), 1u);
  EXPECT_EQ(values->count(L"L\\2\\x"), 1u);

  uint32_t readCount = 0;
  ASSERT_TRUE(storage.BeginList(L"L", readCount, false));
  EXPECT_EQ(readCount, 3u);
  Point back;
  EXPECT_TRUE(storage.ExchangeListItem(2, back, false));
  EXPECT_EQ(back.x, 20);
  EXPECT_EQ(back.y, -2);
  EXPECT_FALSE(storage.ExchangeListItem(3, back, false)); // no such item
  EXPECT_TRUE(storage.EndList(false));
  EXPECT_FALSE(storage.EndList(false)); // nothing open any more
  EXPECT_FALSE(storage.ExchangeListItem(0, back, false));
}

TEST_F(SettingsStorageTest, ListCountMinusOneIsRefused) {
  uint32_t count = 0xFFFFFFFFu;
  EXPECT_FALSE(storage.BeginList(L"L", count, true));
  EXPECT_EQ(storage.ListStorage(), nullptr);
  EXPECT_TRUE(values->empty());
}

TEST_F(SettingsStorageTest, AListStoreThatCannotOpenOrCloseIsAFailure) {
  uint32_t count = 2;
  storage.m_faults->open = true;
  EXPECT_FALSE(storage.BeginList(L"L", count, true));
  EXPECT_EQ(storage.ListStorage(), nullptr);
  EXPECT_FALSE(storage.BeginValueList(L"V", count, true));
  EXPECT_EQ(storage.ListStorage(), nullptr);
  EXPECT_TRUE(values->empty()); // nothing written through a store that did not open

  storage.m_faults->open = false;
  storage.m_faults->close = true;
  ASSERT_TRUE(storage.BeginList(L"L", count, true));
  EXPECT_FALSE(storage.EndList(true));
  EXPECT_EQ(storage.ListStorage(), nullptr); // forgotten all the same
  ASSERT_TRUE(storage.BeginValueList(L"V", count, true));
  EXPECT_FALSE(storage.EndValueList(true));
  EXPECT_EQ(storage.ListStorage(), nullptr);
}

TEST_F(SettingsStorageTest, ValueListsUseItemNames) {
  uint32_t count = 2;
  ASSERT_TRUE(storage.BeginValueList(L"V", count, true));
  std::wstring first = L"one", second = L"two";
  EXPECT_STREQ(storage.GetListItemName(0), L"Item.0");
  EXPECT_TRUE(storage.ListStorage()->ExchangeString(storage.GetListItemName(0), first, true));
  EXPECT_TRUE(storage.ListStorage()->ExchangeString(storage.GetListItemName(1), second, true));
  EXPECT_TRUE(storage.EndValueList(true));
  EXPECT_EQ(values->count(L"V\\Item.1"), 1u);
  EXPECT_FALSE(storage.EndValueList(true));

  uint32_t readCount = 0;
  EXPECT_FALSE(storage.BeginValueList(L"Missing", readCount, false)); // no "Count"
  EXPECT_EQ(storage.ListStorage(), nullptr);
  ASSERT_TRUE(storage.BeginValueList(L"V", readCount, false));
  EXPECT_EQ(readCount, 2u);
  std::wstring read;
  EXPECT_TRUE(storage.ListStorage()->ExchangeString(storage.GetListItemName(1), read, false));
  EXPECT_EQ(read, L"two");
  EXPECT_STREQ(storage.GetListItemName(4294967295u), L"Item.4294967295");
  EXPECT_TRUE(storage.EndValueList(false));
}

TEST_F(SettingsStorageTest, NestedRecordsGoThroughASubStore) {
  Point p;
  p.x = 5;
  p.y = 6;
  EXPECT_TRUE(storage.ExchangeSettings(L"P", p, true));
  EXPECT_EQ(values->count(L"P\\y"), 1u);
  Point back;
  EXPECT_TRUE(storage.ExchangeSettings(L"P", back, false));
  EXPECT_EQ(back.y, 6);
  EXPECT_FALSE(storage.ExchangeSettings(L"Q", back, false));
}

} // namespace
