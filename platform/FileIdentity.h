#pragma once
#include <cstdint>
#include <string>

// Which file a path names, asked of the file system: to tell two names of one file apart from
// two files, and a file that changed from one that did not.

struct FileStamp {
  bool bExists = false;
  uint64_t nDevice = 0, nInode = 0;
  int64_t nSize = -1;
  int64_t nModified = 0; // modification time, nanoseconds since 1970
};

// The stamp of what path names, links followed; bExists false when nothing is there.
FileStamp ReadFileStamp(const std::wstring &path);

// The path with every link followed (as far as the links lead, also into what does not exist
// yet), "." and ".." resolved, and made absolute: where a write to path would land.
std::wstring ResolvedPath(const std::wstring &path);

// True when writing to output would replace or write into the file input names: both name the
// same file (device and inode), or they lead to the same place once links are followed, also
// when nothing exists there yet.
bool IsSameFile(const std::wstring &input, const std::wstring &output);
