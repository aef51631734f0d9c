#pragma once
#include <string>

// Pieces of a path as text, without asking the file system.

// What ends a folder name. The file system here knows only '/' (a '\' is an ordinary character
// of a file name); the file list and the Add Files dialog also take '\', as paths written on
// Windows have it.
enum class PathSeparators { kSlash, kSlashOrBackslash };

// The file name: the text after the last separator; empty when the path has none.
std::wstring FileNameOfPath(const std::wstring &path,
                            PathSeparators separators = PathSeparators::kSlash);
std::string FileNameOfPath(const std::string &path,
                           PathSeparators separators = PathSeparators::kSlash);

// The file title: the file name cut before its last '.' unless that '.' is its first character
// ("a.b.pdf" gives "a.b", ".pdf" stays ".pdf"); empty when the path has no separator.
std::wstring FileTitleOfPath(const std::wstring &path,
                             PathSeparators separators = PathSeparators::kSlash);

// The folder of a path: the text before its last separator (empty for "/a"). False, with
// *folder untouched, when the path has no separator.
bool FolderOfPath(const std::wstring &path, std::wstring *folder,
                  PathSeparators separators = PathSeparators::kSlash);
bool FolderOfPath(const std::string &path, std::string *folder,
                  PathSeparators separators = PathSeparators::kSlash);

// The folder that holds what path names, trailing '/' of path ignored: "/" for an entry of the
// root, "." for a bare name.
std::wstring ContainingFolder(const std::wstring &path);
