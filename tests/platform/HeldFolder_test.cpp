#include "HeldFolder.h"

#include "AnsiText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

namespace {

bool Exists(const std::string &path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

void MakeOld(const std::string &path) {
  struct utimbuf times {};
  times.actime = times.modtime = ::time(nullptr) - 3600;
  ASSERT_EQ(0, ::utime(path.c_str(), &times));
}

// A folder made and held by another process that then ends without removing it, as a crash
// leaves it.
std::string AbandonedByAChild(const std::wstring &parent) {
  int pipes[2];
  if (::pipe(pipes) != 0)
    return "";
  const pid_t child = ::fork();
  if (child == 0) {
    HeldFolder *folder = new HeldFolder; // never destroyed: the process just ends
    const std::string path = folder->Create(parent, "preview-") ? WideToUtf8(folder->Path()) : "";
    (void)!::write(pipes[1], path.data(), path.size());
    ::_exit(0);
  }
  ::close(pipes[1]);
  char buffer[4096];
  const ssize_t n = ::read(pipes[0], buffer, sizeof buffer);
  ::close(pipes[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return n > 0 ? std::string(buffer, n) : "";
}

TEST(HeldFolder, OnlyFoldersNoLongerHeldAreRemoved) {
  TempDir dir;
  const std::wstring parent = Utf8ToWide(dir.path());
  HeldFolder held;
  ASSERT_TRUE(held.Create(parent, "preview-"));
  const std::string heldPath = WideToUtf8(held.Path());
  std::ofstream(heldPath + "/preview.pdf") << "sheets";
  MakeOld(heldPath);

  const std::string abandoned = AbandonedByAChild(parent);
  ASSERT_FALSE(abandoned.empty());
  std::ofstream(abandoned + "/preview.pdf") << "left by a crash";
  const std::string fresh = AbandonedByAChild(parent); // not old enough to be sure of
  const std::string other = dir.file("preview.pdf"), unrelated = dir.file("keep-me");
  std::ofstream(other) << "a file, not a folder";
  ASSERT_EQ(0, ::mkdir(unrelated.c_str(), 0700));
  MakeOld(abandoned);
  MakeOld(unrelated);

  RemoveAbandonedFolders(parent, "preview-");
  EXPECT_FALSE(Exists(abandoned));
  EXPECT_TRUE(Exists(heldPath + "/preview.pdf"));
  EXPECT_TRUE(Exists(fresh));
  EXPECT_TRUE(Exists(other));
  EXPECT_TRUE(Exists(unrelated));

  held.Remove();
  EXPECT_FALSE(Exists(heldPath));
  EXPECT_TRUE(held.Path().empty());
}

TEST(HeldFolder, CreateFailsWithoutItsParent) {
  TempDir dir;
  HeldFolder folder;
  EXPECT_FALSE(folder.Create(Utf8ToWide(dir.file("missing")), "preview-"));
  EXPECT_TRUE(folder.Path().empty());
}

} // namespace
