#include "CSettings.h"
#include "CSettingsStorageRegistry.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <wx/fileconf.h>

#include <cstdlib>
#include <iterator>

namespace {

const wchar_t kKey[] = L"Software\\Orvanel\\RIV Urazod";

class RegistryStorageTest : public ::testing::Test {
protected:
  void SetUp() override { setenv("VANTOREL_CONFIG_FILE", configPath.c_str(), 1); }
  void TearDown() override { unsetenv("VANTOREL_CONFIG_FILE"); }
  TempDir dir;
  std::string configPath = dir.file("config/registry.conf");
};

TEST_F(RegistryStorageTest, ValuesSurviveInTheFileWithTheirNames) {
  {
    CSettingsStorageRegistry store(kKey);
    ASSERT_TRUE(store.BeginSave());
    std::wstring text = L"  Ordner \u00E9 \"q\" \\ back";
    uint32_t dword = 4000000000u;
    int32_t negative = -7;
    bool flag = true;
    double d = 0.1;
    float f = -3.5f;
    unsigned char blob[5] = {0, 1, 2, 254, 255};
    EXPECT_TRUE(store.ExchangeString(L"OutputFolder", text, true));
    EXPECT_TRUE(store.ExchangeDWord(L"Number", dword, true));
    EXPECT_TRUE(store.ExchangeInt(L"Negative", negative, true));
    EXPECT_TRUE(store.ExchangeBool(L"Flag", flag, true));
    EXPECT_TRUE(store.ExchangeDouble(L"Double", d, true));
    EXPECT_TRUE(store.ExchangeFloat(L"Float", f, true));
    EXPECT_TRUE(store.ExchangeBinary(L"Blob", blob, sizeof blob, true));
    EXPECT_TRUE(store.EndSave());
  }
  const std::string file = ReadFileBytes(configPath);
  EXPECT_NE(file.find("[Software/Orvanel/RIV\\ Urazod]"), std::string::npos) << file;
  EXPECT_NE(file.find("Number=4000000000"), std::string::npos) << file;

  CSettingsStorageRegistry store(kKey);
  ASSERT_TRUE(store.BeginLoad());
  std::wstring text;
  uint32_t dword = 0;
  int32_t negative = 0;
  bool flag = false;
  double d = 0;
  float f = 0;
  unsigned char blob[5] = {};
  EXPECT_TRUE(store.ExchangeString(L"OutputFolder", text, false));
  EXPECT_EQ(text, L"  Ordner \u00E9 \"q\" \\ back");
  EXPECT_TRUE(store.ExchangeDWord(L"number", dword, false)); // names ignore case, as keys do
  EXPECT_EQ(dword, 4000000000u);
  EXPECT_TRUE(store.ExchangeInt(L"Negative", negative, false));
  EXPECT_EQ(negative, -7);
  EXPECT_TRUE(store.ExchangeBool(L"Flag", flag, false));
  EXPECT_TRUE(flag);
  EXPECT_TRUE(store.ExchangeDouble(L"Double", d, false));
  EXPECT_EQ(d, 0.1);
  EXPECT_TRUE(store.ExchangeFloat(L"Float", f, false));
  EXPECT_EQ(f, -3.5f);
  EXPECT_TRUE(store.ExchangeBinary(L"Blob", blob, sizeof blob, false));
  EXPECT_EQ(blob[3], 254);
  unsigned char small[2];
  EXPECT_FALSE(store.ExchangeBinary(L"Blob", small, sizeof small, false)); // does not fit
  EXPECT_TRUE(store.EndLoad());
}

TEST_F(RegistryStorageTest, TextReadGivesTheNeededLengthWhenTheBufferIsShort) {
  {
    CSettingsStorageRegistry store(kKey);
    ASSERT_TRUE(store.BeginSave());
    std::wstring text(200, L'x');
    store.ExchangeString(L"Long", text, true);
    ASSERT_TRUE(store.EndSave());
  }
  CSettingsStorageRegistry store(kKey);
  ASSERT_TRUE(store.BeginLoad());
  wchar_t buffer[128];
  uint32_t length = 128;
  EXPECT_FALSE(store.ExchangeText(L"Long", buffer, length, false));
  EXPECT_EQ(length, 200u);
  length = 128;
  EXPECT_FALSE(store.ExchangeText(L"Absent", buffer, length, false));
  EXPECT_EQ(length, 0u);
  std::wstring text;
  EXPECT_TRUE(store.ExchangeString(L"Long", text, false));
  EXPECT_EQ(text, std::wstring(200, L'x'));
}

TEST_F(RegistryStorageTest, MissingKeyDoesNotOpenForReading) {
  CSettingsStorageRegistry store(kKey);
  EXPECT_FALSE(store.BeginLoad());
  EXPECT_EQ(store.OpenKey(), nullptr);
  EXPECT_TRUE(store.EndLoad());         // nothing open: nothing to close
  EXPECT_FALSE(FileExists(configPath)); // reading creates nothing
  EXPECT_EQ(store.CreateSubStorage(L"sub"), nullptr);
}

TEST_F(RegistryStorageTest, TypeIsNotExaminedOnRead) {
  {
    CSettingsStorageRegistry store(kKey);
    ASSERT_TRUE(store.BeginSave());
    std::wstring word = L"abc", number = L"12";
    uint32_t one = 1;
    store.ExchangeString(L"Word", word, true);
    store.ExchangeString(L"NumberText", number, true);
    store.ExchangeDWord(L"One", one, true);
    ASSERT_TRUE(store.EndSave());
  }
  CSettingsStorageRegistry store(kKey);
  ASSERT_TRUE(store.BeginLoad());
  uint32_t value = 99;
  EXPECT_FALSE(store.ExchangeDWord(L"Word", value, false));
  EXPECT_EQ(value, 99u);
  EXPECT_TRUE(store.ExchangeDWord(L"NumberText", value, false));
  EXPECT_EQ(value, 12u);
  std::wstring text;
  EXPECT_TRUE(store.ExchangeString(L"One", text, false));
  EXPECT_EQ(text, L"1");
}

TEST_F(RegistryStorageTest, AwkwardTextsComeBackUnchanged) {
  const std::wstring texts[] = {
      L"",
      L"   leading and trailing   ",
      L"a=b;c#d [section] \"quoted\"",
      L"\"whole in quotes\"",
      L"line\nbreak\ttab\rreturn",
      L"back\\slash\\",
      L"$HOME/${USER}/%PATH%/\\$x",
      L"/home/\u00FCser/\u65E5\u672C/\U0001F600/",
      std::wstring(5000, L'z'),
  };
  {
    CSettingsStorageRegistry store(kKey);
    ASSERT_TRUE(store.BeginSave());
    for (size_t i = 0; i < std::size(texts); ++i) {
      std::wstring text = texts[i];
      EXPECT_TRUE(store.ExchangeString(std::to_wstring(i).c_str(), text, true));
    }
    ASSERT_TRUE(store.EndSave());
  }
  CSettingsStorageRegistry store(kKey);
  ASSERT_TRUE(store.BeginLoad());
  for (size_t i = 0; i < std::size(texts); ++i) {
    std::wstring text = L"unchanged";
    EXPECT_TRUE(store.ExchangeString(std::to_wstring(i).c_str(), text, false)) << i;
    EXPECT_EQ(text, texts[i]) << i;
  }
}

struct Pair : CSettings {
  std::wstring name;
  int32_t size = 0;
  bool Exchange(bool, CSettingsStorage &s, bool save, bool) override {
    return s.ExchangeString(L"Name", name, save) && s.ExchangeInt(L"Size", size, save);
  }
};

TEST_F(RegistryStorageTest, ListsBecomeSubKeys) {
  {
    CSettingsStorageRegistry store(kKey);
    ASSERT_TRUE(store.BeginSave());
    uint32_t count = 2;
    ASSERT_TRUE(store.BeginList(L"Recent", count, true));
    Pair a, b;
    a.name = L"a.pdf", a.size = 1;
    b.name = L"b.pdf", b.size = 2;
    EXPECT_TRUE(store.ExchangeListItem(0, a, true));
    EXPECT_TRUE(store.ExchangeListItem(1, b, true));
    EXPECT_TRUE(store.EndList(true));
    ASSERT_TRUE(store.EndSave());
  }
  const std::string file = ReadFileBytes(configPath);
  EXPECT_NE(file.find("[Software/Orvanel/RIV\\ Urazod/Recent/1]"), std::string::npos) << file;

  CSettingsStorageRegistry store(kKey);
  ASSERT_TRUE(store.BeginLoad());
  uint32_t count = 0;
  ASSERT_TRUE(store.BeginList(L"Recent", count, false));
  EXPECT_EQ(count, 2u);
  Pair b;
  EXPECT_TRUE(store.ExchangeListItem(1, b, false));
  EXPECT_EQ(b.name, L"b.pdf");
  EXPECT_EQ(b.size, 2);
  EXPECT_TRUE(store.EndList(false));
}

TEST_F(RegistryStorageTest, KeyPathIsCutTo260Units) {
  const std::wstring longName(300, L'k');
  CSettingsStorageRegistry store(longName.c_str());
  ASSERT_TRUE(store.BeginSave());
  EXPECT_EQ(store.OpenKey()->path, L"/" + std::wstring(260, L'k'));
}

TEST_F(RegistryStorageTest, CorruptFileReadsQuietlyAndIsReplacedOnlyByAGoodSave) {
  WriteFileBytes(configPath, ""); // make sure the folder exists
  WriteFileBytes(configPath, std::string("\xFF\xFE\0\x01[[[garbage\n=\n[Software\n\x80", 20));
  CSettingsStorageRegistry reader(kKey);
  EXPECT_FALSE(reader.BeginLoad());
  CSettingsStorageRegistry writer(kKey);
  ASSERT_TRUE(writer.BeginSave());
  std::wstring text = L"fresh";
  EXPECT_TRUE(writer.ExchangeString(L"OutputFolder", text, true));
  EXPECT_TRUE(writer.EndSave());
  CSettingsStorageRegistry again(kKey);
  ASSERT_TRUE(again.BeginLoad());
  std::wstring read;
  EXPECT_TRUE(again.ExchangeString(L"OutputFolder", read, false));
  EXPECT_EQ(read, L"fresh");
}

TEST_F(RegistryStorageTest, UnwritableStoreFailsTheSave) {
  WriteFileBytes(dir.file("blocker"), "not a folder");
  setenv("VANTOREL_CONFIG_FILE", dir.file("blocker/registry.conf").c_str(), 1);
  CSettingsStorageRegistry store(kKey);
  ASSERT_TRUE(store.BeginSave());
  std::wstring text = L"x";
  store.ExchangeString(L"OutputFolder", text, true);
  EXPECT_FALSE(store.EndSave());
  EXPECT_EQ(ReadFileBytes(dir.file("blocker")), "not a folder");
}

TEST_F(RegistryStorageTest, GivenConfigurationServesAsRoot) {
  auto config =
      std::make_shared<wxFileConfig>(wxT("t"), wxEmptyString, wxString(dir.file("own.conf")),
                                     wxEmptyString, wxCONFIG_USE_LOCAL_FILE);
  CSettingsStorageRegistry store(config, L"A\\B");
  ASSERT_TRUE(store.BeginSave());
  int32_t v = 3;
  EXPECT_TRUE(store.ExchangeInt(L"V", v, true));
  EXPECT_TRUE(store.EndSave());
  EXPECT_NE(ReadFileBytes(dir.file("own.conf")).find("[A/B]"), std::string::npos);
  EXPECT_FALSE(FileExists(configPath));
}

} // namespace
