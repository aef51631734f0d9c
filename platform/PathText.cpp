#include "PathText.h"

namespace {

template <typename Text> size_t LastSeparator(const Text &path, PathSeparators separators) {
  using Char = typename Text::value_type;
  const Char both[] = {Char('/'), Char('\\'), Char(0)};
  return separators == PathSeparators::kSlash ? path.rfind(Char('/')) : path.find_last_of(both);
}

template <typename Text> Text NameOf(const Text &path, PathSeparators separators) {
  const size_t slash = LastSeparator(path, separators);
  return slash == Text::npos ? Text() : path.substr(slash + 1);
}

template <typename Text> bool FolderOf(const Text &path, Text *folder, PathSeparators separators) {
  const size_t slash = LastSeparator(path, separators);
  if (slash == Text::npos)
    return false;
  *folder = path.substr(0, slash);
  return true;
}

} // namespace

std::wstring FileNameOfPath(const std::wstring &path, PathSeparators separators) {
  return NameOf(path, separators);
}

std::string FileNameOfPath(const std::string &path, PathSeparators separators) {
  return NameOf(path, separators);
}

std::wstring FileTitleOfPath(const std::wstring &path, PathSeparators separators) {
  std::wstring name = NameOf(path, separators);
  const size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos && dot > 0)
    name.erase(dot);
  return name;
}

bool FolderOfPath(const std::wstring &path, std::wstring *folder, PathSeparators separators) {
  return FolderOf(path, folder, separators);
}

bool FolderOfPath(const std::string &path, std::string *folder, PathSeparators separators) {
  return FolderOf(path, folder, separators);
}

std::wstring ContainingFolder(const std::wstring &path) {
  std::wstring trimmed = path;
  while (trimmed.size() > 1 && trimmed.back() == L'/')
    trimmed.pop_back();
  const size_t slash = trimmed.rfind(L'/');
  if (slash == std::wstring::npos)
    return L".";
  return slash == 0 ? L"/" : trimmed.substr(0, slash);
}
