#include "Localization.h"

#include "AnsiText.h"
#include "LangStringTable.h"
#include "PrivateProfile.h"
#include "SystemFolders.h"
#include "SystemLanguage.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace {

const wchar_t kLanguageFolderName[] = L"lang_zuzoZorave";
// Values are read into 1024 characters with a stated size of 1023: 1022 characters at most.
const size_t kValueBufferSize = 1023;

// The update check reads the code from its worker thread while the user interface may change
// it: a lock keeps the string whole.
std::mutex g_languageLock;
std::wstring g_currentLanguage = L"en";

void SetCurrentLanguage(const std::wstring &code) {
  std::lock_guard<std::mutex> lock(g_languageLock);
  g_currentLanguage = code;
}

std::string LookupFilePath() { return WideToUtf8(GetLanguageFolder() + L"/language_lookup.ini"); }

} // namespace

std::wstring GetLanguageFolder() {
  const char *folder = std::getenv("VANTOREL_LANG_FOLDER");
  if (folder && *folder)
    return Utf8ToWide(folder);
  return GetProgramFolder() + L"/" + kLanguageFolderName;
}

std::wstring GetLanguageFilePath() {
  return GetLanguageFolder() + L"/lang_" + GetCurrentLanguage() + L".ini";
}

std::wstring GetCurrentLanguage() {
  std::lock_guard<std::mutex> lock(g_languageLock);
  return g_currentLanguage;
}

bool LookupSystemLanguage() {
  wchar_t key[16];
  std::swprintf(key, 16, L"0x%04X", static_cast<unsigned>(GetSystemDefaultLangID()));
  const std::wstring code =
      GetPrivateProfileString(L"LANGUAGE", key, L"", kValueBufferSize, LookupFilePath());
  if (code.empty())
    return false;
  SetCurrentLanguage(code);
  return true;
}

std::wstring SelectLanguage(const std::wstring &setting) {
  if (setting != L"auto")
    SetCurrentLanguage(setting);
  else if (!LookupSystemLanguage())
    SetCurrentLanguage(L"en");
  return GetCurrentLanguage();
}

std::wstring ConvertLangEscapes(const std::wstring &value, bool tabs) {
  std::wstring out;
  out.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == L'\\' && i + 1 < value.size()) {
      if (value[i + 1] == L'n') {
        out += L'\n';
        ++i;
        continue;
      }
      if (tabs && value[i + 1] == L't') {
        out += L'\t';
        ++i;
        continue;
      }
    }
    out += value[i];
  }
  return out;
}

std::wstring ReadLangFileValue(const std::wstring &section, const std::wstring &key) {
  return GetPrivateProfileString(section, key, L"", kValueBufferSize,
                                 WideToUtf8(GetLanguageFilePath()));
}

std::wstring LookupLangValue(const std::wstring &section, const std::wstring &key) {
  return ConvertLangEscapes(ReadLangFileValue(section, key), true);
}

std::wstring LoadLangString(int id) {
  const std::wstring text = LookupLangValue(L"STRING", std::to_wstring(id));
  return text.empty() ? LoadBuiltInString(id) : text;
}

std::wstring TranslateByDictionary(const std::wstring &text) {
  if (text.empty())
    return text;
  const std::wstring translated = ReadLangFileValue(L"DICTIONARY", text);
  return translated.empty() ? text : translated;
}
