#include "FileAdding.h"

#include "AnsiText.h"
#include "ItemData.h"
#include "TextCompare.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

const wchar_t kAddFilesFilter[] =
    L"Support Files(*.pdf;*.jpg;*.jpeg;*.png;*bmp;*tif;*.tiff)|*.pdf; *.jpg; *.jpeg; *.png; "
    L"*.bmp; *.tif; *.tiff|\t\t\t\t\t\t  PDF Files(*.pdf)|*.pdf|\t\t\t\t\t\t  Image "
    L"Files(*.jpg;*.jpeg;*.png;*bmp;*tif;*.tiff)|*.jpg; *.jpeg; *.png; *.bmp; *.tif; *.tiff||";

namespace {

std::wstring Trim(const std::wstring &text) {
  const size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos)
    return std::wstring();
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

} // namespace

bool EndsWithSupportedExtension(const std::wstring &path) {
  for (const wchar_t *ext : kSupportedExtensions)
    if (EndsWithNoCase(path, ext))
      return true;
  return false;
}

bool IsDropAcceptable(const std::vector<std::wstring> &paths) {
  return std::any_of(paths.begin(), paths.end(), EndsWithSupportedExtension);
}

void ScanFolder(const std::wstring &folder,
                const std::function<void(const std::wstring &)> &addFile) {
  std::error_code error;
  fs::directory_iterator it(fs::path(WideToUtf8(folder)), error), end;
  for (; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name == "." || name == "..")
      continue;
    const std::wstring path = Utf8ToWide(it->path().string());
    std::error_code statError;
    if (it->is_directory(statError) && !it->is_symlink(statError)) {
      ScanFolder(path, addFile);
      continue;
    }
    const size_t dot = path.rfind(L'.');
    const std::wstring ext = dot == std::wstring::npos ? path : path.substr(dot + 1);
    if (ext == L"pdf" || ext == L"PDF")
      addFile(path);
  }
}

std::wstring DesktopFileFilter(const std::wstring &filter) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  for (;;) {
    const size_t bar = filter.find(L'|', start);
    parts.push_back(
        filter.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start));
    if (bar == std::wstring::npos)
      break;
    start = bar + 1;
  }
  // A description and its patterns in turn; the empty parts of the closing "||" end the list.
  std::wstring result;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].empty() && parts[i + 1].empty())
      break;
    std::wstring patterns;
    size_t from = 0;
    for (;;) {
      const size_t semicolon = parts[i + 1].find(L';', from);
      const std::wstring pattern = Trim(parts[i + 1].substr(
          from, semicolon == std::wstring::npos ? std::wstring::npos : semicolon - from));
      if (!pattern.empty())
        patterns += (patterns.empty() ? L"" : L";") + pattern;
      if (semicolon == std::wstring::npos)
        break;
      from = semicolon + 1;
    }
    if (!result.empty())
      result += L"|";
    result += Trim(parts[i]) + L"|" + patterns;
  }
  return result;
}
