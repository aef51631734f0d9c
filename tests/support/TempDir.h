#pragma once
#include <map>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it
// when the object goes away. Tests write only here.
class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir &) = delete;
  TempDir &operator=(const TempDir &) = delete;

  const std::string &path() const { return m_path; }
  // Path of a file inside the folder.
  std::string file(const std::string &name) const { return m_path + "/" + name; }

private:
  std::string m_path;
};

// Reads a whole file; empty when it cannot be read.
std::string ReadFileBytes(const std::string &path);
// Writes a whole file, replacing it.
void WriteFileBytes(const std::string &path, const std::string &bytes);
bool FileExists(const std::string &path);
// Every entry of a folder by name: a file's bytes, or a link's target followed by " <-".
std::map<std::string, std::string> FolderContents(const std::string &folder);
// Runs a shell command, returns its standard output; the exit status goes to *status.
std::string RunCommand(const std::string &command, int *status = nullptr);
