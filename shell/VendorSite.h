#pragma once
#include <string>

// Every address the program uses on the vendor's web site, built in one place from a configured
// host and the fixed URL paths. The host is "http://www.orvanel.example" (a reserved domain that
// reaches no real company); the variable VANTOREL_SITE, when set (for example
// "http://127.0.0.1:8080"), replaces it for every address, so tests, staging servers and a real
// deployment reach all endpoints through one switch. A trailing '/' of the host is ignored.

// The host with its scheme, without a trailing '/'.
std::wstring GetVendorSiteHost();

// The update file, "/vantorel_free.ini" (plain HTTP).
std::wstring GetUpdateFileUrl();
// The download page opened after the start-up update prompt, "/download.html".
std::wstring GetDownloadPageUrl();
// The product home page, "/free-pdf-merger.html" (Homepage command, link of the update dialog).
std::wstring GetHomePageUrl();
// The tutorial page for a language code: "jp", "de" and "fr" (exactly, case-sensitive) have
// pages of their own, every other code the English one.
std::wstring GetTutorialPageUrl(const std::wstring &languageCode);
// The page of the advertised converter product ("Upgrade" of the upsell dialog), over HTTPS
// unless the host is overridden.
std::wstring GetUpgradeProductUrl();
