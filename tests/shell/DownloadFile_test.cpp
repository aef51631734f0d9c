#include "AnsiText.h"
#include "DownloadFile.h"
#include "LocalHttpServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <dirent.h>

namespace {

const std::wstring kStatusFormat = L"Download remote file %s failed, error code: HTTP %d!";

std::wstring Url(const LocalHttpServer &server, const std::string &path) {
  return Utf8ToWide(server.host() + path);
}

// Names in a folder, to see that no staging file is left behind.
int CountEntries(const std::string &folder) {
  int count = 0;
  if (DIR *dir = opendir(folder.c_str())) {
    while (dirent *entry = readdir(dir))
      count += entry->d_name[0] != '.';
    closedir(dir);
  }
  return count;
}

} // namespace

TEST(DownloadFile, WritesTheBodyAndCreatesTheFolder) {
  LocalHttpServer server;
  server.Respond(200, "[Gerneral]\nversion=191\n");
  TempDir dir;
  const std::string target = dir.file("a/b/version.ini");
  std::wstring error = L"untouched";
  EXPECT_TRUE(
      DownloadFile(Url(server, "/vantorel_free.ini"), Utf8ToWide(target), &error, kStatusFormat));
  EXPECT_EQ("[Gerneral]\nversion=191\n", ReadFileBytes(target));
  EXPECT_EQ(1, CountEntries(dir.file("a/b")));
  // The request asks caches for a fresh copy and names the program.
  EXPECT_NE(std::string::npos, server.lastRequest().find("GET /vantorel_free.ini HTTP/1.1"));
  EXPECT_NE(std::string::npos, server.lastRequest().find("Cache-Control: no-cache"));
  EXPECT_NE(std::string::npos, server.lastRequest().find("User-Agent: ZOZ Avar Izaded"));
}

TEST(DownloadFile, StatusOtherThan200IsAFailureButTheBodyIsKept) {
  LocalHttpServer server;
  server.Respond(404, "<html>not here</html>");
  TempDir dir;
  const std::string target = dir.file("version.ini");
  WriteFileBytes(target, "old");
  std::wstring error;
  const std::wstring url = Url(server, "/vantorel_free.ini");
  EXPECT_FALSE(DownloadFile(url, Utf8ToWide(target), &error, kStatusFormat));
  EXPECT_EQ(L"Download remote file " + url + L" failed, error code: HTTP 404!", error);
  EXPECT_EQ("<html>not here</html>", ReadFileBytes(target));
}

TEST(DownloadFile, RefusedConnectionGivesTheLibrarysMessageAndKeepsTheOldFile) {
  int port;
  {
    LocalHttpServer server; // a port that was just free and now has no listener
    port = server.port();
  }
  TempDir dir;
  const std::string target = dir.file("version.ini");
  WriteFileBytes(target, "old");
  std::wstring error;
  EXPECT_FALSE(DownloadFile(Utf8ToWide("http://127.0.0.1:" + std::to_string(port) + "/x"),
                            Utf8ToWide(target), &error, kStatusFormat));
  EXPECT_FALSE(error.empty());
  EXPECT_LE(error.size(), 254u);
  EXPECT_EQ("old", ReadFileBytes(target));
  EXPECT_EQ(1, CountEntries(dir.path()));
}

TEST(DownloadFile, SilentServerTimesOut) {
  LocalHttpServer server;
  server.SetMode(LocalHttpServer::Mode::Stall);
  TempDir dir;
  DownloadLimits limits;
  limits.transferTimeoutSeconds = 1;
  std::wstring error;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(DownloadFile(Url(server, "/vantorel_free.ini"), Utf8ToWide(dir.file("v.ini")),
                            &error, kStatusFormat, limits));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  EXPECT_NE(std::wstring::npos, error.find(L"imed out")) << WideToUtf8(error);
  EXPECT_FALSE(FileExists(dir.file("v.ini")));
  EXPECT_EQ(0, CountEntries(dir.path()));
}

TEST(DownloadFile, EndlessBodyIsCutAndReportedAsAFailure) {
  LocalHttpServer server;
  server.SetMode(LocalHttpServer::Mode::Endless);
  TempDir dir;
  DownloadLimits limits;
  limits.maxBodyBytes = 256 * 1024;
  std::wstring error;
  const std::wstring url = Url(server, "/vantorel_free.ini");
  EXPECT_FALSE(DownloadFile(url, Utf8ToWide(dir.file("v.ini")), &error, kStatusFormat, limits));
  EXPECT_EQ(L"The remote file " + url + L" is larger than 262144 bytes.", error);
  EXPECT_EQ(0, CountEntries(dir.path()));
}

TEST(DownloadFile, UnwritableTargetIsReported) {
  LocalHttpServer server;
  server.Respond(200, "x");
  TempDir dir;
  WriteFileBytes(dir.file("file"), "a file, not a folder");
  std::wstring error;
  EXPECT_FALSE(DownloadFile(Url(server, "/x"), Utf8ToWide(dir.file("file/version.ini")), &error,
                            kStatusFormat));
  EXPECT_NE(std::wstring::npos, error.find(L"file/version.ini")) << WideToUtf8(error);
}

TEST(DownloadFile, OnlyWebAddressesAreFetched) {
  TempDir dir;
  WriteFileBytes(dir.file("secret"), "local");
  std::wstring error;
  EXPECT_FALSE(DownloadFile(Utf8ToWide("file://" + dir.file("secret")),
                            Utf8ToWide(dir.file("v.ini")), &error, kStatusFormat));
  EXPECT_FALSE(FileExists(dir.file("v.ini")));
}
