#include "CFSMSettings.h"
#include "CSettingsStorageRegistry.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

const wchar_t kKey[] = L"Software\\Orvanel\\RIV Urazod";

// A store that fails every exchange and records the names it was asked for.
class FailingStorage : public CSettingsStorage {
public:
  explicit FailingStorage(bool continueOnError) : m_continue(continueOnError) {}
  std::unique_ptr<CSettingsStorage> CreateSubStorage(const wchar_t *) override { return nullptr; }
  bool ContinueOnError() override { return m_continue; }
  bool ExchangeBinary(const wchar_t *n, void *, uint32_t, bool) override { return Fail(n); }
  bool ExchangeText(const wchar_t *n, wchar_t *, uint32_t &length, bool) override {
    length = 0;
    return Fail(n);
  }
  bool ExchangeDoubleValue(const wchar_t *n, double &, bool) override { return Fail(n); }
  bool ExchangeBool(const wchar_t *n, bool &, bool) override { return Fail(n); }
  bool ExchangeDWord(const wchar_t *n, uint32_t &, bool) override { return Fail(n); }
  bool ExchangeInt(const wchar_t *n, int32_t &, bool) override { return Fail(n); }
  std::vector<std::wstring> asked;

private:
  bool Fail(const wchar_t *name) {
    asked.push_back(name);
    return false;
  }
  bool m_continue;
};

TEST(CFSMSettingsTest, StartValues) {
  CFSMSettings s;
  EXPECT_EQ(s.languageID, L"auto");
  EXPECT_EQ(s.bMergeOn, 1);
  EXPECT_TRUE(s.OutputFolder.empty() && s.TrackFolder.empty() && s.TmpFolder.empty());
  EXPECT_EQ(s.nPaperSize, 1);
  EXPECT_EQ(s.nNUp, 1);
  EXPECT_EQ(s.nOrientation, 0);
  EXPECT_EQ(s.bOpenPwd + s.bPermissionPwd + s.bEditingAllowed + s.bCopyingAllowed +
                s.bPrintingAllowed,
            0);
}

TEST(CFSMSettingsTest, LoadFailuresAreSettledWhenTheStoreContinues) {
  FailingStorage storage(true);
  CFSMSettings s;
  s.OutputFolder = L"/kept";
  s.languageID = L"de";
  s.bMergeOn = 0;
  EXPECT_TRUE(s.Exchange(true, storage, false, false));
  EXPECT_EQ(s.OutputFolder, L"/kept");
  EXPECT_EQ(s.languageID, L"auto");
  EXPECT_EQ(s.bMergeOn, 1);
  const std::vector<std::wstring> order = {L"OutputFolder", L"TrackFolder", L"TmpFolder",
                                           L"languageID", L"Vantorel_Tessary"};
  EXPECT_EQ(storage.asked, order);
}

TEST(CFSMSettingsTest, SaveFailureIsReportedAfterTryingEveryValue) {
  FailingStorage storage(true);
  CFSMSettings s;
  EXPECT_FALSE(s.Exchange(true, storage, true, false));
  EXPECT_EQ(storage.asked.size(), 5u);
}

TEST(CFSMSettingsTest, StrictStoreStopsAtTheFirstFailure) {
  FailingStorage storage(false);
  CFSMSettings s;
  s.languageID = L"fr";
  EXPECT_FALSE(s.Exchange(false, storage, false, false));
  EXPECT_EQ(storage.asked.size(), 1u);
  EXPECT_EQ(s.languageID, L"fr");
}

TEST(CFSMSettingsTest, ResetToDefaultsTouchesLanguageAndMergeOnly) {
  FailingStorage storage(true);
  CFSMSettings s;
  s.OutputFolder = L"/out";
  s.languageID = L"jp";
  s.bMergeOn = 0;
  EXPECT_TRUE(s.Exchange(true, storage, false, true));
  EXPECT_TRUE(storage.asked.empty());
  EXPECT_EQ(s.OutputFolder, L"/out");
  EXPECT_EQ(s.languageID, L"auto");
  EXPECT_EQ(s.bMergeOn, 1);
}

class CFSMSettingsStoreTest : public ::testing::Test {
protected:
  void SetUp() override { setenv("VANTOREL_CONFIG_FILE", path.c_str(), 1); }
  void TearDown() override { unsetenv("VANTOREL_CONFIG_FILE"); }
  TempDir dir;
  std::string path = dir.file("registry.conf");
};

TEST_F(CFSMSettingsStoreTest, OnlyThePersistedFieldsAreStored) {
  CFSMSettings s;
  s.OutputFolder = L"/o/";
  s.TrackFolder = L"/t";
  s.TmpFolder = L"/tmp/x/";
  s.languageID = L"de";
  s.bMergeOn = 0;
  s.strOpenPwd = L"secret-open";
  s.strPermissionPwd = L"secret-perm";
  s.nPaperSize = 7;
  CSettingsStorageRegistry out(kKey);
  ASSERT_TRUE(s.Save(out));
  const std::string file = ReadFileBytes(path);
  EXPECT_EQ(file.find("secret"), std::string::npos);
  EXPECT_EQ(file.find("nPaperSize"), std::string::npos);
  for (const char *name :
       {"OutputFolder=", "TrackFolder=", "TmpFolder=", "languageID=de", "Vantorel_Tessary=0"})
    EXPECT_NE(file.find(name), std::string::npos) << name;

  CFSMSettings back;
  CSettingsStorageRegistry in(kKey);
  ASSERT_TRUE(back.Load(in));
  EXPECT_EQ(back.OutputFolder, L"/o/");
  EXPECT_EQ(back.TrackFolder, L"/t");
  EXPECT_EQ(back.TmpFolder, L"/tmp/x/");
  EXPECT_EQ(back.languageID, L"de");
  EXPECT_EQ(back.bMergeOn, 0);
  EXPECT_EQ(back.nPaperSize, 1);
}

TEST_F(CFSMSettingsStoreTest, LoadWithoutKeyFailsAndChangesNothing) {
  CFSMSettings s;
  s.languageID = L"fr";
  CSettingsStorageRegistry in(kKey);
  EXPECT_FALSE(s.Load(in));
  EXPECT_EQ(s.languageID, L"fr");
}

} // namespace
