#pragma once
// Zip archives written by the tests themselves with minizip, with every field the unpacker
// reads under the test's control.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/FileTree.h"

struct TestZipEntry {
  std::string name;
  std::string data;
  uint32_t versionMadeBy = (3u << 8) | 20;  // Unix host
  uint32_t externalAttributes = 0100644u << 16;
  uint32_t dosDateTime = 0x50210000;  // 2020-01-01 00:00:00
  std::vector<uint8_t> extra;         // the same block in the local and the central header
  const char* password = nullptr;
  bool stored = false;  // kept as it is instead of deflated
};

TestZipEntry TestFile(std::string name, std::string data);
TestZipEntry TestDirectory(std::string name);

// An extended-timestamp block with the given flags and times, in flag order.
std::vector<uint8_t> ExtendedTimestampBlock(uint8_t flags, const std::vector<int32_t>& times);

// DOS date/time word for a wall-clock time.
uint32_t DosDateTime(int year, int month, int day, int hour, int minute, int second);

void WriteTestZip(const std::filesystem::path& path, const std::vector<TestZipEntry>& entries);
