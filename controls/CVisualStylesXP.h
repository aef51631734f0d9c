#pragma once
#include <memory>
#include <string>

class wxDynamicLibrary;

// Access to the platform's visual-styles library ("UxTheme.dll"). Each function is looked up by
// name on its first call and kept for the rest of the run; when the library or the name is
// missing, a fallback of the same signature answers (no theme, E_FAIL, false), so callers draw
// their classic look. Desktops without that library (Linux) always get the fallbacks.
class CVisualStylesXP {
public:
  using HTHEME = void *;
  using HRESULT = long;
  static constexpr HRESULT S_OK_ = 0;
  static constexpr HRESULT E_FAIL_ = static_cast<HRESULT>(0x80004005L);

  // Native handles as the library takes them (HWND, HDC).
  using NativeWindow = void *;
  using NativeDC = void *;
  struct Rect {
    long left, top, right, bottom;
  };

  CVisualStylesXP();
  // For tests: a library of another name (one that does not exist gives the fallbacks).
  explicit CVisualStylesXP(const std::wstring &libraryName, const std::wstring &comctlName);
  ~CVisualStylesXP();
  CVisualStylesXP(const CVisualStylesXP &) = delete;
  CVisualStylesXP &operator=(const CVisualStylesXP &) = delete;

  bool IsLoaded();

  HTHEME OpenThemeData(NativeWindow hwnd, const wchar_t *classList);
  HRESULT CloseThemeData(HTHEME theme);
  HRESULT DrawThemeBackground(HTHEME theme, NativeDC hdc, int partId, int stateId, const Rect *rect,
                              const Rect *clipRect);
  HRESULT GetThemeColor(HTHEME theme, int partId, int stateId, int propId, unsigned long *color);
  HRESULT GetCurrentThemeName(wchar_t *themeFileName, int maxNameChars, wchar_t *colorBuff,
                              int maxColorChars, wchar_t *sizeBuff, int maxSizeChars);
  bool IsAppThemed();

  // 1 when controls should draw the themed look, else 0. Computed once and kept.
  int IsThemed();

  // The rule behind IsThemed, from what it found out: the common-controls version, whether the
  // theme name could be read and the colour scheme's name, and the two last conditions.
  static int ThemedLookAnswer(unsigned major, unsigned minor, bool nameRead,
                              const std::wstring &colorName, bool appThemed, bool libraryLoaded);

private:
  void *Lookup(const char *name, void *&cache);
  void ReadCommonControlsVersion(unsigned &major, unsigned &minor) const;

  std::unique_ptr<wxDynamicLibrary> m_lib;
  std::wstring m_libName;
  std::wstring m_comctlName;
  int m_themed = -1;
  void *m_pOpenThemeData = nullptr;
  void *m_pCloseThemeData = nullptr;
  void *m_pDrawThemeBackground = nullptr;
  void *m_pGetThemeColor = nullptr;
  void *m_pGetCurrentThemeName = nullptr;
  void *m_pIsAppThemed = nullptr;
};

// The program's one theme access object, from static initialisation to exit.
extern CVisualStylesXP g_xpStyle;
