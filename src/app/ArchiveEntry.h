#pragma once
// The description of one archive entry and the rules that turn the zip's raw fields into it:
// a name that stays below the directory it is unpacked into, file attributes, and file times.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Names are limited like the desktop's paths: 260 characters including the terminator.
constexpr size_t kMaxEntryNameCharacters = 259;

struct ArchiveEntry {
  int32_t index = -1;
  std::string name;  // UTF-8, '/' separated, after MakeEntryNameSafe
  uint32_t attributes = 0;
  uint64_t accessTime = 0;  // file times; 0 leaves a time unset
  uint64_t creationTime = 0;
  uint64_t modificationTime = 0;
  int32_t compressedSize = 0;
  int32_t uncompressedSize = 0;
};

// Stored name bytes (UTF-8, ending at the first NUL) as at most kMaxEntryNameCharacters
// characters; malformed sequences become U+FFFD.
std::u32string DecodeEntryName(std::string_view stored);

// Strips drive letters, leading slashes and everything up to a "..\"-style climb, repeatedly,
// until none applies.
std::u32string MakeEntryNameSafe(std::u32string name);

// The safe name as a '/' separated UTF-8 path.
std::string EncodeEntryPath(const std::u32string& name);

// True when path (as EncodeEntryPath gives it) names something strictly below the root: not
// empty, not absolute, without a ".." component.
bool IsContainedEntryPath(std::string_view path);

// Attributes from the external attribute word and the host byte of version-made-by.
uint32_t EntryAttributes(uint32_t externalAttributes, uint32_t versionMadeBy);

// The DOS date/time word (date in the high half) read as local time, as a UTC file time;
// 0 when the fields do not form a valid time.
uint64_t DosDateTimeToFileTime(uint32_t dosDateTime);

// Replaces the times that an extended-timestamp ("UT") block in the extra field carries.
void ApplyExtendedTimestamp(const uint8_t* extra, size_t size, ArchiveEntry* entry);
