#include "controls/CVisualStylesXP.h"

#include "TextCompare.h"

#include <cstdint>

#include <wx/dynlib.h>

// The library's calling convention; on other systems there is none to name.
#if defined(_WIN32)
#define VS_API __stdcall
#else
#define VS_API
#endif

CVisualStylesXP g_xpStyle;

namespace {
using OpenThemeDataFn = CVisualStylesXP::HTHEME(VS_API *)(void *, const wchar_t *);
using CloseThemeDataFn = CVisualStylesXP::HRESULT(VS_API *)(CVisualStylesXP::HTHEME);
using DrawThemeBackgroundFn = CVisualStylesXP::HRESULT(VS_API *)(CVisualStylesXP::HTHEME, void *,
                                                                 int, int,
                                                                 const CVisualStylesXP::Rect *,
                                                                 const CVisualStylesXP::Rect *);
using GetThemeColorFn = CVisualStylesXP::HRESULT(VS_API *)(CVisualStylesXP::HTHEME, int, int, int,
                                                           unsigned long *);
using GetCurrentThemeNameFn = CVisualStylesXP::HRESULT(VS_API *)(wchar_t *, int, wchar_t *, int,
                                                                 wchar_t *, int);
using IsAppThemedFn = int(VS_API *)();

// DLLVERSIONINFO: five 32-bit fields, 20 bytes.
struct DllVersionInfo {
  std::uint32_t cbSize, dwMajorVersion, dwMinorVersion, dwBuildNumber, dwPlatformID;
};
using DllGetVersionFn = CVisualStylesXP::HRESULT(VS_API *)(DllVersionInfo *);
} // namespace

CVisualStylesXP::CVisualStylesXP() : CVisualStylesXP(L"UxTheme.dll", L"comctl32.dll") {}

CVisualStylesXP::CVisualStylesXP(const std::wstring &libraryName, const std::wstring &comctlName)
    : m_libName(libraryName), m_comctlName(comctlName) {}

CVisualStylesXP::~CVisualStylesXP() = default;

bool CVisualStylesXP::IsLoaded() {
  // The object is made during static initialisation, before wx's string conversions are
  // certain to exist, so the library is loaded on first use instead. Quiet: a missing library
  // is the normal case off Windows.
  if (!m_lib) {
    m_lib.reset(new wxDynamicLibrary);
    m_lib->Load(wxString(m_libName), wxDL_DEFAULT | wxDL_VERBATIM | wxDL_QUIET);
  }
  return m_lib->IsLoaded();
}

void *CVisualStylesXP::Lookup(const char *name, void *&cache) {
  if (!cache && IsLoaded())
    cache = m_lib->GetSymbol(name);
  return cache;
}

CVisualStylesXP::HTHEME CVisualStylesXP::OpenThemeData(NativeWindow hwnd,
                                                       const wchar_t *classList) {
  if (void *fn = Lookup("OpenThemeData", m_pOpenThemeData))
    return reinterpret_cast<OpenThemeDataFn>(fn)(hwnd, classList);
  return nullptr;
}

CVisualStylesXP::HRESULT CVisualStylesXP::CloseThemeData(HTHEME theme) {
  if (void *fn = Lookup("CloseThemeData", m_pCloseThemeData))
    return reinterpret_cast<CloseThemeDataFn>(fn)(theme);
  return E_FAIL_;
}

CVisualStylesXP::HRESULT CVisualStylesXP::DrawThemeBackground(HTHEME theme, NativeDC hdc,
                                                              int partId, int stateId,
                                                              const Rect *rect,
                                                              const Rect *clipRect) {
  if (void *fn = Lookup("DrawThemeBackground", m_pDrawThemeBackground))
    return reinterpret_cast<DrawThemeBackgroundFn>(fn)(theme, hdc, partId, stateId, rect, clipRect);
  return E_FAIL_;
}

CVisualStylesXP::HRESULT CVisualStylesXP::GetThemeColor(HTHEME theme, int partId, int stateId,
                                                        int propId, unsigned long *color) {
  if (void *fn = Lookup("GetThemeColor", m_pGetThemeColor))
    return reinterpret_cast<GetThemeColorFn>(fn)(theme, partId, stateId, propId, color);
  return E_FAIL_;
}

CVisualStylesXP::HRESULT CVisualStylesXP::GetCurrentThemeName(wchar_t *themeFileName,
                                                              int maxNameChars, wchar_t *colorBuff,
                                                              int maxColorChars, wchar_t *sizeBuff,
                                                              int maxSizeChars) {
  if (void *fn = Lookup("GetCurrentThemeName", m_pGetCurrentThemeName))
    return reinterpret_cast<GetCurrentThemeNameFn>(fn)(themeFileName, maxNameChars, colorBuff,
                                                       maxColorChars, sizeBuff, maxSizeChars);
  return E_FAIL_;
}

bool CVisualStylesXP::IsAppThemed() {
  if (void *fn = Lookup("IsAppThemed", m_pIsAppThemed))
    return reinterpret_cast<IsAppThemedFn>(fn)() != 0;
  return false;
}

void CVisualStylesXP::ReadCommonControlsVersion(unsigned &major, unsigned &minor) const {
  major = minor = 0;
  wxDynamicLibrary comctl;
  if (!comctl.Load(wxString(m_comctlName), wxDL_DEFAULT | wxDL_VERBATIM | wxDL_QUIET))
    return;
  if (void *fn = comctl.GetSymbol("DllGetVersion")) {
    DllVersionInfo info{};
    info.cbSize = sizeof(info);
    if (reinterpret_cast<DllGetVersionFn>(fn)(&info) >= 0) {
      major = info.dwMajorVersion;
      minor = info.dwMinorVersion;
    }
  }
}

int CVisualStylesXP::ThemedLookAnswer(unsigned major, unsigned minor, bool nameRead,
                                      const std::wstring &colorName, bool appThemed,
                                      bool libraryLoaded) {
  if (major != 6 || minor != 0 || !nameRead)
    return 0;
  if (!EqualsNoCase(colorName, L"normalcolor") && !EqualsNoCase(colorName, L"homestead") &&
      !EqualsNoCase(colorName, L"metallic"))
    return 0;
  return appThemed && libraryLoaded ? 1 : 0;
}

int CVisualStylesXP::IsThemed() {
  if (m_themed != -1)
    return m_themed;
  unsigned major = 0, minor = 0;
  ReadCommonControlsVersion(major, minor);
  wchar_t fileName[256] = {0}, colorName[256] = {0};
  bool nameRead = false;
  if (major == 6 && minor == 0)
    nameRead = GetCurrentThemeName(fileName, 255, colorName, 255, nullptr, 0) >= 0;
  bool appThemed = nameRead && IsAppThemed();
  m_themed = ThemedLookAnswer(major, minor, nameRead, colorName, appThemed, IsLoaded());
  return m_themed;
}
