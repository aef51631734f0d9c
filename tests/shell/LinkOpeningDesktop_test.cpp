// Shell opening against a desktop of the test's own: XDG folders in a temporary folder, with one
// "browser" (a script that writes its arguments to a file) registered for HTML files and no
// handler for web addresses. GIO reads these folders once, so they are set up in main().
#include "AnsiText.h"
#include "LinkOpening.h"
#include "ShellOpen.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

TempDir *g_desktop = nullptr;

std::string Opened() { return g_desktop->file("opened.txt"); }

// Waits for the fake browser to write its arguments (it runs on its own).
std::string WaitForBrowser() {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < end) {
    const std::string text = ReadFileBytes(Opened());
    if (!text.empty() && text.back() == '\n')
      return text;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return ReadFileBytes(Opened());
}

void MakeDesktop(const TempDir &dir) {
  for (const char *folder : {"data", "data/applications", "sys", "config", "sysconfig"})
    mkdir(dir.file(folder).c_str(), 0700);
  // The system's MIME database, so that files get their types, but none of its applications.
  symlink("/usr/share/mime", dir.file("sys/mime").c_str());
  const std::string browser = dir.file("fake browser");
  WriteFileBytes(browser, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done >> \"" +
                              dir.file("opened.txt") + "\"\n");
  chmod(browser.c_str(), 0700);
  WriteFileBytes(dir.file("data/applications/fakebrowser.desktop"),
                 "[Desktop Entry]\nType=Application\nName=Fake Browser\nExec=\"" + browser +
                     "\" --new-tab %u\nMimeType=text/html;\n");
  WriteFileBytes(dir.file("config/mimeapps.list"),
                 "[Default Applications]\ntext/html=fakebrowser.desktop\n");
  setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
  setenv("XDG_DATA_DIRS", dir.file("sys").c_str(), 1);
  setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
  setenv("XDG_CONFIG_DIRS", dir.file("sysconfig").c_str(), 1);
  setenv("GIO_USE_VFS", "local", 1);
  unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

class LinkOpeningDesktop : public ::testing::Test {
protected:
  void SetUp() override { std::remove(Opened().c_str()); }
};

} // namespace

TEST_F(LinkOpeningDesktop, MissingLocalPathsGiveFileAndPathCodes) {
  TempDir dir;
  EXPECT_EQ(2, ShellOpenAddress(Utf8ToWide(dir.file("missing.pdf"))));
  EXPECT_EQ(3, ShellOpenAddress(Utf8ToWide(dir.file("no/such/folder/missing.pdf"))));
  EXPECT_EQ(2, ShellOpenAddress(L""));
}

TEST_F(LinkOpeningDesktop, AddressWithoutHandlerHasNoAssociation) {
  EXPECT_EQ(31, ShellOpenAddress(L"http://127.0.0.1:9/page.html"));
  TempDir dir;
  WriteFileBytes(dir.file("data.zzqq"), std::string("\x01\x02\x03\x00\xff", 5));
  EXPECT_EQ(31, ShellOpenAddress(Utf8ToWide(dir.file("data.zzqq"))));
}

TEST_F(LinkOpeningDesktop, HtmlFileOpensInTheRegisteredBrowser) {
  TempDir dir;
  WriteFileBytes(dir.file("page.html"), "<html><body>hi</body></html>");
  EXPECT_GT(ShellOpenAddress(Utf8ToWide(dir.file("page.html"))), 32);
  const std::string opened = WaitForBrowser();
  EXPECT_NE(std::string::npos, opened.find("--new-tab\n")) << opened;
  EXPECT_NE(std::string::npos, opened.find(dir.path() + "/page.html\n")) << opened;
}

TEST_F(LinkOpeningDesktop, DefaultHtmlCommandIsTheDesktopEntrysExecLine) {
  std::wstring command;
  ASSERT_TRUE(GetDefaultHtmlCommand(&command));
  EXPECT_NE(std::wstring::npos, command.find(L"fake browser\" --new-tab %u"));
}

TEST_F(LinkOpeningDesktop, WebLinkFallsBackToTheHtmlBrowserWithTheAddressAsOneArgument) {
  // Spaces and quotes stay inside the one argument: nothing reaches a shell.
  const std::wstring address = L"http://127.0.0.1:9/a b\";touch x;\".html";
  EXPECT_GT(OpenLinkTarget(address), 32);
  EXPECT_EQ("--new-tab\n" + WideToUtf8(address) + "\n", WaitForBrowser());
}

TEST_F(LinkOpeningDesktop, StartingABrowserThatCannotRunIsReported) {
  EXPECT_EQ(2, StartCommandLine(L"/no/such/browser --flag", L"http://a/"));
  TempDir dir;
  WriteFileBytes(dir.file("not-executable"), "#!/bin/sh\n");
  chmod(dir.file("not-executable").c_str(), 0600);
  EXPECT_EQ(5, StartCommandLine(Utf8ToWide(dir.file("not-executable")), L"http://a/"));
  EXPECT_EQ(0, StartCommandLine(L"\"unclosed quote", L"http://a/"));
  EXPECT_EQ(0, StartCommandLine(L"", L"http://a/"));
}

int main(int argc, char **argv) {
  ::testing::InitGoogleTest(&argc, argv);
  TempDir desktop;
  g_desktop = &desktop;
  MakeDesktop(desktop);
  return RUN_ALL_TESTS();
}
