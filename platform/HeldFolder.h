#pragma once
#include <string>

// A folder made for one piece of work and held by the process while it lasts. The hold is a
// lock that the system lets go of when the process ends, however it ends, so a later run can
// tell a folder left behind by a crash from one another running program still uses.
class HeldFolder {
public:
  HeldFolder() = default;
  ~HeldFolder(); // lets go of the folder without removing it
  HeldFolder(const HeldFolder &) = delete;
  HeldFolder &operator=(const HeldFolder &) = delete;

  // Makes a new folder parent/prefix + six random characters and holds it; parent must exist.
  // False, holding nothing, when it cannot.
  bool Create(const std::wstring &parent, const std::string &prefix);
  // The folder, without a trailing separator; empty when none is held.
  const std::wstring &Path() const { return m_path; }
  // Removes the folder with everything in it and lets go.
  void Remove();

private:
  std::wstring m_path;
  int m_fd = -1;
};

// Removes the folders parent/prefix* that no running process holds and that are older than
// minAgeSeconds (a folder just made may not be held yet). Other entries are left alone.
void RemoveAbandonedFolders(const std::wstring &parent, const std::string &prefix,
                            int minAgeSeconds = 60);
