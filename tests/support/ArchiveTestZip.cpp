#include "support/ArchiveTestZip.h"

#include <gtest/gtest.h>
#include <zip.h>
#include <zlib.h>


namespace fs = std::filesystem;

TestZipEntry TestFile(std::string name, std::string data) {
  TestZipEntry entry;
  entry.name = std::move(name);
  entry.data = std::move(data);
  return entry;
}

TestZipEntry TestDirectory(std::string name) {
  TestZipEntry entry;
  entry.name = std::move(name);
  entry.externalAttributes = (040755u << 16) | 0x10;
  return entry;
}

std::vector<uint8_t> ExtendedTimestampBlock(uint8_t flags, const std::vector<int32_t>& times) {
  const auto size = static_cast<uint16_t>(1 + 4 * times.size());
  std::vector<uint8_t> block = {'U', 'T', static_cast<uint8_t>(size & 0xFF), static_cast<uint8_t>(size >> 8), flags};
  for (const int32_t time : times) {
    for (int i = 0; i < 4; ++i) block.push_back(static_cast<uint8_t>(static_cast<uint32_t>(time) >> (8 * i)));
  }
  return block;
}

uint32_t DosDateTime(int year, int month, int day, int hour, int minute, int second) {
  const uint32_t date = static_cast<uint32_t>(((year - 1980) << 9) | (month << 5) | day);
  const uint32_t time = static_cast<uint32_t>((hour << 11) | (minute << 5) | (second / 2));
  return (date << 16) | time;
}

void WriteTestZip(const fs::path& path, const std::vector<TestZipEntry>& entries) {
  zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
  ASSERT_NE(zip, nullptr);
  for (const TestZipEntry& entry : entries) {
    zip_fileinfo info{};
    info.dosDate = entry.dosDateTime;
    info.external_fa = entry.externalAttributes;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()), static_cast<uInt>(entry.data.size()));
    ASSERT_EQ(zipOpenNewFileInZip4_64(zip, entry.name.c_str(), &info, entry.extra.data(),
                                      static_cast<uInt>(entry.extra.size()), entry.extra.data(),
                                      static_cast<uInt>(entry.extra.size()), nullptr, entry.stored ? 0 : Z_DEFLATED,
                                      Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY,
                                      entry.password, crc, entry.versionMadeBy, 0, 0),
              ZIP_OK);
    if (!entry.data.empty()) {
      ASSERT_EQ(zipWriteInFileInZip(zip, entry.data.data(), static_cast<unsigned>(entry.data.size())), ZIP_OK);
    }
    ASSERT_EQ(zipCloseFileInZip(zip), ZIP_OK);
  }
  ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
}
