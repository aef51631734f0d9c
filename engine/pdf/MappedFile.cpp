#include "MappedFile.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <new>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace engine::pdf {

namespace {

// The guard's table: what the signal handler may read without locks. A slot is taken by
// storing its end last and given back by clearing its end first.
constexpr int kSlots = MappedFile::kGuardSlots;
struct Slot {
  std::atomic<uintptr_t> begin{0}, end{0};
  std::atomic<bool> truncated{false};
};
Slot g_slots[kSlots];
std::mutex g_slotsLock; // between threads that take and give back slots, never in the handler
struct sigaction g_previous;

void OnBusError(int nSignal, siginfo_t *pInfo, void *pContext) {
  const uintptr_t address = reinterpret_cast<uintptr_t>(pInfo->si_addr);
  for (Slot &slot : g_slots) {
    const uintptr_t end = slot.end.load(std::memory_order_acquire);
    if (end != 0 && address >= slot.begin.load(std::memory_order_relaxed) && address < end) {
      const uintptr_t page = address & ~static_cast<uintptr_t>(sysconf(_SC_PAGESIZE) - 1);
      // Zeros where the file's bytes are gone; the reader meets them as damage.
      mmap(reinterpret_cast<void *>(page), static_cast<size_t>(sysconf(_SC_PAGESIZE)), PROT_READ,
           MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
      slot.truncated.store(true, std::memory_order_release);
      return;
    }
  }
  // Not one of ours: whoever handled it before does, or the default action.
  if (g_previous.sa_flags & SA_SIGINFO) {
    if (g_previous.sa_sigaction != nullptr) {
      g_previous.sa_sigaction(nSignal, pInfo, pContext);
      return;
    }
  } else if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
    g_previous.sa_handler(nSignal);
    return;
  }
  signal(nSignal, SIG_DFL);
  raise(nSignal);
}

void InstallGuard() {
  static std::once_flag once;
  std::call_once(once, [] {
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    sigaction(SIGBUS, &action, &g_previous);
  });
}

} // namespace

std::unique_ptr<MappedFile> MappedFile::Open(const std::string &strPath, std::string &strError) {
  // Without waiting: a named pipe or a device given as a source must not hold the run.
  const int fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    strError = std::strerror(errno);
    return nullptr;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    strError = S_ISDIR(info.st_mode) ? "is a folder" : "is not a regular file";
    ::close(fd);
    return nullptr;
  }
  std::unique_ptr<MappedFile> file(new MappedFile);
  file->m_nSize = static_cast<size_t>(info.st_size);
  file->m_identity = std::to_string(info.st_dev) + ':' + std::to_string(info.st_ino) + ':' +
                     std::to_string(info.st_size) + ':' + std::to_string(info.st_mtim.tv_sec) +
                     '.' + std::to_string(info.st_mtim.tv_nsec);
  if (file->m_nSize == 0) {
    ::close(fd);
    file->m_pData = "";
    return file;
  }
  InstallGuard();
  void *pMap = mmap(nullptr, file->m_nSize, PROT_READ, MAP_PRIVATE, fd, 0);
  if (pMap == MAP_FAILED) {
    strError = std::strerror(errno);
    ::close(fd);
    return nullptr;
  }
  // The slot is chosen and filled under one lock: two files opened at once never share one.
  // Nothing touches the mapping before it is in the table.
  {
    std::lock_guard<std::mutex> lock(g_slotsLock);
    for (int i = 0; i < kSlots && file->m_nSlot < 0; ++i)
      if (g_slots[i].end.load(std::memory_order_relaxed) == 0) {
        Slot &slot = g_slots[i];
        slot.truncated.store(false, std::memory_order_relaxed);
        slot.begin.store(reinterpret_cast<uintptr_t>(pMap), std::memory_order_relaxed);
        slot.end.store(reinterpret_cast<uintptr_t>(pMap) + file->m_nSize,
                       std::memory_order_release);
        file->m_nSlot = i;
      }
  }
  if (file->m_nSlot < 0) {
    // Every slot is taken: the file's bytes are read instead, which no guard needs.
    munmap(pMap, file->m_nSize);
    try {
      file->m_read.resize(file->m_nSize);
    } catch (const std::bad_alloc &) {
      ::close(fd);
      strError = "too large to read while so many files are open";
      return nullptr;
    }
    size_t nDone = 0;
    while (nDone < file->m_nSize) {
      const ssize_t n =
          pread(fd, file->m_read.data() + nDone, file->m_nSize - nDone, static_cast<off_t>(nDone));
      if (n < 0 && errno == EINTR)
        continue;
      if (n <= 0)
        break;
      nDone += static_cast<size_t>(n);
    }
    ::close(fd);
    file->m_read.resize(nDone); // a file cut short meanwhile reads as what is left
    file->m_nSize = nDone;
    file->m_pData = file->m_read.data();
    return file;
  }
  ::close(fd);
  madvise(pMap, file->m_nSize, MADV_SEQUENTIAL);
  file->m_pData = static_cast<const char *>(pMap);
  file->m_nMapped = file->m_nSize;
  return file;
}

bool MappedFile::Truncated() const {
  return m_nSlot >= 0 && g_slots[m_nSlot].truncated.load(std::memory_order_acquire);
}

void MappedFile::ReleasePages() {
  if (m_nMapped != 0)
    madvise(const_cast<char *>(m_pData), m_nMapped, MADV_DONTNEED);
}

MappedFile::~MappedFile() {
  // The slot is given back before the range is unmapped: once unmapped, the same addresses
  // may be mapped again for another file and must not be found under this slot.
  if (m_nSlot >= 0) {
    std::lock_guard<std::mutex> lock(g_slotsLock);
    g_slots[m_nSlot].end.store(0, std::memory_order_release);
  }
  if (m_nMapped != 0)
    munmap(const_cast<char *>(m_pData), m_nMapped);
}

} // namespace engine::pdf
