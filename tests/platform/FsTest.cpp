// Writing and deleting below a root without ever following a symbolic link.
#include "platform/fs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/TempDirectory.h"

namespace fs = std::filesystem;

namespace {

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Put(const fs::path& path, const std::string& data) { std::ofstream(path, std::ios::binary) << data; }

class FsTest : public ::testing::Test {
 protected:
  FsTest() : m_root(m_directory.path() / "root"), m_outside(m_directory.path() / "outside") {
    fs::create_directory(m_root);
    fs::create_directory(m_outside);
    Put(m_outside / "keep.txt", "keep");
  }
  void ExpectOutsideUntouched() {
    EXPECT_EQ(std::distance(fs::directory_iterator(m_outside), fs::directory_iterator()), 1);
    EXPECT_EQ(Contents(m_outside / "keep.txt"), "keep");
  }
  std::string Root() const { return m_root.string() + "/"; }

  TempDirectory m_directory;
  fs::path m_root;
  fs::path m_outside;
};

TEST_F(FsTest, OutputFileReplacesLinksAndReadOnlyFiles) {
  fs::create_symlink(m_outside / "keep.txt", m_root / "link.txt");
  Put(m_root / "ro.txt", "old");
  fs::permissions(m_root / "ro.txt", fs::perms(0444));

  for (const char* name : {"link.txt", "ro.txt"}) {
    platform::OutputFile file;
    ASSERT_TRUE(file.Create(Root(), "", name, true)) << name;
    ASSERT_TRUE(file.Write("new", 3));
    file.Close();
    EXPECT_FALSE(fs::is_symlink(m_root / name));
    EXPECT_EQ(Contents(m_root / name), "new");
    EXPECT_EQ(fs::status(m_root / name).permissions() & fs::perms::all, fs::perms(0444));
  }
  ExpectOutsideUntouched();
}

TEST_F(FsTest, OutputFileNeverEntersALinkedDirectoryOrClimbs) {
  fs::create_directory_symlink(m_outside, m_root / "sub");
  platform::OutputFile file;
  EXPECT_FALSE(file.Create(Root(), "sub/", "x.txt", false));
  EXPECT_FALSE(file.Create(Root(), "../outside", "x.txt", false));
  EXPECT_FALSE(file.Create(Root(), "", "..", false));
  EXPECT_FALSE(file.Create(Root(), "", "a/b", false));
  fs::create_directory(m_root / "dir");
  EXPECT_FALSE(file.Create(Root(), "", "dir", false)) << "a directory is never replaced by a file";
  ExpectOutsideUntouched();
}

TEST_F(FsTest, TimesAreSetAndDiscardRemovesTheFile) {
  platform::OutputFile file;
  ASSERT_TRUE(file.Create(Root(), "", "timed", false));
  ASSERT_TRUE(file.SetTimes(platform::UnixSecondsToFileTime(1000000000) + 5'000'000,
                            platform::UnixSecondsToFileTime(-86400)));
  file.Close();
  struct stat info {};
  ASSERT_EQ(stat((m_root / "timed").c_str(), &info), 0);
  EXPECT_EQ(info.st_atim.tv_sec, 1000000000);
  EXPECT_EQ(info.st_atim.tv_nsec, 500'000'000);
  EXPECT_EQ(info.st_mtim.tv_sec, -86400);

  ASSERT_TRUE(file.Create(Root(), "", "partial", false));
  file.Write("half", 4);
  file.Discard();
  EXPECT_FALSE(fs::exists(m_root / "partial"));
}

TEST_F(FsTest, CreateDirectoryBelowReplacesALinkButKeepsFilesAndDirectories) {
  fs::create_directory_symlink(m_outside, m_root / "data");
  EXPECT_TRUE(platform::CreateDirectoryBelow(Root(), "data"));
  EXPECT_TRUE(fs::is_directory(fs::symlink_status(m_root / "data")));
  EXPECT_TRUE(platform::CreateDirectoryBelow(Root(), "data/"));
  EXPECT_TRUE(platform::CreateDirectoryBelow(Root(), "data/inner"));
  EXPECT_FALSE(platform::CreateDirectoryBelow(Root(), "missing/inner")) << "parents come first";
  Put(m_root / "file", "f");
  EXPECT_FALSE(platform::CreateDirectoryBelow(Root(), "file"));
  EXPECT_EQ(Contents(m_root / "file"), "f");
  EXPECT_FALSE(platform::CreateDirectoryBelow(Root(), "data/../../escape"));
  ExpectOutsideUntouched();
}

TEST_F(FsTest, DeleteTreeRemovesLinksNotTheirTargets) {
  fs::create_directories(m_root / "tree/deep/er");
  Put(m_root / "tree/deep/er/file", "x");
  fs::permissions(m_root / "tree/deep/er/file", fs::perms(0444));
  fs::permissions(m_root / "tree/deep/er", fs::perms(0555));
  fs::create_directory_symlink(m_outside, m_root / "tree/dirlink");
  fs::create_symlink(m_outside / "keep.txt", m_root / "tree/filelink");
  fs::create_symlink(m_root / "nowhere", m_root / "tree/dangling");

  EXPECT_TRUE(platform::DeleteTree((m_root / "tree").string()));
  EXPECT_FALSE(fs::exists(fs::symlink_status(m_root / "tree")));
  ExpectOutsideUntouched();

  fs::create_directory_symlink(m_outside, m_root / "toplink");
  EXPECT_TRUE(platform::DeleteTree((m_root / "toplink").string()));
  EXPECT_FALSE(fs::exists(fs::symlink_status(m_root / "toplink")));
  ExpectOutsideUntouched();

  EXPECT_TRUE(platform::DeleteTree((m_root / "never-was").string()));
}

}  // namespace

TEST_F(FsTest, ReadWholeFileReadsEveryByteOrNothing) {
  std::vector<uint8_t> bytes{1, 2, 3};
  // Sizes around the read's 64 KiB steps, so a short last step or an exact fit shows.
  for (size_t size : {size_t{0}, size_t{1}, size_t{65535}, size_t{65536}, size_t{65537}, size_t{300000}}) {
    std::string data(size, '\0');
    for (size_t i = 0; i < size; ++i) data[i] = static_cast<char>(i * 7 + i / 251);
    Put(m_root / "file.bin", data);
    ASSERT_TRUE(platform::ReadWholeFile(Root() + "file.bin", &bytes)) << size;
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), data) << size;
  }
  EXPECT_FALSE(platform::ReadWholeFile(Root() + "missing.bin", &bytes));
  EXPECT_TRUE(bytes.empty());
  bytes = {1};
  EXPECT_FALSE(platform::ReadWholeFile(m_root.string(), &bytes));  // a directory is no file
  EXPECT_TRUE(bytes.empty());
}
