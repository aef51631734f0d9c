#include "SystemFolders.h"

#include "AnsiText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsFolder(const std::wstring &path) {
  struct stat info;
  return stat(WideToUtf8(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

TEST(SystemFoldersTest, ProgramFolderIsTheTestsOwnFolder) {
  const std::wstring folder = GetProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), L'/');
  EXPECT_TRUE(PathExists(folder + L"/platform_tests"));
}

TEST(SystemFoldersTest, CreateFolderPathMakesEveryMissingLevel) {
  TempDir dir;
  const std::wstring base = Utf8ToWide(dir.path());
  const std::wstring deep = base + L"/Orvanel/ZOZ Avar Izaded/output/";
  CreateFolderPath(deep);
  EXPECT_TRUE(IsFolder(base + L"/Orvanel/ZOZ Avar Izaded/output"));
  CreateFolderPath(deep); // already there: nothing happens
  EXPECT_TRUE(IsFolder(base + L"/Orvanel/ZOZ Avar Izaded/output"));
  CreateFolderPath(base + L"/\u00C9t\u00E9/\u65E5\u672C");
  EXPECT_TRUE(IsFolder(base + L"/\u00C9t\u00E9/\u65E5\u672C"));
}

TEST(SystemFoldersTest, CreateFolderPathIgnoresFailures) {
  TempDir dir;
  const std::wstring base = Utf8ToWide(dir.path());
  WriteFileBytes(dir.file("file"), "x");
  CreateFolderPath(base + L"/file/sub"); // a file in the way
  EXPECT_FALSE(PathExists(base + L"/file/sub"));
  EXPECT_EQ(ReadFileBytes(dir.file("file")), "x");
  if (geteuid() != 0) { // root ignores folder permissions
    chmod(dir.path().c_str(), 0500);
    CreateFolderPath(base + L"/locked/sub");
    chmod(dir.path().c_str(), 0700);
    EXPECT_FALSE(PathExists(base + L"/locked"));
  }
  CreateFolderPath(L"");
  CreateFolderPath(L"/");
}

TEST(SystemFoldersTest, EnvironmentPointsTheUserFoldersElsewhere) {
  setenv("VANTOREL_DOCUMENTS_DIR", "/tmp/docs-here", 1);
  setenv("VANTOREL_APPDATA_DIR", "/tmp/appdata-here", 1);
  EXPECT_EQ(GetDocumentsFolder(), L"/tmp/docs-here");
  EXPECT_EQ(GetRoamingAppDataFolder(), L"/tmp/appdata-here");
  unsetenv("VANTOREL_DOCUMENTS_DIR");
  unsetenv("VANTOREL_APPDATA_DIR");
  setenv("XDG_CONFIG_HOME", "/tmp/xdg-config", 1);
  EXPECT_EQ(GetRoamingAppDataFolder(), L"/tmp/xdg-config");
  setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  setenv("HOME", "/tmp/home-x", 1);
  EXPECT_EQ(GetRoamingAppDataFolder(), L"/tmp/home-x/.config");
  EXPECT_EQ(GetDocumentsFolder(), L"/tmp/home-x"); // no user-dirs.dirs: the home folder
  unsetenv("XDG_CONFIG_HOME");
}

TEST(SystemFoldersTest, DocumentsFolderFromTheDesktopsUserFolders) {
  TempDir dir;
  const std::wstring home = Utf8ToWide(dir.path());
  setenv("HOME", dir.path().c_str(), 1);
  setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
  CreateFolderPath(home + L"/config");
  CreateFolderPath(home + L"/Dokumente");
  WriteFileBytes(dir.file("config/user-dirs.dirs"), "# written by xdg-user-dirs-update\n"
                                                    "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                                    "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
  EXPECT_EQ(GetDocumentsFolder(), home + L"/Dokumente");
  // An absolute folder is taken as it is; one that does not exist leaves the home folder.
  WriteFileBytes(dir.file("config/user-dirs.dirs"),
                 "XDG_DOCUMENTS_DIR=\"" + dir.path() + "/config\"\n");
  EXPECT_EQ(GetDocumentsFolder(), home + L"/config");
  WriteFileBytes(dir.file("config/user-dirs.dirs"), "XDG_DOCUMENTS_DIR=\"$HOME/Gone\"\n");
  EXPECT_EQ(GetDocumentsFolder(), home);
  unsetenv("XDG_CONFIG_HOME");
}

} // namespace
