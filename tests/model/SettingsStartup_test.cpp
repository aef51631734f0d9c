#include "SettingsStartup.h"

#include "AnsiText.h"
#include "CFSMSettings.h"
#include "SystemFolders.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The per-user store and the documents folder both live in the test's own folder.
class SettingsStartupTest : public ::testing::Test {
protected:
  void SetUp() override {
    setenv("VANTOREL_CONFIG_FILE", config.c_str(), 1);
    setenv("VANTOREL_DOCUMENTS_DIR", docs.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("VANTOREL_CONFIG_FILE");
    unsetenv("VANTOREL_DOCUMENTS_DIR");
  }
  void WriteStore(const std::string &values) {
    WriteFileBytes(config, "[Software/Orvanel/RIV Urazod]\n" + values);
  }
  TempDir dir;
  std::string config = dir.file("registry.conf");
  std::string docs = dir.file("Documents");
  std::wstring wdocs = Utf8ToWide(docs);
};

TEST_F(SettingsStartupTest, FirstRunFillsTheDefaultsAndCreatesTheFolders) {
  CFSMSettings s;
  PrepareSettings(s);
  EXPECT_EQ(s.OutputFolder, wdocs + L"/Orvanel/ZOZ Avar Izaded/output/");
  EXPECT_EQ(s.TmpFolder, wdocs + L"/Orvanel/ZOZ Avar Izaded/tmp/");
  EXPECT_EQ(s.TrackFolder, wdocs);
  EXPECT_EQ(s.languageID, L"auto");
  EXPECT_EQ(s.bMergeOn, 1);
  EXPECT_TRUE(PathExists(s.OutputFolder));
  EXPECT_TRUE(PathExists(s.TmpFolder));
  EXPECT_FALSE(FileExists(config)); // nothing is written before the save
}

TEST_F(SettingsStartupTest, AKeyWithOnlyTheOutputFolder) {
  WriteStore("OutputFolder=" + dir.file("out/") + "\n");
  CFSMSettings s;
  s.languageID = L"de"; // a record that held other values before the load
  s.bMergeOn = 0;
  PrepareSettings(s);
  EXPECT_EQ(s.OutputFolder, Utf8ToWide(dir.file("out/")));
  EXPECT_EQ(s.TmpFolder, wdocs + L"/Orvanel/ZOZ Avar Izaded/tmp/");
  EXPECT_EQ(s.languageID, L"auto");
  EXPECT_EQ(s.bMergeOn, 1);
  EXPECT_TRUE(PathExists(s.OutputFolder));
}

TEST_F(SettingsStartupTest, MergeSwitchOffSurvivesARestart) {
  WriteStore("Vantorel_Tessary=0\nlanguageID=jp\n");
  CFSMSettings s;
  PrepareSettings(s);
  EXPECT_EQ(s.bMergeOn, 0);
  EXPECT_EQ(s.languageID, L"jp");
  s.bMergeOn = 1; // toggled once
  ASSERT_TRUE(SaveSettings(s));
  CFSMSettings again;
  PrepareSettings(again);
  EXPECT_EQ(again.bMergeOn, 1);
  EXPECT_EQ(again.languageID, L"jp");
}

TEST_F(SettingsStartupTest, LongFoldersAreReadCompletely) {
  const std::string longFolder = dir.file(std::string(180, 'f') + "/");
  WriteStore("OutputFolder=" + longFolder + "\n");
  CFSMSettings s;
  PrepareSettings(s);
  EXPECT_EQ(s.OutputFolder, Utf8ToWide(longFolder));
}

TEST_F(SettingsStartupTest, OutputOptionsAreBackAtTheirStartValuesAfterARestart) {
  CFSMSettings s;
  PrepareSettings(s);
  s.nPaperSize = 6, s.nNUp = 2, s.nOrientation = 2, s.bOpenPwd = 1, s.strOpenPwd = L"pw";
  s.bPermissionPwd = 1, s.strPermissionPwd = L"pp", s.bEditingAllowed = 1;
  s.bCopyingAllowed = 1, s.bPrintingAllowed = 1;
  ASSERT_TRUE(SaveSettings(s));
  PrepareSettings(s); // the same record, loaded again
  EXPECT_EQ(s.nPaperSize, 1);
  EXPECT_EQ(s.nNUp, 1);
  EXPECT_EQ(s.nOrientation, 0);
  EXPECT_EQ(s.bOpenPwd, 0);
  EXPECT_TRUE(s.strOpenPwd.empty());
  EXPECT_EQ(s.bPermissionPwd, 0);
  EXPECT_TRUE(s.strPermissionPwd.empty());
  EXPECT_EQ(s.bEditingAllowed + s.bCopyingAllowed + s.bPrintingAllowed, 0);
}

TEST_F(SettingsStartupTest, CorruptStoreGivesTheDefaults) {
  // Control bytes, including a zero, a group line without its end and a key that is no text.
  const char corrupt[] = "\0\x01\x02[Software/Orvanel/RIV Urazod\n\xFF\xFE=\n";
  WriteFileBytes(config, std::string(corrupt, sizeof corrupt - 1));
  CFSMSettings s;
  PrepareSettings(s);
  EXPECT_EQ(s.OutputFolder, wdocs + L"/Orvanel/ZOZ Avar Izaded/output/");
  EXPECT_EQ(s.languageID, L"auto");
  EXPECT_EQ(s.bMergeOn, 1);
}

TEST_F(SettingsStartupTest, BadValuesFallBackOneByOne) {
  WriteStore("Vantorel_Tessary=yes\nlanguageID=\nTmpFolder=" + dir.file("t/") + "\n");
  CFSMSettings s;
  PrepareSettings(s);
  EXPECT_EQ(s.bMergeOn, 1);     // not a number: missing
  EXPECT_EQ(s.languageID, L""); // present but empty: kept as stored
  EXPECT_EQ(s.TmpFolder, Utf8ToWide(dir.file("t/")));
}

TEST_F(SettingsStartupTest, FailedSaveLeavesTheStoredFileAlone) {
  // The store's path is a folder: the save cannot complete and must say so.
  setenv("VANTOREL_CONFIG_FILE", dir.path().c_str(), 1);
  WriteFileBytes(dir.file("inside.txt"), "kept");
  CFSMSettings s;
  PrepareSettings(s);
  EXPECT_FALSE(SaveSettings(s));
  EXPECT_EQ(ReadFileBytes(dir.file("inside.txt")), "kept");
}

} // namespace
