#include "VendorSite.h"
#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

TEST(VendorSite, DefaultHostGivesEveryEndpoint) {
  unsetenv("VANTOREL_SITE");
  EXPECT_EQ(L"http://www.orvanel.example", GetVendorSiteHost());
  EXPECT_EQ(L"http://www.orvanel.example/vantorel_free.ini", GetUpdateFileUrl());
  EXPECT_EQ(L"http://www.orvanel.example/download.html", GetDownloadPageUrl());
  EXPECT_EQ(L"http://www.orvanel.example/free-pdf-merger.html", GetHomePageUrl());
  EXPECT_EQ(0u, GetUpgradeProductUrl().rfind(L"https://www.orvanel.example/", 0));
}

TEST(VendorSite, OverrideReplacesTheHostOfEveryAddress) {
  ScopedEnv site("VANTOREL_SITE", "http://127.0.0.1:8123//");
  EXPECT_EQ(L"http://127.0.0.1:8123", GetVendorSiteHost());
  EXPECT_EQ(L"http://127.0.0.1:8123/vantorel_free.ini", GetUpdateFileUrl());
  EXPECT_EQ(L"http://127.0.0.1:8123/download.html", GetDownloadPageUrl());
  EXPECT_EQ(L"http://127.0.0.1:8123/free-pdf-merger.html", GetHomePageUrl());
  EXPECT_EQ(0u, GetUpgradeProductUrl().rfind(L"http://127.0.0.1:8123/", 0));
}

TEST(VendorSite, TutorialPageFollowsTheLanguageCodeExactly) {
  unsetenv("VANTOREL_SITE");
  const struct {
    const wchar_t *code;
    const wchar_t *path;
  } cases[] = {
      {L"jp", L"/jp/pdf-merger-tutorial.html"}, {L"de", L"/de/pdf-merger-tutorial.html"},
      {L"fr", L"/fr/pdf-merger-tutorial.html"}, {L"en", L"/pdf-merger-tutorial.html"},
      {L"DE", L"/pdf-merger-tutorial.html"},    {L"ja", L"/pdf-merger-tutorial.html"},
      {L"", L"/pdf-merger-tutorial.html"},      {L"fr_CA", L"/pdf-merger-tutorial.html"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(std::wstring(L"http://www.orvanel.example") + c.path, GetTutorialPageUrl(c.code))
        << "code " << std::string(c.code, c.code + wcslen(c.code));
}
