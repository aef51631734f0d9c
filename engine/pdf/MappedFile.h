#pragma once
// A source file mapped into memory rather than copied: only the pages the reader touches take
// memory, and they are the system's file cache, not the program's own. A file cut short by
// another program while it is mapped would make the system stop the program (SIGBUS) when a
// page past the new end is touched; a guard catches exactly those faults, puts a page of
// zeros in place and marks the file as truncated, so the reader sees damage and says so.
// The guard's table has a fixed number of slots, each taken and given back under one lock;
// documents waiting for a later use give their mapping back, and a file opened while every
// slot is taken is read into memory instead, so there is no limit on files open at once.

#include <cstddef>
#include <memory>
#include <string>

namespace engine::pdf {

class MappedFile {
public:
  // Maps the file; null with the system's reason when it cannot be opened or mapped.
  static std::unique_ptr<MappedFile> Open(const std::string &strPath, std::string &strError);
  ~MappedFile();
  MappedFile(const MappedFile &) = delete;
  MappedFile &operator=(const MappedFile &) = delete;

  const char *Data() const { return m_pData; }
  size_t Size() const { return m_nSize; }
  // True once a page past the file's end was touched: the file shrank while it was read.
  bool Truncated() const;
  // Device, inode, size and change time: equal for two openings of an unchanged file.
  const std::string &Identity() const { return m_identity; }
  // The guard slot of the mapping, -1 when the file was read into memory (for tests).
  int GuardSlot() const { return m_nSlot; }
  // Slots in the guard's table.
  static constexpr int kGuardSlots = 256;
  // Drops the pages read so far from the program's memory; they come back from the system's
  // file cache when touched again.
  void ReleasePages();

private:
  MappedFile() = default;
  const char *m_pData = nullptr;
  size_t m_nSize = 0;
  size_t m_nMapped = 0;
  int m_nSlot = -1;
  std::string m_identity;
  std::string m_read; // the file's bytes when no slot was free
};

} // namespace engine::pdf
