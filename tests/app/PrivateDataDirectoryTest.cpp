// The show's private data directory: where it goes, what it looks like, and which leftovers of
// earlier runs the next start removes (only those provably of a dead show).
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/FileTree.h"
#include "app/PrivateDataDirectory.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDirectory.h"

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

namespace {

// The process id of a process that has ended and been reaped.
pid_t DeadProcessId() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  int status = 0;
  waitpid(child, &status, 0);
  return child;
}

class PrivateDataDirectoryTest : public ::testing::Test {
 protected:
  PrivateDataDirectoryTest()
      : m_runtime(m_sandbox.path() / "runtime"), m_xdg("XDG_RUNTIME_DIR", m_runtime.c_str()),
        m_tmp("TMPDIR", (m_sandbox.path() / "tmp").c_str()) {
    fs::create_directory(m_runtime);
    fs::create_directory(m_sandbox.path() / "tmp");
  }

  // A directory in the runtime directory laid out like a show's, with a lock file naming pid.
  fs::path LeftOver(const std::string& name, pid_t pid) {
    const fs::path directory = m_runtime / name;
    fs::create_directories(directory / "engine_data");
    WriteWholeFile(directory / "engine_data" / "music.mp3", "music");
    WriteWholeFile(directory / kLockFileName, std::to_string(pid) + "\n");
    fs::permissions(directory, fs::perms::owner_all);
    return directory;
  }
  std::vector<std::string> RuntimeEntries() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_runtime)) names.push_back(entry.path().filename().string());
    return names;
  }

  TempDirectory m_sandbox;
  fs::path m_runtime;
  ScopedEnvironment m_xdg;
  ScopedEnvironment m_tmp;
};

