#include "ZipPacker.h"

#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

// 2026-01-01 00:00:00 UTC, carried as an extended timestamp so unpacked files get the same
// time in every time zone; the DOS field holds the same wall-clock value.
constexpr uint32_t kEntryUnixTime = 1767225600;
constexpr uLong kUnixHost = 3u << 8;
constexpr uLong kVersionMadeBy = kUnixHost | 20;
constexpr uLong kFileMode = 0100644;
constexpr uLong kDirectoryMode = 040755;
constexpr uLong kDosDirectoryBit = 0x10;

struct Entry {
  std::string name;  // '/' separated, directories end in '/'
  fs::path source;   // empty for directories
};

bool IsAlreadyCompressed(const std::string& name) {
  const std::string extension = fs::path(name).extension().string();
  return extension == ".mp3" || extension == ".png" || extension == ".jpg" || extension == ".jpeg";
}

// Every deflated byte is inflated again at each start: a file that deflate shrinks by less than
// a third (the densest scene meshes) is stored, which starts faster and costs the archive little.
bool WorthDeflating(const std::vector<char>& data) {
  if (data.empty()) return false;
  uLongf packed = compressBound(static_cast<uLong>(data.size()));
  std::vector<Bytef> buffer(packed);
  if (compress2(buffer.data(), &packed, reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
                Z_BEST_COMPRESSION) != Z_OK)
    return true;
  return packed * 3 < data.size() * 2;
}

std::vector<unsigned char> ExtendedTimestamp() {
  std::vector<unsigned char> block = {'U', 'T', 5, 0, 1};
  for (int i = 0; i < 4; ++i) block.push_back(static_cast<unsigned char>(kEntryUnixTime >> (8 * i)));
  return block;
}

bool ReadFile(const fs::path& path, std::vector<char>* data) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  data->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool CollectEntries(const fs::path& top, const std::string& topDirectory, std::vector<Entry>* entries,
                    std::string* error) {
  std::error_code code;
  if (!fs::is_directory(top, code)) {
    *error = "no directory " + top.string();
    return false;
  }
  entries->push_back({topDirectory + "/", {}});
  for (auto it = fs::recursive_directory_iterator(top, code); !code && it != fs::recursive_directory_iterator();
       it.increment(code)) {
    const std::string relative = fs::relative(it->path(), top, code).generic_string();
    if (code) break;
    const std::string name = topDirectory + "/" + relative;
    if (it->is_directory(code)) {
      entries->push_back({name + "/", {}});
    } else if (it->is_regular_file(code)) {
      entries->push_back({name, it->path()});
    } else {
      *error = "not a file or directory: " + it->path().string();
      return false;
    }
  }
  if (code) {
    *error = "cannot list " + top.string() + ": " + code.message();
    return false;
  }
  std::sort(entries->begin(), entries->end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
  return true;
}

bool AddEntry(zipFile zip, const Entry& entry, std::string* error) {
  const bool directory = entry.source.empty();
  std::vector<char> data;
  if (!directory && !ReadFile(entry.source, &data)) {
    *error = "cannot read " + entry.source.string();
    return false;
  }

  zip_fileinfo info{};
  const std::time_t when = kEntryUnixTime;
  std::tm utc{};
  gmtime_r(&when, &utc);
  info.tmz_date.tm_year = static_cast<uInt>(utc.tm_year + 1900);
  info.tmz_date.tm_mon = static_cast<uInt>(utc.tm_mon);
  info.tmz_date.tm_mday = static_cast<uInt>(utc.tm_mday);
  info.tmz_date.tm_hour = static_cast<uInt>(utc.tm_hour);
  info.tmz_date.tm_min = static_cast<uInt>(utc.tm_min);
  info.tmz_date.tm_sec = static_cast<uInt>(utc.tm_sec);
  info.external_fa = directory ? (kDirectoryMode << 16) | kDosDirectoryBit : kFileMode << 16;

  const std::vector<unsigned char> extra = ExtendedTimestamp();
  const bool store = directory || IsAlreadyCompressed(entry.name) || !WorthDeflating(data);
  const int zip64 = data.size() >= 0xFFFFFFFFu ? 1 : 0;
  if (zipOpenNewFileInZip4_64(zip, entry.name.c_str(), &info, extra.data(), static_cast<uInt>(extra.size()),
                              extra.data(), static_cast<uInt>(extra.size()), nullptr, store ? 0 : Z_DEFLATED,
                              store ? 0 : Z_BEST_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY,
                              nullptr, 0, kVersionMadeBy, 0, zip64) != ZIP_OK) {
    *error = "cannot add " + entry.name;
    return false;
  }
  // Written in pieces: minizip takes 32-bit lengths.
  size_t offset = 0;
  while (offset < data.size()) {
    const unsigned piece = static_cast<unsigned>(std::min<size_t>(data.size() - offset, 1u << 30));
    if (zipWriteInFileInZip(zip, data.data() + offset, piece) != ZIP_OK) {
      zipCloseFileInZip(zip);
      *error = "cannot write " + entry.name;
      return false;
    }
    offset += piece;
  }
  if (zipCloseFileInZip(zip) != ZIP_OK) {
    *error = "cannot finish " + entry.name;
    return false;
  }
  return true;
}

}  // namespace

bool PackDirectory(const fs::path& archive, const fs::path& stageDirectory, const std::string& topDirectory,
                   std::string* error) {
  std::vector<Entry> entries;
  if (!CollectEntries(stageDirectory / topDirectory, topDirectory, &entries, error)) return false;

  const fs::path partial = archive.string() + ".partial";
  zipFile zip = zipOpen64(partial.c_str(), APPEND_STATUS_CREATE);
  if (!zip) {
    *error = "cannot create " + partial.string();
    return false;
  }
  bool written = true;
  for (const Entry& entry : entries) {
    written = AddEntry(zip, entry, error);
    if (!written) break;
  }
  if (zipClose(zip, nullptr) != ZIP_OK && written) {
    *error = "cannot close " + partial.string();
    written = false;
  }
  std::error_code code;
  if (written) fs::rename(partial, archive, code);
  if (!written || code) {
    if (written) *error = "cannot move " + partial.string() + " to " + archive.string() + ": " + code.message();
    fs::remove(partial, code);
    return false;
  }
  return true;
}
