#include "controls/CVisualStylesXP.h"

#include <gtest/gtest.h>

using VS = CVisualStylesXP;

TEST(CVisualStylesXP, WithoutTheLibraryEveryCallAnswersItsFallback) {
  VS styles(L"NoSuchThemeLibrary.dll", L"NoSuchComctl.dll");
  EXPECT_FALSE(styles.IsLoaded());
  EXPECT_EQ(styles.OpenThemeData(nullptr, L"COMBOBOX"), nullptr);
  EXPECT_EQ(styles.CloseThemeData(nullptr), VS::E_FAIL_);
  VS::Rect rect{0, 0, 10, 10};
  EXPECT_EQ(styles.DrawThemeBackground(nullptr, nullptr, 1, 1, &rect, nullptr), VS::E_FAIL_);
  unsigned long color = 7;
  EXPECT_EQ(styles.GetThemeColor(nullptr, 1, 1, 3803, &color), VS::E_FAIL_);
  EXPECT_EQ(color, 7u);
  wchar_t file[255], scheme[255];
  EXPECT_EQ(styles.GetCurrentThemeName(file, 255, scheme, 255, nullptr, 0), VS::E_FAIL_);
  EXPECT_FALSE(styles.IsAppThemed());
  EXPECT_EQ(styles.IsThemed(), 0);
  EXPECT_EQ(styles.IsThemed(), 0); // cached
}

TEST(CVisualStylesXP, TheProgramsObjectDrawsClassicOnThisDesktop) {
  EXPECT_EQ(g_xpStyle.IsThemed(), 0);
  EXPECT_EQ(g_xpStyle.OpenThemeData(nullptr, L"EDIT"), nullptr);
}

TEST(CVisualStylesXP, ThemedLookRule) {
  struct Case {
    unsigned major, minor;
    bool nameRead;
    const wchar_t *scheme;
    bool appThemed, loaded;
    int expected;
  };
  const Case cases[] = {
      {6, 0, true, L"NormalColor", true, true, 1},
      {6, 0, true, L"homestead", true, true, 1},
      {6, 0, true, L"METALLIC", true, true, 1},
      {6, 1, true, L"NormalColor", true, true, 0}, // 6.1 and later: classic
      {7, 0, true, L"NormalColor", true, true, 0},
      {5, 82, true, L"NormalColor", true, true, 0},
      {0, 0, true, L"NormalColor", true, true, 0}, // no DllGetVersion
      {6, 0, false, L"NormalColor", true, true, 0},
      {6, 0, true, L"Royale", true, true, 0}, // unknown colour scheme
      {6, 0, true, L"normalcolors", true, true, 0},
      {6, 0, true, L"", true, true, 0},
      {6, 0, true, L"NormalColor", false, true, 0},
      {6, 0, true, L"NormalColor", true, false, 0},
  };
  for (const Case &c : cases)
    EXPECT_EQ(VS::ThemedLookAnswer(c.major, c.minor, c.nameRead, c.scheme, c.appThemed, c.loaded),
              c.expected)
        << c.major << "." << c.minor << " " << std::wstring(c.scheme).size();
}
