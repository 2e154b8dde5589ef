// Watching directories for finished, moved-in and removed files without blocking.
#include "platform/file_watch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/TempDirectory.h"

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& path, const char* text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

std::vector<std::string> Names(const std::vector<platform::FileChange>& changes, bool removed) {
  std::vector<std::string> names;
  for (const platform::FileChange& change : changes)
    if (change.removed == removed) names.push_back(fs::path(change.path).filename().string());
  return names;
}

using Strings = std::vector<std::string>;

TEST(FileWatchTest, ReportsEachFinishedFileOnceAndRemovalsAsSuch) {
  TempDirectory root;
  platform::FileWatcher watcher;
  ASSERT_TRUE(watcher.Create());
  ASSERT_TRUE(watcher.Watch(root.path().string(), false));
  EXPECT_TRUE(watcher.Poll().empty()) << "nothing happened yet, and Poll does not wait";

  Write(root.path() / "a.hlsl", "one");
  Write(root.path() / "a.hlsl", "two");
  Write(root.path() / "b.c4e", "scene");
  // A finished file moved in over the old one, as editors and generators save.
  Write(root.path() / ".b.tmp", "new scene");
  fs::rename(root.path() / ".b.tmp", root.path() / "b.c4e");
  const auto changes = watcher.Poll();

  EXPECT_EQ(changes[0].path, (root.path() / "a.hlsl").string());
  EXPECT_TRUE(watcher.Poll().empty());

  fs::remove(root.path() / "a.hlsl");
  EXPECT_EQ(Names(watcher.Poll(), true), Strings{"a.hlsl"});

  // Below a directory watched without recursion nothing counts.
  fs::create_directory(root.path() / "sub");
  Write(root.path() / "sub" / "c.hlsl", "x");
  EXPECT_TRUE(watcher.Poll().empty());
}

TEST(FileWatchTest, RecursiveWatchesFollowNewDirectories) {
  TempDirectory root;
  fs::create_directories(root.path() / "scenes" / "magnet");
  platform::FileWatcher watcher;
  ASSERT_TRUE(watcher.Create());
  ASSERT_TRUE(watcher.Watch((root.path() / "scenes").string(), true));
  Write(root.path() / "scenes" / "magnet" / "Magnet.cpp", "//");
  EXPECT_EQ(Names(watcher.Poll(), false), Strings{"Magnet.cpp"});

  fs::create_directory(root.path() / "scenes" / "new");
  EXPECT_TRUE(watcher.Poll().empty());
  Write(root.path() / "scenes" / "new" / "New.cpp", "//");
  EXPECT_EQ(Names(watcher.Poll(), false), Strings{"New.cpp"});
}

TEST(FileWatchTest, AMissingOrDeletedDirectoryIsWatchedWhenItAppears) {
  TempDirectory root;
  const fs::path stage = root.path() / "build" / "stage";
  platform::FileWatcher watcher;
  ASSERT_TRUE(watcher.Create());
  ASSERT_TRUE(watcher.Watch(stage.string(), false)) << "not there yet is no failure";
  EXPECT_TRUE(watcher.Poll().empty());

  fs::create_directories(stage);
  Write(stage / "magnet.c4e", "written before anyone watched");
  EXPECT_EQ(Names(watcher.Poll(), false), Strings{"magnet.c4e"});

  fs::remove_all(root.path() / "build");
  watcher.Poll();
  fs::create_directories(stage);
  watcher.Poll();
  Write(stage / "blob.c4e", "after the clean build");
  EXPECT_EQ(Names(watcher.Poll(), false), Strings{"blob.c4e"});
}

TEST(FileWatchTest, WithoutCreateNothingIsWatched) {
  TempDirectory root;
  platform::FileWatcher watcher;
  EXPECT_FALSE(watcher.Watch(root.path().string(), false));
  EXPECT_TRUE(watcher.Poll().empty());
  watcher.Shutdown();
  watcher.Shutdown();
}

}  // namespace
