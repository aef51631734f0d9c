#include "VendorSite.h"

#include "AnsiText.h"

#include <cstdlib>

namespace {

const wchar_t kDefaultHost[] = L"http://www.orvanel.example";
// The product page is served over HTTPS from the same site.
const wchar_t kDefaultSecureHost[] = L"https://www.orvanel.example";
const wchar_t kUpgradeProductPath[] = L"/pdf-converter-ultimate.html";

// The override host, without a trailing '/'; empty when none is configured.
std::wstring OverrideHost() {
  const char *value = std::getenv("VANTOREL_SITE");
  if (!value || !*value)
    return std::wstring();
  std::wstring host = Utf8ToWide(value);
  while (!host.empty() && host.back() == L'/')
    host.pop_back();
  return host;
}

} // namespace

std::wstring GetVendorSiteHost() {
  const std::wstring host = OverrideHost();
  return host.empty() ? kDefaultHost : host;
}

std::wstring GetUpdateFileUrl() { return GetVendorSiteHost() + L"/vantorel_free.ini"; }

std::wstring GetDownloadPageUrl() { return GetVendorSiteHost() + L"/download.html"; }

std::wstring GetHomePageUrl() { return GetVendorSiteHost() + L"/free-pdf-merger.html"; }

std::wstring GetTutorialPageUrl(const std::wstring &languageCode) {
  for (const wchar_t *code : {L"jp", L"de", L"fr"})
    if (languageCode == code)
      return GetVendorSiteHost() + L"/" + code + L"/pdf-merger-tutorial.html";
  return GetVendorSiteHost() + L"/pdf-merger-tutorial.html";
}

std::wstring GetUpgradeProductUrl() {
  const std::wstring host = OverrideHost();
  return (host.empty() ? std::wstring(kDefaultSecureHost) : host) + kUpgradeProductPath;
}
