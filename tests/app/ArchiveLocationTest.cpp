// Where the show looks for demo.dat: the working directory, beside the program, the installed
// data directory, in that order; a named file as it is.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/ArchiveLocation.h"
#include "support/FileTree.h"
#include "support/TempDirectory.h"

namespace fs = std::filesystem;
using ::testing::ElementsAre;

namespace {

class ArchiveLocationTest : public ::testing::Test {
 protected:
  ArchiveLocationTest() : m_work(/*enter=*/true) {
    fs::create_directories(Program());
    fs::create_directories(Installed());
  }
  fs::path Program() const { return m_prefix.path() / "bin"; }
  fs::path Installed() const { return m_prefix.path() / "share" / "pulsar"; }
  std::string Found(const std::string& named = "") {
    std::string path;
    std::string error;
    if (!FindArchive(named, Program().string(), &path, &error)) return "none: " + error;
    return path;
  }

  TempDirectory m_prefix;
  TempDirectory m_work;
};

TEST_F(ArchiveLocationTest, LooksInTheWorkingDirectoryThenBesideTheProgramThenTheInstalledData) {
  EXPECT_THAT(ArchiveCandidates(Program().string()),
              ElementsAre("demo.dat", (Program() / "demo.dat").string(), (Installed() / "demo.dat").string()));
  EXPECT_EQ(Found(), "none: demo.dat: No such file or directory (looked in the working directory, " +
                         Program().string() + " and " + Installed().string() + ")");
  WriteWholeFile(Installed() / "demo.dat", "installed");
  EXPECT_EQ(Found(), (Installed() / "demo.dat").string());
  WriteWholeFile(Program() / "demo.dat", "beside");
  EXPECT_EQ(Found(), (Program() / "demo.dat").string());
  // One there that cannot be read still wins: opening it says why, rather than another copy
  // quietly playing instead.
  fs::create_directory("demo.dat");
  EXPECT_EQ(Found(), "demo.dat");
}

TEST_F(ArchiveLocationTest, ANamedArchiveIsTakenAsItIs) {
  WriteWholeFile("demo.dat", "here");
  EXPECT_EQ(Found("/nowhere/show.zip"), "/nowhere/show.zip");
  EXPECT_THAT(ArchiveCandidates(""), ElementsAre("demo.dat"));
}

}  // namespace
