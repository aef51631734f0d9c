#include "SystemLanguage.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(SystemLanguageTest, LocaleNamesMapToWindowsIdentifiers) {
  const struct {
    const char *locale;
    uint16_t id;
  } cases[] = {
      {"de_DE.UTF-8", 0x0407},
      {"de_AT.UTF-8", 0x0C07},
      {"de_CH", 0x0807},
      {"de", 0x0407},
      {"de_XX", 0x0407},
      {"en_US.UTF-8", 0x0409},
      {"en_GB.UTF-8", 0x0809},
      {"en_AU", 0x0C09},
      {"en", 0x0409},
      {"fr_FR.UTF-8", 0x040C},
      {"fr_CA", 0x0C0C},
      {"fr_BE@euro", 0x080C},
      {"ja_JP.eucJP", 0x0411},
      {"ja", 0x0411},
      {"zh_TW.Big5", 0x0404},
      {"pt_BR", 0x0416},
      {"C", 0x0409},
      {"POSIX", 0x0409},
      {"C.UTF-8", 0x0409},
      {"xx_YY", 0},
      {"", 0},
      {"de-DE", 0x0407},
      {"DE_de", 0x0407},
  };
  for (const auto &c : cases)
    EXPECT_EQ(LangIdFromLocaleName(c.locale), c.id) << c.locale;
}

TEST(SystemLanguageTest, EnvironmentDecidesInPosixOrder) {
  unsetenv("LC_ALL");
  unsetenv("LC_MESSAGES");
  unsetenv("LANG");
  EXPECT_EQ(GetSystemDefaultLangID(), 0x0409);
  setenv("LANG", "fr_FR.UTF-8", 1);
  EXPECT_EQ(GetSystemDefaultLangID(), 0x040C);
  setenv("LC_MESSAGES", "ja_JP.UTF-8", 1);
  EXPECT_EQ(GetSystemDefaultLangID(), 0x0411);
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  EXPECT_EQ(GetSystemDefaultLangID(), 0x0407);
  setenv("LC_ALL", "", 1); // empty counts as unset
  EXPECT_EQ(GetSystemDefaultLangID(), 0x0411);
}

} // namespace
