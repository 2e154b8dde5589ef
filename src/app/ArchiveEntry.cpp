#include "app/ArchiveEntry.h"

#include <ctime>

#include "platform/fs.h"

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr uint16_t kExtendedTimestampId = 0x5455;  // "UT"

// Decodes one UTF-8 sequence at text[*position]; malformed input yields U+FFFD and skips one byte.
char32_t DecodeCharacter(std::string_view text, size_t* position) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t lead = byte(*position);
  size_t length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    ++*position;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  } else {
    ++*position;
    return kReplacementCharacter;
  }
  if (*position + length > text.size()) {
    ++*position;
    return kReplacementCharacter;
  }
  for (size_t i = 1; i < length; ++i) {
    const uint8_t next = byte(*position + i);
    if ((next & 0xC0) != 0x80) {
      ++*position;
      return kReplacementCharacter;
    }
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    ++*position;
    return kReplacementCharacter;
  }
  *position += length;
  return value;
}

void AppendUtf8(char32_t c, std::string* out) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (c >> 6)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (c >> 12)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (c >> 18)));
    out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// Drops everything up to and including the first occurrence of pattern; false when absent.
bool DropThrough(std::u32string* name, std::u32string_view pattern) {
  const size_t at = name->find(pattern);
  if (at == std::u32string::npos) return false;
  name->erase(0, at + pattern.size());
  return true;
}

uint32_t ReadLittleEndian(const uint8_t* bytes, size_t count) {
  uint32_t value = 0;
  for (size_t i = 0; i < count; ++i) value |= static_cast<uint32_t>(bytes[i]) << (8 * i);
  return value;
}

}  // namespace

std::u32string DecodeEntryName(std::string_view stored) {
  const size_t end = stored.find('\0');
  if (end != std::string_view::npos) stored = stored.substr(0, end);
  std::u32string name;
  size_t position = 0;
  while (position < stored.size() && name.size() < kMaxEntryNameCharacters) {
    name.push_back(DecodeCharacter(stored, &position));
  }
  return name;
}

std::u32string MakeEntryNameSafe(std::u32string name) {
  for (;;) {
    if (name.size() >= 2 && name[1] == U':') {
      name.erase(0, 2);
    } else if (!name.empty() && (name[0] == U'\\' || name[0] == U'/')) {
      name.erase(0, 1);
    } else if (!DropThrough(&name, U"\\..\\") && !DropThrough(&name, U"\\../") && !DropThrough(&name, U"/../") &&
               !DropThrough(&name, U"/..\\")) {
      return name;
    }
  }
}

std::string EncodeEntryPath(const std::u32string& name) {
  std::string path;
  for (const char32_t c : name) AppendUtf8(c == U'\\' ? U'/' : c, &path);
  return path;
}

bool IsContainedEntryPath(std::string_view path) {
  if (path.empty() || path[0] == '/') return false;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    if (path.substr(start, end - start) == "..") return false;
    start = end + 1;
  }
  return true;
}

uint32_t EntryAttributes(uint32_t externalAttributes, uint32_t versionMadeBy) {
  const uint32_t a = externalAttributes;
  bool directory = (a & (1u << 30)) != 0;
  bool readOnly = (a & (1u << 23)) == 0;  // owner write bit of a Unix mode in the high half
  bool hidden = false;
  bool system = false;
  bool archive = true;
  const uint32_t host = (versionMadeBy >> 8) & 0xFF;
  if (host == 0 || host == 7 || host == 11 || host == 14) {
    readOnly = (a & 0x01) != 0;
    hidden = (a & 0x02) != 0;
    system = (a & 0x04) != 0;
    directory = (a & 0x10) != 0;
    archive = (a & 0x20) != 0;
  }
  uint32_t attributes = 0;
  if (directory) attributes |= FILE_ATTRIBUTE_DIRECTORY;
  if (archive) attributes |= FILE_ATTRIBUTE_ARCHIVE;
  if (hidden) attributes |= FILE_ATTRIBUTE_HIDDEN;
  if (readOnly) attributes |= FILE_ATTRIBUTE_READONLY;
  if (system) attributes |= FILE_ATTRIBUTE_SYSTEM;
  return attributes;
}

uint64_t DosDateTimeToFileTime(uint32_t dosDateTime) {
  const uint32_t date = dosDateTime >> 16;
  const uint32_t time = dosDateTime & 0xFFFF;
  std::tm local{};
  local.tm_year = static_cast<int>((date >> 9) & 0x7F) + 1980 - 1900;
  local.tm_mon = static_cast<int>((date >> 5) & 0x0F) - 1;
  local.tm_mday = static_cast<int>(date & 0x1F);
  local.tm_hour = static_cast<int>((time >> 11) & 0x1F);
  local.tm_min = static_cast<int>((time >> 5) & 0x3F);
  local.tm_sec = static_cast<int>(time & 0x1F) * 2;
  local.tm_isdst = -1;  // the zone's rule for that date decides
  const int year = local.tm_year + 1900;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  static constexpr int kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (local.tm_mon < 0 || local.tm_mon > 11 || local.tm_mday < 1 ||
      local.tm_mday > kDaysInMonth[local.tm_mon] + (local.tm_mon == 1 && leap ? 1 : 0) || local.tm_hour > 23 ||
      local.tm_min > 59 || local.tm_sec > 59) {
    return 0;
  }
  const std::time_t utc = std::mktime(&local);
  if (utc == static_cast<std::time_t>(-1)) return 0;
  return platform::UnixSecondsToFileTime(static_cast<int64_t>(utc));
}

void ApplyExtendedTimestamp(const uint8_t* extra, size_t size, ArchiveEntry* entry) {
  size_t position = 0;
  while (position + 4 <= size) {
    const uint32_t id = ReadLittleEndian(extra + position, 2);
    const size_t length = ReadLittleEndian(extra + position + 2, 2);
    const uint8_t* data = extra + position + 4;
    if (position + 4 + length > size) return;
    if (id == kExtendedTimestampId) {
      if (length < 1) return;
      const uint8_t flags = data[0];
      uint64_t* const times[3] = {&entry->modificationTime, &entry->accessTime, &entry->creationTime};
      size_t offset = 1;
      for (int bit = 0; bit < 3; ++bit) {
        if (!(flags & (1u << bit))) continue;
        // The central copy of the block often carries fewer times than its flags announce.
        if (offset + 4 > length) return;
        const auto seconds = static_cast<int32_t>(ReadLittleEndian(data + offset, 4));
        *times[bit] = platform::UnixSecondsToFileTime(seconds);
        offset += 4;
      }
      return;
    }
    position += 4 + length;
  }
}
