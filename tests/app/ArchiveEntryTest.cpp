// The rules that turn a zip entry's raw fields into a name, attributes and times.
#include "app/ArchiveEntry.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/fs.h"

namespace {

std::string Safe(const std::string& stored) { return EncodeEntryPath(MakeEntryNameSafe(DecodeEntryName(stored))); }

TEST(ArchiveEntryNameTest, DrivesSlashesAndClimbsAreStrippedRepeatedly) {
  EXPECT_EQ(Safe("../../x.txt"), "x.txt");
  EXPECT_EQ(Safe("D:\\data\\y.bin"), "data/y.bin");
  EXPECT_EQ(Safe("/etc/x"), "etc/x");
  EXPECT_EQ(Safe("a/../../b"), "../b");  // left to the containment check
  EXPECT_EQ(Safe("x\\../y/..\\z"), "z");
  EXPECT_EQ(Safe("C:/D:\\\\/../w"), "../w");  // leading separators go before the climb is seen
  EXPECT_EQ(Safe("\\..\\"), "../");
  EXPECT_EQ(Safe("a\\..\\"), "");
  EXPECT_EQ(Safe("engine_data/shader.hlsl"), "engine_data/shader.hlsl");
  EXPECT_EQ(Safe("\xC3\xA9:x"), "x") << "the drive test looks at characters, not bytes";
}

TEST(ArchiveEntryNameTest, NamesAreUtf8LimitedAndRepaired) {
  EXPECT_EQ(Safe("caf\xC3\xA9"), "caf\xC3\xA9");
  EXPECT_EQ(Safe("a\xFF" "b\xC3"), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
  EXPECT_EQ(Safe("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD") << "overlong '/' is no separator";
  EXPECT_EQ(Safe(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(DecodeEntryName(std::string(400, 'n')).size(), kMaxEntryNameCharacters);
}

TEST(ArchiveEntryNameTest, NoNameSurvivesThatLeavesTheRoot) {
  const char alphabet[] = {'.', '.', '/', '\\', ':', 'a', 'C'};
  std::mt19937 random(1337);
  for (int i = 0; i < 20000; ++i) {
    std::string stored;
    const int length = static_cast<int>(random() % 12);
    for (int c = 0; c < length; ++c) stored.push_back(alphabet[random() % sizeof(alphabet)]);
    const std::string path = Safe(stored);
    if (!IsContainedEntryPath(path)) continue;
    EXPECT_NE(path.front(), '/') << stored;
    EXPECT_EQ(("/" + path + "/").find("/../"), std::string::npos) << stored << " -> " << path;
  }
  EXPECT_FALSE(IsContainedEntryPath(""));
  EXPECT_FALSE(IsContainedEntryPath(".."));
  EXPECT_FALSE(IsContainedEntryPath("a/.."));
  EXPECT_TRUE(IsContainedEntryPath("a/..b/c.."));
}

TEST(ArchiveEntryAttributesTest, DosHostsUseDosBitsOthersTheUnixMode) {
  for (const uint32_t host : {0u, 7u, 11u, 14u}) {
    EXPECT_EQ(EntryAttributes(0x37, host << 8), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                                      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(EntryAttributes(0, host << 8), 0u) << host;
  }
  constexpr uint32_t kUnix = 3u << 8;
  EXPECT_EQ(EntryAttributes(0100644u << 16, kUnix), FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(EntryAttributes(0100444u << 16, kUnix), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(EntryAttributes((040755u << 16) | 0x10, kUnix), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(EntryAttributes(0x01, kUnix), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY) << "DOS bits mean nothing here";
}

TEST(ArchiveEntryTimeTest, InvalidDosFieldsGiveNoTimeAndShortBlocksAreSafe) {
  EXPECT_EQ(DosDateTimeToFileTime(0), 0u) << "month 0, day 0";
  EXPECT_EQ(DosDateTimeToFileTime((((2021 - 1980) << 9 | 2 << 5 | 29) << 16)), 0u) << "29 February 2021";
  EXPECT_NE(DosDateTimeToFileTime((((2020 - 1980) << 9 | 2 << 5 | 29) << 16)), 0u) << "29 February 2020";
  EXPECT_EQ(DosDateTimeToFileTime((((2020 - 1980) << 9 | 1 << 5 | 1) << 16) | (24 << 11)), 0u) << "hour 24";

  ArchiveEntry entry;
  const uint8_t truncated[] = {'U', 'T', 9, 0, 0x01, 1, 2};  // announces more than the field holds
  ApplyExtendedTimestamp(truncated, sizeof(truncated), &entry);
  EXPECT_EQ(entry.modificationTime, 0u);
  const uint8_t afterOther[] = {0x01, 0x00, 2, 0, 0xAA, 0xBB, 'U', 'T', 5, 0, 0x01, 0xFF, 0xFF, 0xFF, 0xFF};
  ApplyExtendedTimestamp(afterOther, sizeof(afterOther), &entry);
  EXPECT_EQ(entry.modificationTime, platform::UnixSecondsToFileTime(-1)) << "found after another block, signed";
}

}  // namespace