TEST_F(PrivateDataDirectoryTest, AFreshOwnerOnlyDirectoryPerShowWithALockNamingTheProcess) {
  PrivateDataDirectory first;
  PrivateDataDirectory second;
  std::string error;
  ASSERT_TRUE(first.Create(&error)) << error;
  ASSERT_TRUE(second.Create(&error)) << error;
  EXPECT_NE(first.path(), second.path());
  for (const PrivateDataDirectory* directory : {&first, &second}) {
    const fs::path path(directory->path());
    EXPECT_EQ(path.parent_path(), m_runtime);
    EXPECT_TRUE(IsPrivateDirectoryName(path.filename().string())) << path;
    EXPECT_EQ(fs::symlink_status(path).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(ReadWholeFile(path / kLockFileName), std::to_string(getpid()) + "\n");
    // Locked while the show lives.
    const int lock = open((path / kLockFileName).c_str(), O_RDONLY);
    EXPECT_NE(flock(lock, LOCK_EX | LOCK_NB), 0);
    close(lock);
  }

  // Whatever the unpacking put there goes too, read-only or not.
  fs::create_directories(fs::path(first.path()) / "engine_data" / "sub");
  WriteWholeFile(fs::path(first.path()) / "engine_data" / "sub" / "ro.txt", "ro");
  fs::permissions(fs::path(first.path()) / "engine_data" / "sub", fs::perms(0555));
  const std::string firstPath = first.path();
  first.Delete();
  EXPECT_FALSE(fs::exists(firstPath));
  EXPECT_EQ(first.path(), "");
  first.Delete();
  EXPECT_THAT(RuntimeEntries(), ElementsAre(fs::path(second.path()).filename().string()));
  second.Delete();
  EXPECT_THAT(RuntimeEntries(), IsEmpty());
}

TEST_F(PrivateDataDirectoryTest, BaseIsTheRuntimeDirectoryElseTmpdirElseTmp) {
  {
    ScopedEnvironment relative("XDG_RUNTIME_DIR", "relative/run");
    EXPECT_THAT(DataDirectoryBases(), ElementsAre((m_sandbox.path() / "tmp").string(), "/tmp"));
  }
  {
    ScopedEnvironment unset("XDG_RUNTIME_DIR", nullptr);
    ScopedEnvironment empty("TMPDIR", "");
    EXPECT_THAT(DataDirectoryBases(), ElementsAre("/tmp"));
  }
  // A runtime directory that cannot take one falls back to the next base.
  WriteWholeFile(m_sandbox.path() / "not-a-directory", "");
  ScopedEnvironment broken("XDG_RUNTIME_DIR", (m_sandbox.path() / "not-a-directory").c_str());
  PrivateDataDirectory directory;
  std::string error;
  ASSERT_TRUE(directory.Create(&error)) << error;
  EXPECT_EQ(fs::path(directory.path()).parent_path(), m_sandbox.path() / "tmp");
  directory.Delete();
}

TEST_F(PrivateDataDirectoryTest, NamePatternIsExactlyWhatMkdtempMakes) {
  EXPECT_TRUE(IsPrivateDirectoryName("pulsar-data-a1B2c3"));
  EXPECT_TRUE(IsPrivateDirectoryName("pulsar-data-XXXXXX"));
  EXPECT_FALSE(IsPrivateDirectoryName("pulsar-data-a1B2c"));
  EXPECT_FALSE(IsPrivateDirectoryName("pulsar-data-a1B2c34"));
  EXPECT_FALSE(IsPrivateDirectoryName("pulsar-data-a1B.c3"));
  EXPECT_FALSE(IsPrivateDirectoryName("pulsar-test-a1B2c3"));
  EXPECT_FALSE(IsPrivateDirectoryName("xpulsar-data-a1B2c"));
  EXPECT_FALSE(IsPrivateDirectoryName(""));
}

TEST_F(PrivateDataDirectoryTest, OnlyProvablyDeadShowsDirectoriesAreRemoved) {
  const pid_t dead = DeadProcessId();
  LeftOver("pulsar-data-dead01", dead);
  LeftOver("pulsar-data-live01", getpid());
  LeftOver("pulsar-data-dead0", dead);      // not the pattern
  LeftOver("other-data-dead01", dead);      // not the pattern
  const fs::path noLock = LeftOver("pulsar-data-nolock", dead);
  fs::remove(noLock / kLockFileName);
  const fs::path garbage = LeftOver("pulsar-data-junk01", dead);
  WriteWholeFile(garbage / kLockFileName, "not a process id");
  const fs::path zero = LeftOver("pulsar-data-zero01", 0);
  // A lock whose process id says dead but which somebody still holds: a live show in another
  // pid namespace.
  const fs::path held = LeftOver("pulsar-data-held01", dead);
  const int holder = open((held / kLockFileName).c_str(), O_RDONLY);
  ASSERT_EQ(flock(holder, LOCK_EX), 0);
  // A link with the show's name leads elsewhere; neither it nor its target is touched.
  const fs::path elsewhere = m_sandbox.path() / "elsewhere";
  fs::create_directory(elsewhere);
  WriteWholeFile(elsewhere / kLockFileName, std::to_string(dead) + "\n");
  fs::create_directory_symlink(elsewhere, m_runtime / "pulsar-data-link01");
  // A plain file with the show's name.
  WriteWholeFile(m_runtime / "pulsar-data-file01", std::to_string(dead) + "\n");

  EXPECT_EQ(RemoveStaleDataDirectories(m_runtime.string()), 1);
  EXPECT_THAT(RuntimeEntries(), UnorderedElementsAre("pulsar-data-live01", "pulsar-data-dead0", "other-data-dead01",
                                                     "pulsar-data-nolock", "pulsar-data-junk01", "pulsar-data-zero01",
                                                     "pulsar-data-held01", "pulsar-data-link01", "pulsar-data-file01"));
  EXPECT_EQ(ReadWholeFile(elsewhere / kLockFileName), std::to_string(dead) + "\n");
  EXPECT_EQ(ReadWholeFile(noLock / "engine_data" / "music.mp3"), "music");
  close(holder);

  // Once nobody holds it, the dead one goes at the next start, which makes its own beside it.
  PrivateDataDirectory directory;
  std::string error;
  ASSERT_TRUE(directory.Create(&error)) << error;
  EXPECT_FALSE(fs::exists(held));
  EXPECT_TRUE(fs::exists(m_runtime / "pulsar-data-live01"));
  directory.Delete();
}

TEST_F(PrivateDataDirectoryTest, AnotherUsersDirectoryIsNeverRemoved) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give a directory to another user";
  const fs::path theirs = LeftOver("pulsar-data-their1", DeadProcessId());
  ASSERT_EQ(chown(theirs.c_str(), 65534, 65534), 0);
  ASSERT_EQ(chown((theirs / kLockFileName).c_str(), 65534, 65534), 0);
  EXPECT_EQ(RemoveStaleDataDirectories(m_runtime.string()), 0);
  EXPECT_TRUE(fs::exists(theirs / "engine_data" / "music.mp3"));
}

}  // namespace
